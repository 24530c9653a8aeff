// Reading a whole regular file into memory with an upper bound on its size.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The outcome of a read: the bytes, or none with whether something exists at the path.
struct FileReadOutcome {
  std::optional<std::string> bytes;
  bool exists = false;  // something is at the path, even when it could not be read
};

// Reads the regular file at path when it holds at most maxBytes; anything else gives no bytes.
FileReadOutcome ReadFileBytes(const std::string& path, std::size_t maxBytes);
// Reads an open file descriptor from its start when it is a regular file of at most maxBytes.
std::optional<std::string> ReadOpenFile(int fd, std::size_t maxBytes);
