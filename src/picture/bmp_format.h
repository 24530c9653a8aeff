// SPDX-License-Identifier: GPL-3.0-or-later
// Sizes and field values of the Windows bitmap file layout shared by the reader and the writer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "picture/raster.h"

constexpr std::size_t BmpFileHeaderSize = 14;
constexpr std::uint32_t BmpCoreHeaderSize = 12;
constexpr std::uint32_t BmpInfoHeaderSize = 40;
constexpr std::uint32_t BmpV2HeaderSize = 52;  // info header with the three colour masks inside
constexpr std::uint32_t BmpV3HeaderSize = 56;  // ... and the alpha mask
constexpr std::uint32_t BmpV4HeaderSize = 108;
constexpr std::uint32_t BmpV5HeaderSize = 124;

// Field offsets in the file header, and inside the information (and core) header.
constexpr std::size_t BmpFileSizeField = 2;
constexpr std::size_t BmpDataOffsetField = 10;
constexpr std::size_t BmpHeaderSizeField = 14;  // also the first field of every information header
constexpr std::size_t InfoWidthField = 4;
constexpr std::size_t InfoHeightField = 8;
constexpr std::size_t InfoPlanesField = 12;
constexpr std::size_t InfoBitsField = 14;
constexpr std::size_t InfoCompressionField = 16;
constexpr std::size_t InfoImageSizeField = 20;
constexpr std::size_t InfoColoursUsedField = 32;
constexpr std::size_t InfoMasksField = 40;  // red, green, blue, alpha masks in headers of 52 bytes and more
constexpr std::size_t CoreWidthField = 4;
constexpr std::size_t CoreHeightField = 6;
constexpr std::size_t CoreBitsField = 10;

constexpr std::uint32_t BmpRgb = 0;
constexpr std::uint32_t BmpRle8 = 1;
constexpr std::uint32_t BmpRle4 = 2;
constexpr std::uint32_t BmpBitFields = 3;
constexpr std::uint32_t BmpAlphaBitFields = 6;

// Rows are padded to a multiple of four bytes.
constexpr std::int64_t BmpRowBytes(std::int64_t width, int bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

using BmpPalette = std::array<Colour, 256>;  // entries the file does not hold are black

inline std::uint16_t ReadLe16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                    (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}
inline std::uint32_t ReadLe32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(ReadLe16(bytes, at)) | (static_cast<std::uint32_t>(ReadLe16(bytes, at + 2)) << 16);
}
