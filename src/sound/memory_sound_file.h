// SPDX-License-Identifier: GPL-3.0-or-later
// A whole sound file held in memory, for libsndfile's virtual I/O: the writer encodes into one and the
// reader decodes from one, so neither needs a file on disk.
#pragma once

#include <sndfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

// The bytes and where libsndfile is in them; a write past the end makes the file longer.
struct MemorySoundFile {
  std::string bytes;
  sf_count_t position = 0;
};

namespace memory_sound_file {

inline MemorySoundFile& Of(void* user) { return *static_cast<MemorySoundFile*>(user); }

inline sf_count_t Length(void* user) { return static_cast<sf_count_t>(Of(user).bytes.size()); }

// A header may ask for any offset; one before the start or past what a count can hold is refused.
inline sf_count_t Seek(sf_count_t offset, int whence, void* user) {
  MemorySoundFile& file = Of(user);
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = file.position;
  else if (whence == SEEK_END) base = static_cast<sf_count_t>(file.bytes.size());
  if (offset > std::numeric_limits<sf_count_t>::max() - base) return -1;
  const sf_count_t target = base + offset;
  if (target < 0) return -1;
  file.position = target;
  return file.position;
}

inline sf_count_t Read(void* destination, sf_count_t count, void* user) {
  MemorySoundFile& file = Of(user);
  const auto size = static_cast<sf_count_t>(file.bytes.size());
  if (count <= 0 || file.position >= size) return 0;
  const sf_count_t taken = std::min(count, size - file.position);
  std::memcpy(destination, file.bytes.data() + file.position, static_cast<std::size_t>(taken));
  file.position += taken;
  return taken;
}

inline sf_count_t Write(const void* source, sf_count_t count, void* user) {
  MemorySoundFile& file = Of(user);
  if (count <= 0) return 0;
  const auto end = static_cast<std::size_t>(file.position + count);
  if (end > file.bytes.size()) file.bytes.resize(end);
  std::memcpy(file.bytes.data() + file.position, source, static_cast<std::size_t>(count));
  file.position += count;
  return count;
}

inline sf_count_t Tell(void* user) { return Of(user).position; }

}  // namespace memory_sound_file

// The callbacks to hand sf_open_virtual, with a MemorySoundFile as its user data.
inline SF_VIRTUAL_IO MemorySoundFileIo() {
  using namespace memory_sound_file;
  return SF_VIRTUAL_IO{Length, Seek, Read, Write, Tell};
}
