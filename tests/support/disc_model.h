// Brush discs built from the table of span half-widths for the radii 1 to 11, for expected pictures that
// do not come from the drawing code they check.
#pragma once

#include <vector>

#include "picture/raster.h"

namespace disc_model {

// Half-width of the span at row offset 0, 1, ... r from the centre row, for r = 1 ... 11.
inline const std::vector<std::vector<int>>& HalfWidths() {
  static const std::vector<std::vector<int>> table = {
      {1, 0},
      {2, 2, 1},
      {3, 3, 2, 1},
      {4, 4, 3, 3, 1},
      {5, 5, 5, 4, 3, 2},
      {6, 6, 6, 5, 4, 3, 2},
      {7, 7, 7, 6, 6, 5, 4, 2},
      {8, 8, 8, 7, 7, 6, 5, 4, 2},
      {9, 9, 9, 8, 8, 7, 7, 6, 4, 2},
      {10, 10, 10, 10, 9, 9, 8, 7, 6, 5, 3},
      {11, 11, 11, 11, 10, 10, 9, 8, 8, 6, 5, 3},
  };
  return table;
}

// Paints the disc of radius r (1 ... 11) centred on (cx, cy), the part inside the picture only.
inline void AddDisc(Raster& picture, int cx, int cy, int r, Colour colour) {
  const std::vector<int>& spans = HalfWidths()[r - 1];
  for (int d = -r; d <= r; ++d) {
    const int half = spans[d < 0 ? -d : d];
    for (int x = cx - half; x <= cx + half; ++x)
      if (picture.Contains(x, cy + d)) picture.At(x, cy + d) = colour;
  }
}

}  // namespace disc_model
