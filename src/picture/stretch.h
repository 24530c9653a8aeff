// Resampling a picture to a new size with an area-averaging filter, as Load fits pictures to the canvas.
#pragma once

#include "picture/raster.h"

// Each target pixel is the average of the source pixels under it, weighted by how much of each it covers
// (exact integer weights, rounded to the nearest level). The aspect ratio is not kept. A source already
// of the target size is returned unchanged; an empty source gives a black target.
Raster StretchToSize(const Raster& source, int width, int height);
