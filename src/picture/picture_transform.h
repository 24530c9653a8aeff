// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-picture transforms: the area-averaging stretch Load fits pictures with, and the quarter turn.
#pragma once

#include "picture/raster.h"

// Each target pixel is the average of the source pixels under it, weighted by how much of each it covers
// (exact integer weights, rounded to the nearest level). The aspect ratio is not kept. A source already
// of the target size is returned unchanged; an empty source gives a black target.
Raster StretchToSize(const Raster& source, int width, int height);

// The picture turned a quarter clockwise: pixel (x, y) of a W x H picture ends at (H-1-y, x).
Raster RotatedClockwise(const Raster& source);
