// SPDX-License-Identifier: GPL-3.0-or-later
// Load and Save of a picture with its settings file: the extension rule, the reading and the writing.
#include "picture/document.h"

#include <cerrno>
#include <cstring>

#include "picture/file_io.h"
#include "picture/image_file.h"
#include "picture/picture_transform.h"

namespace {

constexpr int BitmapFilter = 0;
constexpr const char* BitmapExtension = ".bmp";
constexpr const char* JpgExtension = ".jpg";

}  // namespace

std::string NameWithExtension(const std::string& name, const std::string& extension) {
  const bool hasIt = name.size() >= extension.size() &&
                     name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
  return hasIt ? name : name + extension;
}

std::string NameWithSaveExtension(const std::string& name, int filterIndex) {
  const std::string extension = filterIndex == BitmapFilter ? BitmapExtension : JpgExtension;
  return NameWithExtension(name, extension);
}

LoadedDocument LoadDocument(const std::string& imagePath, const std::string& settingsPath) {
  LoadedDocument loaded;
  errno = 0;
  const FileReadOutcome read = ReadFileBytes(imagePath, MaxImageFileBytes);
  if (!read.bytes) {
    loaded.pictureError =
        !read.exists ? "no such file" : (errno ? std::strerror(errno) : "not a regular file, or too large");
  } else if (std::optional<Raster> picture = ReadImageFile(*read.bytes)) {
    loaded.picture = StretchToSize(*picture, CanvasSize, CanvasSize);
  } else {
    loaded.pictureError = "not a BMP or JPEG picture Vellora can read";
  }
  loaded.settings = ReadSettingsValuesFile(settingsPath.empty() ? SettingsFileName(imagePath) : settingsPath);
  return loaded;
}

SavedDocument SaveDocument(const std::string& path, const Raster& picture, const SettingsValues& values) {
  SavedDocument saved;
  const FileWriteOutcome written = ReplaceFileContents(path, EncodeBmp24(picture));
  if (!written.ok) {
    saved.failedPath = path;
    saved.reason = std::strerror(written.error);
    return saved;
  }
  saved.pictureWritten = true;
  if (!WriteSettingsValuesFile(SettingsFileName(path), values)) {
    saved.failedPath = SettingsFileName(path);
    saved.reason = "write failed";
    return saved;
  }
  saved.ok = true;
  return saved;
}
