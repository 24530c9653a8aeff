// SPDX-License-Identifier: GPL-3.0-or-later
// The exact raster shapes: rectangles, Bresenham lines with clipping, midpoint discs and blits.
#include "picture/raster_ops.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int MaxDiscRadius = 1 << 16;

void SetClipped(Raster& target, int x, int y, Colour colour) {
  if (target.Contains(x, y)) target.At(x, y) = colour;
}

// Sets columns x0..x1 of row y, clipped to the raster.
void FillSpan(Raster& target, int x0, int x1, int y, Colour colour) {
  if (y < 0 || y >= target.height) return;
  if (x0 > x1) std::swap(x0, x1);
  x0 = std::max(x0, 0);
  x1 = std::min(x1, target.width - 1);
  for (int x = x0; x <= x1; ++x) target.At(x, y) = colour;
}

// Sets rows y0..y1 of column x, clipped to the raster.
void FillRun(Raster& target, int x, int y0, int y1, Colour colour) {
  if (x < 0 || x >= target.width) return;
  if (y0 > y1) std::swap(y0, y1);
  y0 = std::max(y0, 0);
  y1 = std::min(y1, target.height - 1);
  for (int y = y0; y <= y1; ++y) target.At(x, y) = colour;
}

// Parameters along a segment are exact fractions; 128 bits hold every product of 32-bit end points.
using Wide = __int128;

struct Fraction {
  Wide num, den;  // den > 0
};

bool Before(Fraction a, Fraction b) { return a.num * b.den < b.num * a.den; }

// num / den (den > 0) to the nearest integer, halves to even, as the drawn end of a clipped line.
Wide RoundHalfEven(Wide num, Wide den) {
  Wide whole = num / den, rest = num % den;
  if (rest < 0) {
    --whole;
    rest += den;
  }
  if (2 * rest > den || (2 * rest == den && whole % 2 != 0)) ++whole;
  return whole;
}

// Liang-Barsky clipping to 0..W-1 x 0..H-1 with exact parameters, so a new end point is the true
// crossing rounded half to even; floating point would misplace ends by a pixel on exact halves.
bool ClipSegment(const Raster& target, int& x1, int& y1, int& x2, int& y2) {
  if (target.width <= 0 || target.height <= 0) return false;
  const Wide dx = Wide{x2} - x1, dy = Wide{y2} - y1;
  Fraction enter{0, 1}, leave{1, 1};
  // Each edge keeps the parameters t with step * t <= room.
  auto keep = [&](Wide step, Wide room) {
    if (step == 0) return room >= 0;
    if (step < 0) {
      const Fraction t{-room, -step};
      if (Before(enter, t)) enter = t;
    } else {
      const Fraction t{room, step};
      if (Before(t, leave)) leave = t;
    }
    return true;
  };
  if (!keep(-dx, x1) || !keep(dx, Wide{target.width} - 1 - x1) || !keep(-dy, y1) ||
      !keep(dy, Wide{target.height} - 1 - y1) || Before(leave, enter))
    return false;
  auto pointAt = [&](Fraction t, int& x, int& y) {
    x = static_cast<int>(RoundHalfEven(Wide{x1} * t.den + dx * t.num, t.den));
    y = static_cast<int>(RoundHalfEven(Wide{y1} * t.den + dy * t.num, t.den));
  };
  int ax = 0, ay = 0, bx = 0, by = 0;
  pointAt(enter, ax, ay);
  pointAt(leave, bx, by);
  x1 = ax, y1 = ay, x2 = bx, y2 = by;
  return true;
}

}  // namespace

void FillRectOn(Raster& target, int x, int y, int w, int h, Colour colour) {
  colour &= ColourMask;
  long long left = x, top = y, width = w, height = h;
  if (width < 0) {
    left += width;
    width = -width;
  }
  if (height < 0) {
    top += height;
    height = -height;
  }
  if (left < 0) {
    width += left;
    left = 0;
  }
  if (top < 0) {
    height += top;
    top = 0;
  }
  width = std::min<long long>(width, target.width - left);
  height = std::min<long long>(height, target.height - top);
  if (width <= 0 || height <= 0) return;
  for (long long row = top; row < top + height; ++row) {
    auto first = target.pixels.begin() + static_cast<std::ptrdiff_t>(row * target.width + left);
    std::fill(first, first + static_cast<std::ptrdiff_t>(width), colour);
  }
}

