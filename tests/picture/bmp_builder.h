// Test helper: builds bitmap files byte by byte for every header version, depth and variant.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct BmpLayout {
  std::uint32_t headerSize = 40;
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  std::vector<std::uint32_t> masks = {};  // after a 40-byte header, or inside a longer one
  std::vector<std::array<std::uint8_t, 3>> palette = {};  // red, green, blue; written blue, green, red
  std::string pixels = {};  // the pixel data exactly as stored
  std::optional<std::uint32_t> dataOffset = {};  // default: right after header, masks and palette
};

inline void AppendLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::string BuildBmp(const BmpLayout& layout) {
  const bool core = layout.headerSize == 12;
  std::string header;
  AppendLe(header, layout.headerSize, 4);
  if (core) {
    AppendLe(header, static_cast<std::uint16_t>(layout.width), 2);
    AppendLe(header, static_cast<std::uint16_t>(layout.height), 2);
    AppendLe(header, 1, 2);
    AppendLe(header, layout.bitsPerPixel, 2);
  } else {
    AppendLe(header, static_cast<std::uint32_t>(layout.width), 4);
    AppendLe(header, static_cast<std::uint32_t>(layout.height), 4);
    AppendLe(header, 1, 2);
    AppendLe(header, layout.bitsPerPixel, 2);
    AppendLe(header, layout.compression, 4);
    AppendLe(header, layout.pixels.size(), 4);
    AppendLe(header, 2835, 4);
    AppendLe(header, 2835, 4);
    AppendLe(header, layout.coloursUsed, 4);
    AppendLe(header, 0, 4);
    if (layout.headerSize > 40)
      for (std::size_t i = 0; i < 4; ++i) AppendLe(header, i < layout.masks.size() ? layout.masks[i] : 0, 4);
    if (layout.headerSize <= 124) header.resize(layout.headerSize, '\0');  // a bogus larger size stays a claim
  }
  std::string extra;
  if (layout.headerSize == 40)
    for (std::uint32_t mask : layout.masks) AppendLe(extra, mask, 4);
  for (const auto& entry : layout.palette) {
    extra.push_back(static_cast<char>(entry[2]));
    extra.push_back(static_cast<char>(entry[1]));
    extra.push_back(static_cast<char>(entry[0]));
    if (!core) extra.push_back('\0');
  }
  const std::uint32_t offset = layout.dataOffset.value_or(static_cast<std::uint32_t>(14 + header.size() + extra.size()));
  std::string file = "BM";
  AppendLe(file, 14 + header.size() + extra.size() + layout.pixels.size(), 4);
  AppendLe(file, 0, 4);
  AppendLe(file, offset, 4);
  file += header;
  file += extra;
  if (file.size() < offset) file.resize(offset, '\0');
  file += layout.pixels;
  return file;
}

// Pads one stored row to a multiple of four bytes.
inline std::string PaddedRow(std::string row) {
  while (row.size() % 4 != 0) row.push_back('\0');
  return row;
}

inline std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}
