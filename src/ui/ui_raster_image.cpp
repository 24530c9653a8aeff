// Conversion of the program's pictures into the toolkit's images.
#include "ui/ui_raster_image.h"

namespace {

constexpr uchar Opaque = 0xFF;

}  // namespace

QImage RasterToImage(const Raster& picture) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  // RGBX8888 stores the bytes R, G, B, 255 whatever the machine's byte order.
  QImage image(picture.width, picture.height, QImage::Format_RGBX8888);
  if (image.isNull()) return {};
  for (int y = 0; y < picture.height; ++y) {
    const Colour* source = &picture.pixels[static_cast<std::size_t>(y) * picture.width];
    uchar* target = image.scanLine(y);
    for (int x = 0; x < picture.width; ++x) {
      target[4 * x] = RedOf(source[x]);
      target[4 * x + 1] = GreenOf(source[x]);
      target[4 * x + 2] = BlueOf(source[x]);
      target[4 * x + 3] = Opaque;
    }
  }
  return image;
}
