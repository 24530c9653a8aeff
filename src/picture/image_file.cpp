// SPDX-License-Identifier: GPL-3.0-or-later
// Reading an image file as Load does, and writing the 24-bit bitmap Save writes.
#include "picture/image_file.h"

#include <cstdint>

#include "picture/bmp_format.h"

std::optional<Raster> ReadImageFile(std::string_view bytes) {
  if (LooksLikeBmp(bytes)) {
    auto bitmap = DecodeBmp(bytes);
    if (bitmap.image) return std::move(bitmap.image);
  }
  if (LooksLikeJpeg(bytes)) return DecodeJpeg(bytes).image;
  return std::nullopt;
}

namespace {

constexpr int SavedBitsPerPixel = 24;
constexpr std::uint16_t Planes = 1;

void PutLe16(std::string& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<char>(value & 0xFF);
  out[at + 1] = static_cast<char>(value >> 8);
}
void PutLe32(std::string& out, std::size_t at, std::uint32_t value) {
  PutLe16(out, at, static_cast<std::uint16_t>(value & 0xFFFF));
  PutLe16(out, at + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

std::string EncodeBmp24(const Raster& picture) {
  const std::size_t rowBytes = static_cast<std::size_t>(BmpRowBytes(picture.width, SavedBitsPerPixel));
  const std::size_t pixelBytes = rowBytes * static_cast<std::size_t>(picture.height);
  const std::size_t dataOffset = BmpFileHeaderSize + BmpInfoHeaderSize;
  std::string out(dataOffset + pixelBytes, '\0');

  out[0] = 'B';
  out[1] = 'M';
  PutLe32(out, BmpFileSizeField, static_cast<std::uint32_t>(out.size()));
  PutLe32(out, BmpDataOffsetField, static_cast<std::uint32_t>(dataOffset));
  PutLe32(out, BmpHeaderSizeField, BmpInfoHeaderSize);
  PutLe32(out, BmpFileHeaderSize + InfoWidthField, static_cast<std::uint32_t>(picture.width));
  // A positive height: the bottom row is stored first.
  PutLe32(out, BmpFileHeaderSize + InfoHeightField, static_cast<std::uint32_t>(picture.height));
  PutLe16(out, BmpFileHeaderSize + InfoPlanesField, Planes);
  PutLe16(out, BmpFileHeaderSize + InfoBitsField, SavedBitsPerPixel);
  PutLe32(out, BmpFileHeaderSize + InfoCompressionField, BmpRgb);
  PutLe32(out, BmpFileHeaderSize + InfoImageSizeField, static_cast<std::uint32_t>(pixelBytes));
  // Resolution, colours used and important colours stay 0.

  for (int y = 0; y < picture.height; ++y) {
    std::size_t at = dataOffset + rowBytes * static_cast<std::size_t>(picture.height - 1 - y);
    for (int x = 0; x < picture.width; ++x) {
      const Colour c = picture.At(x, y);
      out[at++] = static_cast<char>(BlueOf(c));
      out[at++] = static_cast<char>(GreenOf(c));
      out[at++] = static_cast<char>(RedOf(c));
    }
  }
  return out;
}
