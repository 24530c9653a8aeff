// SPDX-License-Identifier: GPL-3.0-or-later
// Image files: BMP and JPEG decoding into a picture (the content decides the kind, never the name),
// 24-bit BMP encoding, and the limits that keep hostile files from costing memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "picture/raster.h"

// Decoded pictures are limited to 16384 pixels per side and 64 megapixels in all (a 256 MiB raster),
// far beyond anything that is stretched onto the 380x380 canvas, so a claim of 100000x100000 never allocates.
constexpr std::int64_t MaxImageSide = 16384;
constexpr std::int64_t MaxImagePixels = 64LL * 1024 * 1024;
// Image files larger than this are not read at all (64 megapixels at 32 bits plus headers fit).
constexpr std::size_t MaxImageFileBytes = 320u * 1024u * 1024u;

// A decoded picture, or none with the reason the bytes were refused.
struct ImageDecodeResult {
  std::optional<Raster> image;
  std::string reason;
};

inline ImageDecodeResult DecodeFailure(std::string reason) { return {std::nullopt, std::move(reason)}; }

// True when width x height is positive and within the limits above.
constexpr bool ImageSizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= MaxImageSide && height <= MaxImageSide &&
         width * height <= MaxImagePixels;
}

// True when the bytes start with the bitmap signature "BM".
bool LooksLikeBmp(std::string_view bytes);

// Decodes a bitmap: core (12-byte), information (40) and later (52, 56, 108, 124) headers; 1, 4, 8 bits
// with a palette (uncompressed or RLE), 16 and 32 bits (default layout or checked bit fields), 24 bits;
// bottom-up or top-down rows. Truncated data, impossible sizes or fields and pictures beyond the limits
// above give no image and a reason, without allocating for the claimed size.
ImageDecodeResult DecodeBmp(std::string_view bytes);

// True when the bytes start with the JPEG start-of-image marker 0xFF 0xD8.
bool LooksLikeJpeg(std::string_view bytes);

// Decodes a JPEG held in memory to 8-bit RGB (greyscale expanded); errors, warnings about corrupt or truncated
// data (bar a missing end marker alone) and pictures beyond the limits above give no image.
ImageDecodeResult DecodeJpeg(std::string_view bytes);

// The whole file: 54-byte header, then the rows bottom row first, blue-green-red, each padded to 4 bytes.
std::string EncodeBmp24(const Raster& picture);

// Decodes bitmap or JPEG bytes; anything else, or a broken file, gives no image.
std::optional<Raster> ReadImageFile(std::string_view bytes);
