// What every image decoder gives back, and the size limits that keep hostile files from costing memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

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
