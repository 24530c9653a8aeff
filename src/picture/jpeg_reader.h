// Decoding JPEG files through libjpeg into a picture; any complaint of libjpeg gives no image.
#pragma once

#include <string_view>

#include "picture/image_decode.h"

// True when the bytes start with the JPEG start-of-image marker 0xFF 0xD8.
bool LooksLikeJpeg(std::string_view bytes);

// Decodes a JPEG held in memory to 8-bit RGB (greyscale expanded); errors, warnings about corrupt or truncated
// data (bar a missing end marker alone) and pictures beyond the limits of image_decode.h give no image.
ImageDecodeResult DecodeJpeg(std::string_view bytes);
