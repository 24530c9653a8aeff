// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-picture transforms: the area-averaging stretch and the quarter turn clockwise.
#include "picture/picture_transform.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr int Channels = 3;

struct Cover {
  int source;
  std::int64_t weight;
};

// On a common scale where a source pixel is targetSize units long and a target pixel sourceSize units,
// lists for each target pixel the source pixels it overlaps and by how many units (they add up to sourceSize).
std::vector<std::vector<Cover>> Coverage(int sourceSize, int targetSize) {
  std::vector<std::vector<Cover>> covers(static_cast<std::size_t>(targetSize));
  for (int t = 0; t < targetSize; ++t) {
    const std::int64_t start = static_cast<std::int64_t>(t) * sourceSize;
    const std::int64_t end = start + sourceSize;
    for (int s = static_cast<int>(start / targetSize); s < sourceSize; ++s) {
      const std::int64_t sourceStart = static_cast<std::int64_t>(s) * targetSize;
      if (sourceStart >= end) break;
      const std::int64_t overlap = std::min(end, sourceStart + targetSize) - std::max(start, sourceStart);
      if (overlap > 0) covers[static_cast<std::size_t>(t)].push_back({s, overlap});
    }
  }
  return covers;
}

using RowSums = std::vector<std::array<std::uint64_t, Channels>>;

void ResampleRow(const Raster& source, int y, const std::vector<std::vector<Cover>>& columns, RowSums& out) {
  for (std::size_t t = 0; t < columns.size(); ++t) {
    std::array<std::uint64_t, Channels> sum{};
    for (const Cover& cover : columns[t]) {
      const Colour c = source.At(cover.source, y);
      const auto weight = static_cast<std::uint64_t>(cover.weight);
      sum[0] += RedOf(c) * weight;
      sum[1] += GreenOf(c) * weight;
      sum[2] += BlueOf(c) * weight;
    }
    out[t] = sum;
  }
}

}  // namespace

Raster StretchToSize(const Raster& source, int width, int height) {
  if (width <= 0 || height <= 0) return Raster();
  if (source.width == width && source.height == height) return source;
  Raster target(width, height, Black);
  if (source.width <= 0 || source.height <= 0) return target;

  const auto columns = Coverage(source.width, width);
  const auto rows = Coverage(source.height, height);
  const std::uint64_t total = static_cast<std::uint64_t>(source.width) * static_cast<std::uint64_t>(source.height);

  RowSums cached(static_cast<std::size_t>(width));
  int cachedRow = -1;
  RowSums sums(static_cast<std::size_t>(width));
  for (int ty = 0; ty < height; ++ty) {
    std::fill(sums.begin(), sums.end(), std::array<std::uint64_t, Channels>{});
    for (const Cover& cover : rows[static_cast<std::size_t>(ty)]) {
      // Consecutive target rows share their boundary source row, so one cached row saves most of the work.
      if (cover.source != cachedRow) {
        ResampleRow(source, cover.source, columns, cached);
        cachedRow = cover.source;
      }
      const auto weight = static_cast<std::uint64_t>(cover.weight);
      for (int tx = 0; tx < width; ++tx)
        for (int ch = 0; ch < Channels; ++ch) sums[tx][ch] += cached[tx][ch] * weight;
    }
    for (int tx = 0; tx < width; ++tx) {
      auto level = [&](int ch) { return static_cast<std::uint8_t>((sums[tx][ch] + total / 2) / total); };
      target.At(tx, ty) = MakeColour(level(0), level(1), level(2));
    }
  }
  return target;
}

Raster RotatedClockwise(const Raster& source) {
  Raster turned(source.height, source.width);
  for (int x = 0; x < source.width; ++x)
    for (int y = 0; y < source.height; ++y) turned.At(source.height - 1 - y, x) = source.At(x, y);
  return turned;
}
