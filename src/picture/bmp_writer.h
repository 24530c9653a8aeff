// Writing a picture as an uncompressed 24-bit Windows bitmap with the 40-byte information header.
#pragma once

#include <string>

#include "picture/atomic_file.h"
#include "picture/raster.h"

// The whole file: 54-byte header, then the rows bottom row first, blue-green-red, each padded to 4 bytes.
std::string EncodeBmp24(const Raster& picture);
// Encodes the picture and replaces the file at path with it; the old file survives any failure.
FileWriteOutcome WriteBmpFile(const std::string& path, const Raster& picture);
