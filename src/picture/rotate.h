// A quarter turn clockwise of the picture on the canvas.
#pragma once

#include "picture/raster.h"

// The picture turned a quarter clockwise: pixel (x, y) of a W x H picture ends at (H-1-y, x).
Raster RotatedClockwise(const Raster& source);
// Turns the canvas picture a quarter clockwise in place; does nothing when the canvas cannot be drawn on.
void Rotate();
