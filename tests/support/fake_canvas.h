// A stand-in for the PaintCanvas control for tests that run without the windowing layer.
#pragma once

#include "picture/raster.h"

// Installs itself as the canvas hooks while it lives: PaintCanvas is its picture, repaints are counted.
struct FakeCanvas {
  FakeCanvas();
  ~FakeCanvas();
  FakeCanvas(const FakeCanvas&) = delete;
  FakeCanvas& operator=(const FakeCanvas&) = delete;

  Raster picture;
  int shows = 0;
};

// The x of the single column where picture is white from top to bottom and otherwise equals snapshot,
// -1 when picture equals snapshot, -2 for any other difference.
int CursorColumnOn(const Raster& picture, const Raster& snapshot);