void DrawLineOn(Raster& target, int x1, int y1, int x2, int y2, Colour colour) {
  colour &= ColourMask;
  if (y1 == y2) {
    FillSpan(target, x1, x2, y1, colour);
    return;
  }
  if (x1 == x2) {
    FillRun(target, x1, y1, y2, colour);
    return;
  }
  if (!ClipSegment(target, x1, y1, x2, y2)) return;

  const bool yMajor = std::abs(x2 - x1) < std::abs(y2 - y1);
  int major0 = yMajor ? y1 : x1, minor0 = yMajor ? x1 : y1;
  int major1 = yMajor ? y2 : x2, minor1 = yMajor ? x2 : y2;
  if (major0 > major1) {
    std::swap(major0, major1);
    std::swap(minor0, minor1);
  }
  const int majorSpan = major1 - major0;
  const int minorSpan = std::abs(minor1 - minor0);
  const int minorStep = minor1 > minor0 ? 1 : -1;
  auto plot = [&](int major, int minor) {
    if (yMajor) SetClipped(target, minor, major, colour);
    else SetClipped(target, major, minor, colour);
  };
  int error = 2 * minorSpan - majorSpan;
  int minor = minor0;
  plot(major0, minor);
  for (int major = major0 + 1; major <= major1; ++major) {
    if (error >= 0) {
      minor += minorStep;
      error += 2 * (minorSpan - majorSpan);
    } else {
      error += 2 * minorSpan;
    }
    plot(major, minor);
  }
}

void FillCircleOn(Raster& target, int cx, int cy, int r, Colour colour) {
  colour &= ColourMask;
  if (r <= 0) {
    SetClipped(target, cx, cy, colour);
    return;
  }
  // Radii beyond any target are drawn at MaxDiscRadius, so the loops stay short and the terms fit 64 bits.
  r = std::min(r, MaxDiscRadius);
  // A disc that misses the target draws nothing; this also keeps far-off centres (say, curve points
  // read from a file) from overflowing the span ends below.
  const std::int64_t reach = r;
  if (cx + reach < 0 || cx - reach >= target.width || cy + reach < 0 || cy - reach >= target.height) return;
  // The midpoint ellipse method with both radii r; 64-bit terms keep large radii exact.
  const std::int64_t radius = r;
  const std::int64_t s = radius * radius;
  std::int64_t d1 = s / 2 - 4 * s * radius + 2 * s;
  std::int64_t d2 = s / 2 - 2 * s * radius + 2 * s;
  std::int64_t p = 4 * s * radius;
  std::int64_t q = 0;
  int xHalf = r;
  int k = 0;
  if (d1 < 0) {
    do {
      FillSpan(target, cx - xHalf, cx + xHalf, cy + k, colour);
      if (k > 0) FillSpan(target, cx - xHalf, cx + xHalf, cy - k, colour);
      q += 4 * s;
      ++k;
      if (d2 < 0) {
        d1 += q;
        d2 += q + 2 * s;
      } else {
        --xHalf;
        p -= 4 * s;
        d1 += q - p + 2 * s;
        d2 += q - p + 2 * s;
      }
    } while (d1 < 0);
  }
  int run = 1;
  int top = cy - k;
  do {
    FillRun(target, cx + xHalf, cy + k, cy + k + run - 1, colour);
    FillRun(target, cx + xHalf, top, top + run - 1, colour);
    if (xHalf > 0) {
      FillRun(target, cx - xHalf, cy + k, cy + k + run - 1, colour);
      FillRun(target, cx - xHalf, top, top + run - 1, colour);
    }
    --xHalf;
    p -= 4 * s;
    if (d1 < 0) {
      q += 4 * s;
      ++run;
      --top;
      d1 += q - p + 2 * s;
    } else {
      d1 += 2 * s - p;
    }
  } while (xHalf >= 0);
}

void BlitOn(Raster& target, const Raster& source, int x, int y) {
  // 64-bit, since a position near either end of the int range would overflow the clipping sums.
  const std::int64_t left = x, top = y;
  const std::int64_t firstCol = std::max<std::int64_t>(0, -left);
  const std::int64_t lastCol = std::min<std::int64_t>(source.width, target.width - left);
  const std::int64_t firstRow = std::max<std::int64_t>(0, -top);
  const std::int64_t lastRow = std::min<std::int64_t>(source.height, target.height - top);
  if (firstCol >= lastCol || firstRow >= lastRow) return;
  for (std::int64_t row = firstRow; row < lastRow; ++row) {
    const auto from = source.pixels.begin() + static_cast<std::ptrdiff_t>(row * source.width + firstCol);
    const auto to = target.pixels.begin() + static_cast<std::ptrdiff_t>((row + top) * target.width + left + firstCol);
    std::copy(from, from + static_cast<std::ptrdiff_t>(lastCol - firstCol), to);
  }
}
