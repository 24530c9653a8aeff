// Whole-file reading with a size bound, so a huge or endless file is refused before it is read.
#include "picture/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

std::optional<std::string> ReadOpenFile(int fd, std::size_t maxBytes) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
      static_cast<std::uint64_t>(info.st_size) > maxBytes)
    return std::nullopt;
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  std::size_t done = 0;
  char extra = 0;
  while (true) {
    // One byte is asked for past the expected size to notice a file that grew meanwhile.
    char* into = done < bytes.size() ? bytes.data() + done : &extra;
    const std::size_t want = done < bytes.size() ? bytes.size() - done : 1;
    const ssize_t n = pread(fd, into, want, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    if (done >= bytes.size()) return std::nullopt;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

FileReadOutcome ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  FileReadOutcome outcome;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return outcome;
  outcome.exists = true;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return outcome;
  outcome.bytes = ReadOpenFile(fd, maxBytes);
  close(fd);
  return outcome;
}
