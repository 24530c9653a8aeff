// Decoding Windows bitmap files of every common variant into a picture, refusing broken or hostile ones.
#pragma once

#include <string_view>

#include "picture/image_decode.h"

// True when the bytes start with the bitmap signature "BM".
bool LooksLikeBmp(std::string_view bytes);

// Decodes a bitmap: core (12-byte), information (40) and later (52, 56, 108, 124) headers; 1, 4, 8 bits
// with a palette (uncompressed or RLE), 16 and 32 bits (default layout or checked bit fields), 24 bits;
// bottom-up or top-down rows. Truncated data, impossible sizes or fields and pictures beyond the limits
// of image_decode.h give no image and a reason, without allocating for the claimed size.
ImageDecodeResult DecodeBmp(std::string_view bytes);
