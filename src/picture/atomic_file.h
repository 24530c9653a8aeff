// Replacing a file's whole content so that it is either the old file or the complete new one, never a mix.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The result of a replacement: ok, or the errno of the step that failed.
struct FileWriteOutcome {
  bool ok = false;
  int error = 0;
};

// Writes bytes to a temporary file in the target's folder, syncs it and renames it over path.
// On any failure the temporary file is removed and an existing file at path is left as it was.
// A symbolic link is followed; a path that names something other than a regular file (a folder, a device)
// is refused, and so is an existing file the process may not write.
FileWriteOutcome ReplaceFileContents(const std::string& path, std::string_view bytes);
