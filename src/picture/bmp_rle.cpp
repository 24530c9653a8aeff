// RLE8/RLE4 bitmap data: runs of one index, absolute runs, end of line, end of picture and jumps.
#include "picture/bmp_rle.h"

#include <new>

namespace {

constexpr std::uint8_t EscapeEndOfLine = 0;
constexpr std::uint8_t EscapeEndOfBitmap = 1;
constexpr std::uint8_t EscapeDelta = 2;

// Walks the data once; with a picture it also stores the pixels. Gives the reason when the data is broken.
const char* WalkRle(std::string_view data, int width, int height, bool fourBit, const BmpPalette& palette,
                    Raster* picture) {
  auto byteAt = [&](std::size_t at) { return static_cast<std::uint8_t>(data[at]); };
  // x and y count from the bottom-left pixel as the data does; positions off the picture are dropped.
  std::int64_t x = 0, y = 0;
  auto put = [&](std::uint8_t index) {
    if (picture && x < width && y < height)
      picture->At(static_cast<int>(x), static_cast<int>(height - 1 - y)) = palette[index];
    ++x;
  };

  std::size_t at = 0;
  while (y < height) {
    if (at + 2 > data.size()) return "run-length data ends early";
    const std::uint8_t count = byteAt(at);
    const std::uint8_t code = byteAt(at + 1);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i)
        put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? code >> 4 : code & 0x0F) : code);
      continue;
    }
    if (code == EscapeEndOfLine) {
      x = 0;
      ++y;
    } else if (code == EscapeEndOfBitmap) {
      break;
    } else if (code == EscapeDelta) {
      if (at + 2 > data.size()) return "run-length jump cut off";
      x += byteAt(at);
      y += byteAt(at + 1);
      at += 2;
    } else {
      const std::size_t bytes = fourBit ? (code + 1u) / 2u : code;
      if (at + bytes > data.size()) return "run-length literal cut off";
      for (int i = 0; i < code; ++i) {
        const std::uint8_t packed = byteAt(at + (fourBit ? i / 2 : i));
        put(fourBit ? static_cast<std::uint8_t>(i % 2 == 0 ? packed >> 4 : packed & 0x0F) : packed);
      }
      at += bytes + (bytes & 1u);  // literal runs are padded to an even length
    }
  }
  return nullptr;
}

}  // namespace

ImageDecodeResult DecodeBmpRle(std::string_view data, int width, int height, int bitsPerPixel,
                               const BmpPalette& palette) {
  if (!ImageSizeAllowed(width, height)) return DecodeFailure("picture size out of range");
  if (bitsPerPixel != 8 && bitsPerPixel != 4) return DecodeFailure("run-length data needs 4 or 8 bits");
  const bool fourBit = bitsPerPixel == 4;
  // A few bytes can claim a huge picture, so the data is checked whole before the picture is allocated.
  if (const char* problem = WalkRle(data, width, height, fourBit, palette, nullptr)) return DecodeFailure(problem);
  Raster picture;
  try {
    picture = Raster(width, height, Black);
  } catch (const std::bad_alloc&) {
    return DecodeFailure("out of memory");
  }
  WalkRle(data, width, height, fourBit, palette, &picture);
  return {std::move(picture), {}};
}
