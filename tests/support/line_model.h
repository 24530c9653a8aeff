// An independent model of the program's clipped one-pixel line, for comparing drawn pictures with.
// It clips by intersecting the segment with each edge line in exact fractions and places each pixel
// by the closed form of Bresenham's choice, unlike the incremental code it checks.
#pragma once

#include <algorithm>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace line_model {

using Pixels = std::set<std::pair<int, int>>;
using Wide = __int128;

// A fraction with a positive denominator.
struct Fraction {
  Wide num, den;
};

inline Fraction Make(Wide num, Wide den) { return den < 0 ? Fraction{-num, -den} : Fraction{num, den}; }
inline bool Less(Fraction a, Fraction b) { return a.num * b.den < b.num * a.den; }
inline bool InRange(Fraction f, Wide low, Wide high) { return f.num >= low * f.den && f.num <= high * f.den; }

// The nearest integer; of two equally near, the even one.
inline Wide Nearest(Fraction f) {
  Wide below = f.num / f.den;
  if (below * f.den > f.num) --below;
  const Wide fromBelow = f.num - below * f.den, toAbove = (below + 1) * f.den - f.num;
  if (fromBelow != toAbove) return fromBelow < toAbove ? below : below + 1;
  return below % 2 == 0 ? below : below + 1;
}

struct Point {
  Fraction t, x, y;
};

// The pixels DrawLine(x1, y1, x2, y2) sets on a width x height target.
inline Pixels LinePixels(int width, int height, int x1, int y1, int x2, int y2) {
  Pixels lit;
  auto set = [&](Wide x, Wide y) {
    if (x >= 0 && y >= 0 && x < width && y < height) lit.insert({static_cast<int>(x), static_cast<int>(y)});
  };
  if (y1 == y2 || x1 == x2) {  // a row or column: every pixel between the ends that lies inside
    const Wide lowX = std::max(std::min(x1, x2), -1), highX = std::min(std::max(x1, x2), width);
    const Wide lowY = std::max(std::min(y1, y2), -1), highY = std::min(std::max(y1, y2), height);
    for (Wide x = lowX; x <= highX; ++x)
      for (Wide y = lowY; y <= highY; ++y) set(x, y);
    return lit;
  }
  const Wide dx = Wide{x2} - x1, dy = Wide{y2} - y1;
  const Wide right = width - 1, bottom = height - 1;
  std::vector<Point> found;
  auto inside = [&](Wide x, Wide y) { return x >= 0 && y >= 0 && x <= right && y <= bottom; };
  if (inside(x1, y1)) found.push_back({{0, 1}, {x1, 1}, {y1, 1}});
  if (inside(x2, y2)) found.push_back({{1, 1}, {x2, 1}, {y2, 1}});
  for (Wide edge : {Wide{0}, right}) {  // the column lines x = edge
    const Fraction t = Make(edge - x1, dx);
    const Fraction y = Make(Wide{y1} * dx + dy * (edge - x1), dx);
    if (InRange(t, 0, 1) && InRange(y, 0, bottom)) found.push_back({t, {edge, 1}, y});
  }
  for (Wide edge : {Wide{0}, bottom}) {  // the row lines y = edge
    const Fraction t = Make(edge - y1, dy);
    const Fraction x = Make(Wide{x1} * dy + dx * (edge - y1), dy);
    if (InRange(t, 0, 1) && InRange(x, 0, right)) found.push_back({t, x, {edge, 1}});
  }
  if (found.empty()) return lit;
  auto byT = [](const Point& a, const Point& b) { return Less(a.t, b.t); };
  const Point first = *std::min_element(found.begin(), found.end(), byT);
  const Point last = *std::max_element(found.begin(), found.end(), byT);
  Wide ax = Nearest(first.x), ay = Nearest(first.y), bx = Nearest(last.x), by = Nearest(last.y);

  // Step k from the end with the smaller major coordinate sits floor((2k|minor| + |major|) / 2|major|)
  // pixels along the minor axis: the error term's choice, ties moving on.
  const Wide adx = bx > ax ? bx - ax : ax - bx, ady = by > ay ? by - ay : ay - by;
  const bool yMajor = adx < ady;
  if (yMajor ? ay > by : ax > bx) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  const Wide major = yMajor ? ady : adx, minor = yMajor ? adx : ady;
  const Wide minorStep = (yMajor ? bx > ax : by > ay) ? 1 : -1;
  for (Wide k = 0; k <= major; ++k) {
    const Wide offset = major == 0 ? 0 : (2 * k * minor + major) / (2 * major);
    if (yMajor) set(ax + minorStep * offset, ay + k);
    else set(ax + k, ay + minorStep * offset);
  }
  return lit;
}

}  // namespace line_model
