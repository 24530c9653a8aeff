// SPDX-License-Identifier: GPL-3.0-or-later
// The byte layout the band point fuzz target reads, shared with the seed generator that writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "distribution/band_editor.h"

namespace band_input {

// Surfaces up to this size keep one input cheap; the point values themselves are unbounded.
constexpr int MaxSide = 400;
constexpr int MaxPoints = 16;
constexpr int MaxMoves = 8;

struct PointerMove {
  std::int16_t x = 0;
  std::int16_t y = 0;
};

struct BandInput {
  int pointCount = 2;
  int width = 0, height = 0;              // the editor record's size
  int canvasWidth = 0, canvasHeight = 0;  // the picture it draws on, which need not match
  std::int32_t markerRadius = 0, hitRadius = 0, rangeX = 0, rangeY = 0;
  std::vector<StoredBandPoint> points;    // pointCount of them
  std::vector<PointerMove> moves;         // a press at the first, moves through the rest, a release
};

// Reads little-endian fields in order; missing bytes read as zero.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint32_t Take(int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(pos_ < size_ ? data_[pos_++] : 0) << (8 * i);
    return value;
  }
  bool AtEnd() const { return pos_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

inline BandInput Decode(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  BandInput input;
  input.pointCount = 2 + static_cast<int>(in.Take(1) % (MaxPoints - 1));
  input.width = static_cast<int>(in.Take(2) % MaxSide);
  input.height = static_cast<int>(in.Take(2) % MaxSide);
  input.canvasWidth = static_cast<int>(in.Take(2) % MaxSide);
  input.canvasHeight = static_cast<int>(in.Take(2) % MaxSide);
  input.markerRadius = static_cast<std::int32_t>(in.Take(4));
  input.hitRadius = static_cast<std::int32_t>(in.Take(4));
  input.rangeX = static_cast<std::int32_t>(in.Take(4));
  input.rangeY = static_cast<std::int32_t>(in.Take(4));
  for (int i = 0; i < input.pointCount; ++i) {
    const auto x = static_cast<std::int32_t>(in.Take(4));
    const auto y = static_cast<std::int32_t>(in.Take(4));
    input.points.push_back({x, y});
  }
  while (!in.AtEnd() && static_cast<int>(input.moves.size()) < MaxMoves) {
    const auto x = static_cast<std::int16_t>(in.Take(2));
    const auto y = static_cast<std::int16_t>(in.Take(2));
    input.moves.push_back({x, y});
  }
  return input;
}

inline void Put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// The bytes Decode reads back as input (sizes already in range).
inline std::string Encode(const BandInput& input) {
  std::string out;
  Put(out, static_cast<std::uint32_t>(input.pointCount - 2), 1);
  Put(out, static_cast<std::uint32_t>(input.width), 2);
  Put(out, static_cast<std::uint32_t>(input.height), 2);
  Put(out, static_cast<std::uint32_t>(input.canvasWidth), 2);
  Put(out, static_cast<std::uint32_t>(input.canvasHeight), 2);
  for (std::int32_t v : {input.markerRadius, input.hitRadius, input.rangeX, input.rangeY})
    Put(out, static_cast<std::uint32_t>(v), 4);
  for (const StoredBandPoint& p : input.points) {
    Put(out, static_cast<std::uint32_t>(p.x), 4);
    Put(out, static_cast<std::uint32_t>(p.y), 4);
  }
  for (const PointerMove& m : input.moves) {
    Put(out, static_cast<std::uint16_t>(m.x), 2);
    Put(out, static_cast<std::uint16_t>(m.y), 2);
  }
  return out;
}

}  // namespace band_input
