// Run-length decoding of 4- and 8-bit bitmaps, used by the bitmap reader.
#pragma once

#include <array>
#include <string_view>

#include "picture/image_decode.h"

using BmpPalette = std::array<Colour, 256>;  // entries the file does not hold are black

// Decodes RLE8 (bitsPerPixel 8) or RLE4 (4) data of a bottom-up width x height picture; pixels the data
// skips stay black. Data that ends before the picture is complete gives no image.
ImageDecodeResult DecodeBmpRle(std::string_view data, int width, int height, int bitsPerPixel,
                               const BmpPalette& palette);
