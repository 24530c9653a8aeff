// Tries the decoders in the program's fixed order on the file's content.
#include "picture/image_file.h"

#include "picture/bmp_reader.h"
#include "picture/file_read.h"
#include "picture/image_decode.h"
#include "picture/jpeg_reader.h"

std::optional<Raster> ReadImageFile(std::string_view bytes) {
  if (LooksLikeBmp(bytes)) {
    auto bitmap = DecodeBmp(bytes);
    if (bitmap.image) return std::move(bitmap.image);
  }
  if (LooksLikeJpeg(bytes)) return DecodeJpeg(bytes).image;
  return std::nullopt;
}

std::optional<Raster> ReadImageFileAt(const std::string& path) {
  auto read = ReadFileBytes(path, MaxImageFileBytes);
  if (!read.bytes) return std::nullopt;
  return ReadImageFile(*read.bytes);
}
