// SPDX-License-Identifier: GPL-3.0-or-later
// Independent models of the drawn shapes, for expected pictures that do not come from the drawing code:
// the clipped one-pixel line in closed form, and the table of disc span half-widths.
#pragma once

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <utility>
#include <vector>
#include "picture/raster.h"

namespace raster_models {
using Pixels = std::set<std::pair<int, int>>;
using Wide = __int128;
struct Fraction { Wide num, den; };  // den > 0
inline Fraction Make(Wide num, Wide den) { return den < 0 ? Fraction{-num, -den} : Fraction{num, den}; }
inline bool Within(Fraction f, Wide low, Wide high) { return f.num >= low * f.den && f.num <= high * f.den; }
inline Wide Nearest(Fraction f) {  // of two equally near integers, the even one
  const Wide below = f.num / f.den - (f.num % f.den < 0), up = f.num - below * f.den, down = f.den - up;
  return up != down ? (up < down ? below : below + 1) : below + (below & 1);
}

// The pixels DrawLineOn(x1, y1, x2, y2) sets on a width x height target: the segment is cut where it crosses
// the edge lines (exact fractions, ends rounded half to even), then step k along the major axis sits
// floor((2k|minor| + |major|) / 2|major|) pixels along the minor one, a tie moving on.
inline Pixels LinePixels(int width, int height, int x1, int y1, int x2, int y2) {
  Pixels lit;
  auto set = [&](Wide x, Wide y) { if (x >= 0 && y >= 0 && x < width && y < height) lit.insert({int(x), int(y)}); };
  if (y1 == y2 || x1 == x2) {
    for (Wide x = std::max(std::min(x1, x2), -1); x <= std::min(std::max(x1, x2), width); ++x)
      for (Wide y = std::max(std::min(y1, y2), -1); y <= std::min(std::max(y1, y2), height); ++y) set(x, y);
    return lit;
  }
  const Wide dx = Wide{x2} - x1, dy = Wide{y2} - y1, right = width - 1, bottom = height - 1;
  using Point = std::array<Fraction, 3>;  // t along the segment, x, y
  std::vector<Point> found;
  for (auto [x, y, t] : {std::array<Wide, 3>{x1, y1, 0}, std::array<Wide, 3>{x2, y2, 1}})
    if (x >= 0 && y >= 0 && x <= right && y <= bottom) found.push_back({{{t, 1}, {x, 1}, {y, 1}}});
  for (Wide edge : {Wide{0}, right})
    if (Fraction t = Make(edge - x1, dx), y = Make(y1 * dx + dy * (edge - x1), dx); Within(t, 0, 1) && Within(y, 0, bottom))
      found.push_back({t, {edge, 1}, y});
  for (Wide edge : {Wide{0}, bottom})
    if (Fraction t = Make(edge - y1, dy), x = Make(x1 * dy + dx * (edge - y1), dy); Within(t, 0, 1) && Within(x, 0, right))
      found.push_back({t, x, {edge, 1}});
  if (found.empty()) return lit;
  auto byT = [](const Point& a, const Point& b) { return a[0].num * b[0].den < b[0].num * a[0].den; };
  const auto [first, last] = std::minmax_element(found.begin(), found.end(), byT);
  Wide ax = Nearest((*first)[1]), ay = Nearest((*first)[2]), bx = Nearest((*last)[1]), by = Nearest((*last)[2]);
  auto span = [](Wide a, Wide b) { return a > b ? a - b : b - a; };
  const bool yMajor = span(ax, bx) < span(ay, by);
  if (yMajor ? ay > by : ax > bx) std::swap(ax, bx), std::swap(ay, by);
  const Wide major = yMajor ? by - ay : bx - ax, minor = yMajor ? span(ax, bx) : span(ay, by);
  const Wide step = (yMajor ? bx > ax : by > ay) ? 1 : -1;
  for (Wide k = 0, offset = 0; k <= major; ++k, offset = major ? (2 * k * minor + major) / (2 * major) : 0)
    yMajor ? set(ax + step * offset, ay + k) : set(ax + k, ay + step * offset);
  return lit;
}

// Half-width of the disc's span at row offset 0, 1, ... r from the centre row, for r = 1 ... 11.
inline const std::vector<std::vector<int>> DiscHalfWidths = {
    {1, 0}, {2, 2, 1}, {3, 3, 2, 1}, {4, 4, 3, 3, 1}, {5, 5, 5, 4, 3, 2}, {6, 6, 6, 5, 4, 3, 2},
    {7, 7, 7, 6, 6, 5, 4, 2}, {8, 8, 8, 7, 7, 6, 5, 4, 2}, {9, 9, 9, 8, 8, 7, 7, 6, 4, 2},
    {10, 10, 10, 10, 9, 9, 8, 7, 6, 5, 3}, {11, 11, 11, 11, 10, 10, 9, 8, 8, 6, 5, 3}};

// Paints the disc of radius r (1 ... 11) centred on (cx, cy), the part inside the picture only.
inline void AddDisc(Raster& picture, int cx, int cy, int r, Colour colour) {
  for (int d = -r; d <= r; ++d)
    for (int x = cx - DiscHalfWidths[r - 1][std::abs(d)]; x <= cx + DiscHalfWidths[r - 1][std::abs(d)]; ++x)
      if (picture.Contains(x, cy + d)) picture.At(x, cy + d) = colour;
}
}  // namespace raster_models
