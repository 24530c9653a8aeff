// The stand-in canvas keeps one process-wide instance, as the surface's hooks are plain functions.
#include "support/stand_in_canvas.h"

#include "picture/surface.h"

namespace {

StandInCanvas* current = nullptr;

Raster* Picture(int control) { return current && control == current->control ? &current->picture : nullptr; }
void Show(int control) {
  if (current && control == current->control) ++current->shows;
}

}  // namespace

StandInCanvas::StandInCanvas(int control, int width, int height, Colour fill)
    : control(control), picture(width, height, fill) {
  current = this;
  SetCanvasHooks({&Picture, &Show});
}

StandInCanvas::~StandInCanvas() {
  current = nullptr;
  SetCanvasHooks({});
}

int CursorColumnOn(const Raster& picture, const Raster& snapshot) {
  if (picture.width != snapshot.width || picture.height != snapshot.height) return -2;
  int column = -1;
  for (int x = 0; x < picture.width; ++x) {
    bool differs = false;
    for (int y = 0; y < picture.height; ++y) differs = differs || picture.At(x, y) != snapshot.At(x, y);
    if (!differs) continue;
    if (column >= 0) return -2;
    for (int y = 0; y < picture.height; ++y)
      if (picture.At(x, y) != White) return -2;
    column = x;
  }
  return column;
}
