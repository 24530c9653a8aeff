// Whole-file reading with a size bound, so a huge or endless file is refused before it is read.
#include "picture/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

FileReadOutcome ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  FileReadOutcome outcome;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return outcome;
  outcome.exists = true;
  if (!S_ISREG(info.st_mode) || info.st_size < 0 || static_cast<std::uint64_t>(info.st_size) > maxBytes)
    return outcome;

  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return outcome;
  std::string bytes;
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  // Reads one byte past the expected size to notice a file that grew meanwhile.
  char extra = 0;
  bool ok = true;
  while (ok) {
    char* into = done < bytes.size() ? bytes.data() + done : &extra;
    const std::size_t want = done < bytes.size() ? bytes.size() - done : 1;
    const ssize_t n = read(fd, into, want);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
    } else if (n == 0) {
      break;
    } else if (done >= bytes.size()) {
      ok = false;  // longer than it was a moment ago
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  close(fd);
  if (!ok) return outcome;
  bytes.resize(done);
  outcome.bytes = std::move(bytes);
  return outcome;
}
