// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes read as Load reads an image file (bitmap or JPEG by content), then stretched
// onto the canvas as Load does; a picture that decodes small also survives a save and reload unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "picture/image_file.h"
#include "picture/picture_transform.h"

namespace {

// Re-encoding is checked only for small pictures, to keep each input quick.
constexpr std::size_t RoundTripPixels = 64 * 64;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto picture = ReadImageFile(bytes);
  if (!picture) return 0;
  Check(ImageSizeAllowed(picture->width, picture->height));
  Check(picture->pixels.size() == static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height));
  const Raster stretched = StretchToSize(*picture, CanvasSize, CanvasSize);
  Check(stretched.width == CanvasSize && stretched.height == CanvasSize);
  if (picture->pixels.size() <= RoundTripPixels) {
    const ImageDecodeResult again = DecodeBmp(EncodeBmp24(*picture));
    Check(again.image.has_value());
    Check(again.image->width == picture->width && again.image->height == picture->height);
    for (std::size_t i = 0; i < picture->pixels.size(); ++i)
      Check((again.image->pixels[i] & ColourMask) == (picture->pixels[i] & ColourMask));
  }
  return 0;
}
