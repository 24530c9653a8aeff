// SPDX-License-Identifier: GPL-3.0-or-later
// Pure raster operations on a Raster: the exact shapes every drawing in the program is made of.
#pragma once

#include "picture/raster.h"

// Fills the rectangle (negative sizes normalised first) clipped to the raster.
void FillRectOn(Raster& target, int x, int y, int w, int h, Colour colour);

// Draws the one-pixel line between both end points inclusive, clipped; Bresenham as the program defines it.
void DrawLineOn(Raster& target, int x1, int y1, int x2, int y2, Colour colour);

// Fills the midpoint-method disc of radius r around (cx, cy), clipped; radius 0 is one pixel.
void FillCircleOn(Raster& target, int cx, int cy, int r, Colour colour);

// Copies the whole source with its top-left pixel at (x, y); the part outside the target is dropped.
void BlitOn(Raster& target, const Raster& source, int x, int y);
