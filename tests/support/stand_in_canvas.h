// A stand-in for the PaintCanvas control for tests that run without the windowing layer.
#pragma once

#include "picture/raster.h"

// Installs itself as the canvas hooks while it lives: PaintCanvas is its picture, repaints are counted.
struct StandInCanvas {
  StandInCanvas();
  ~StandInCanvas();
  StandInCanvas(const StandInCanvas&) = delete;
  StandInCanvas& operator=(const StandInCanvas&) = delete;

  Raster picture;
  int shows = 0;
};

// The x of the single column where picture is white from top to bottom and otherwise equals snapshot,
// -1 when picture equals snapshot, -2 for any other difference.
int CursorColumnOn(const Raster& picture, const Raster& snapshot);
