// A canvas layer without any window for the tests: pictures for chosen control numbers, and a count
// of how often each was shown (once per drawing block).
#pragma once

#include <map>

#include "picture/raster.h"
#include "picture/surface.h"

namespace fake_canvas {

inline std::map<int, Raster>& Pictures() {
  static std::map<int, Raster> pictures;
  return pictures;
}

inline std::map<int, int>& ShowCounts() {
  static std::map<int, int> counts;
  return counts;
}

inline Raster* Picture(int control) {
  auto found = Pictures().find(control);
  return found == Pictures().end() ? nullptr : &found->second;
}

inline void Show(int control) { ++ShowCounts()[control]; }

// Installs the fake hooks and gives control a fresh picture of the given size and colour.
inline Raster& AddCanvas(int control, int width, int height, Colour fill = White) {
  SetCanvasHooks({Picture, Show});
  ShowCounts()[control] = 0;
  return Pictures()[control] = Raster(width, height, fill);
}

}  // namespace fake_canvas
