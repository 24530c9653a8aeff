// The scan cursor: a one-pixel white line over the picture, redrawn from CanvasImage at each step.
#pragma once

#include <cstdint>

// Paints CanvasImage over PaintCanvas and, when x < 380, a white line from (x, 0) down through the bottom.
void DrawScanCursor(std::int32_t x);
// Paints CanvasImage over PaintCanvas, taking away any cursor line.
void RestoreCanvasPicture();
