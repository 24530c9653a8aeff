// SPDX-License-Identifier: GPL-3.0-or-later
// Load and Save of a picture with its settings file, for the window's commands and vellora-render alike.
#pragma once

#include <optional>
#include <string>

#include "picture/raster.h"
#include "picture/settings_file.h"

// The filter list of both file dialogs: index 0 is the bitmap filter, index 1 the JPG filter.
constexpr const char* ImageFileFilters = "Bitmap (*.bmp)|*.bmp|JPG (*.jpg)|*.jpg";

// The name Save writes: ".bmp" appended for filter 0 and ".jpg" for any other, unless the name already
// ends in exactly that (letter case counts). Names of any length are kept whole.
std::string NameWithSaveExtension(const std::string& name, int filterIndex);
// The name with the extension appended unless it already ends in exactly that (letter case counts).
std::string NameWithExtension(const std::string& name, const std::string& extension);

struct LoadedDocument {
  std::optional<Raster> picture;           // stretched to the canvas size; none when it could not be read
  std::string pictureError;                // why there is no picture
  std::optional<SettingsValues> settings;  // none when there is no settings file
};

// Reads the picture at imagePath (BMP or JPEG by content, stretched to CanvasSize × CanvasSize) and the
// settings file at settingsPath, or beside the picture when settingsPath is empty. Each part is read
// whether or not the other could be.
LoadedDocument LoadDocument(const std::string& imagePath, const std::string& settingsPath = {});

struct SavedDocument {
  bool ok = false;
  bool pictureWritten = false;  // false: nothing was written, both earlier files are as they were
  std::string failedPath;       // the file that could not be written
  std::string reason;           // the system's words for it
};

// Writes the picture as a 24-bit bitmap at path, then the values into the settings file beside it (keeping
// the file's other lines). Without the new picture the settings file is left alone as well.
SavedDocument SaveDocument(const std::string& path, const Raster& picture, const SettingsValues& values);
