// Rotate: the top row becomes the right-hand column, the left-hand column the top row.
#include "picture/rotate.h"

#include "app/control_ids.h"
#include "picture/surface.h"

Raster RotatedClockwise(const Raster& source) {
  Raster turned(source.height, source.width);
  for (int x = 0; x < source.width; ++x)
    for (int y = 0; y < source.height; ++y) turned.At(source.height - 1 - y, x) = source.At(x, y);
  return turned;
}

void Rotate() {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  Raster picture(OutputWidth(), OutputHeight());
  for (int x = 0; x < picture.width; ++x)
    for (int y = 0; y < picture.height; ++y) picture.At(x, y) = GetPixel(x, y);
  Raster turned = RotatedClockwise(picture);
  FillRect(0, 0, CanvasSize, CanvasSize, Black);
  BlitImage(&turned, 0, 0);
  EndDrawing();
}
