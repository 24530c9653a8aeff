// Reading an image file as Load does: the content decides the kind (bitmap, then JPEG), never the name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "picture/raster.h"

// Decodes bitmap or JPEG bytes; anything else, or a broken file, gives no image.
std::optional<Raster> ReadImageFile(std::string_view bytes);
// Reads the file at path (up to MaxImageFileBytes) and decodes it; an unreadable file gives no image.
std::optional<Raster> ReadImageFileAt(const std::string& path);
