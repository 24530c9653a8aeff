// SPDX-License-Identifier: GPL-3.0-or-later
// Whole files: reading with a bound on the size, and replacing so that a file is either the
// old one or the complete new one, never a mix.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <cstdint>
#include <string_view>

// The outcome of a read: the bytes, or none with whether something exists at the path.
struct FileReadOutcome {
  std::optional<std::string> bytes;
  bool exists = false;  // something is at the path, even when it could not be read
};

// Reads the regular file at path when it holds at most maxBytes; anything else gives no bytes.
FileReadOutcome ReadFileBytes(const std::string& path, std::size_t maxBytes);
// Reads an open file descriptor from its start when it is a regular file of at most maxBytes.
std::optional<std::string> ReadOpenFile(int fd, std::size_t maxBytes);

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
