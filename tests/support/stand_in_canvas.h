// A stand-in for a canvas control for tests that run without the windowing layer.
#pragma once

#include "app/control_ids.h"
#include "picture/raster.h"

// Installs itself as the canvas hooks while it lives: its picture is the one of the control number given
// (the paint canvas unless told otherwise), and that control's repaints (one per drawing block) are counted.
struct StandInCanvas {
  explicit StandInCanvas(int control = PaintCanvas, int width = CanvasSize, int height = CanvasSize,
                         Colour fill = Black);
  ~StandInCanvas();
  StandInCanvas(const StandInCanvas&) = delete;
  StandInCanvas& operator=(const StandInCanvas&) = delete;

  int control;
  Raster picture;
  int shows = 0;
};

// The x of the single column where picture is white from top to bottom and otherwise equals snapshot,
// -1 when picture equals snapshot, -2 for any other difference.
int CursorColumnOn(const Raster& picture, const Raster& snapshot);
