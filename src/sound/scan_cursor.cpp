// Draws the scan cursor on PaintCanvas from the snapshot in CanvasImage.
#include "sound/scan_cursor.h"

#include "app/control_ids.h"
#include "picture/surface.h"

void DrawScanCursor(std::int32_t x) {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  BlitImage(ImageHandle(CanvasImage), 0, 0);
  // The line runs one pixel past the bottom edge; clipping drops that pixel.
  if (x < CanvasSize) DrawLine(x, 0, x, CanvasSize, White);
  EndDrawing();
}

void RestoreCanvasPicture() {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  BlitImage(ImageHandle(CanvasImage), 0, 0);
  EndDrawing();
}
