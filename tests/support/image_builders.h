// SPDX-License-Identifier: GPL-3.0-or-later
// Image files built for tests and fuzz seeds: bitmaps laid out byte by byte for every header and depth,
// and real JPEG bytes from libjpeg's own compressor writing into memory.
#pragma once

#include <cstdio>  // before jpeglib.h, which uses FILE
#include <jpeglib.h>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "picture/raster.h"

struct BmpLayout {
  std::uint32_t headerSize = 40;
  std::int32_t width = 1, height = 1;
  std::uint16_t bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks = {};                  // after a 40-byte header, or inside a longer one
  std::vector<std::array<std::uint8_t, 3>> palette = {};  // red, green, blue; stored blue, green, red
  std::uint64_t resolution = 2835;                        // pixels per metre, across and down
  std::string pixels = {};                                // stored right after headers, masks and palette
};

inline void AppendLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline std::string BuildBmp(const BmpLayout& l) {
  const bool core = l.headerSize == 12;
  std::string header, extra, file = "BM";
  AppendLe(header, l.headerSize, 4);
  AppendLe(header, std::uint32_t(l.width), core ? 2 : 4);
  AppendLe(header, std::uint32_t(l.height), core ? 2 : 4);
  AppendLe(header, 1 | l.bitsPerPixel << 16, 4);  // one plane
  if (!core) {  // compression, data size, resolution, colours used and important
    for (std::uint64_t field : {std::uint64_t{l.compression}, l.pixels.size(), l.resolution, l.resolution, 0ul, 0ul})
      AppendLe(header, field, 4);
    for (std::size_t i = 0; l.headerSize > 40 && i < 4; ++i) AppendLe(header, i < l.masks.size() ? l.masks[i] : 0, 4);
    if (l.headerSize <= 124) header.resize(l.headerSize, '\0');  // a bogus larger size stays a claim
  }
  for (std::uint32_t mask : l.masks) if (l.headerSize == 40) AppendLe(extra, mask, 4);
  for (const auto& [r, g, b] : l.palette) extra += std::string{char(b), char(g), char(r), '\0'}.substr(0, core ? 3 : 4);
  AppendLe(file, 14 + header.size() + extra.size() + l.pixels.size(), 4);
  AppendLe(file, (14 + header.size() + extra.size()) << 32, 8);  // reserved, then the data offset
  return file + header + extra + l.pixels;
}

// A 24-bit bitmap as Save lays it out: 40-byte header, resolutions 0, rows bottom first in blue, green, red, padded.
inline std::string SavedBmpLayout(const Raster& p) {
  std::string rows;
  for (int y = p.height - 1; y >= 0; --y, rows.append((4 - 3 * p.width % 4) % 4, '\0'))
    for (int x = 0; x < p.width; ++x) rows += {char(p.At(x, y) >> 16), char(p.At(x, y) >> 8), char(p.At(x, y))};
  return BuildBmp({.width = p.width, .height = p.height, .resolution = 0, .pixels = rows});
}

inline std::string Bytes(std::initializer_list<int> values) { return std::string(values.begin(), values.end()); }
// One stored row padded to a multiple of four bytes.
inline std::string PaddedRow(std::string row) { return row.resize((row.size() + 3) / 4 * 4, '\0'), row; }

// Encodes width x height samples (3 per pixel for colour, 1 for grey), row by row from the top, in memory.
inline std::string EncodeTestJpeg(int width, int height, bool grey, const std::vector<unsigned char>& samples,
                                  int quality = 100, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  unsigned char* buffer = nullptr;  // libjpeg allocates it, growing it as needed
  unsigned long size = 0;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width), info.image_height = JDIMENSION(height);
  info.input_components = grey ? 1 : 3, info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  for (JSAMPROW row; info.next_scanline < info.image_height; jpeg_write_scanlines(&info, &row, 1))
    row = const_cast<unsigned char*>(samples.data()) + std::size_t(width) * info.input_components * info.next_scanline;
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}
