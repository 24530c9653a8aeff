// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reading with a size bound (a huge or endless file is refused before it is read) and
// whole-file replacement through a synced temporary file renamed over the target.
#include "picture/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

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

namespace {

constexpr mode_t NewFileMode = 0666;  // narrowed by the umask, as for any file the user creates
constexpr mode_t PermissionBits = 07777;

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

mode_t CurrentUmask() {
  const mode_t mask = umask(0);
  umask(mask);
  return mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Best effort: makes the rename itself durable; the new content is already synced.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// A symbolic link is followed, so the file it names is replaced and the link stays; empty when it dangles.
std::string ResolvedTarget(const std::string& path) {
  struct stat link {};
  if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return {};
  std::string target(resolved);
  std::free(resolved);
  return target;
}

}  // namespace

FileWriteOutcome ReplaceFileContents(const std::string& requestedPath, std::string_view bytes) {
  if (requestedPath.empty()) return {false, ENOENT};
  const std::string path = ResolvedTarget(requestedPath);
  if (path.empty()) return {false, ENOENT};
  mode_t mode = NewFileMode & ~CurrentUmask();
  struct stat existing {};
  if (lstat(path.c_str(), &existing) == 0) {
    if (!S_ISREG(existing.st_mode)) return {false, S_ISDIR(existing.st_mode) ? EISDIR : EINVAL};
    // The rename would succeed in a writable folder, but a file the user may not write stays protected.
    if (access(path.c_str(), W_OK) != 0) return {false, errno};
    mode = existing.st_mode & PermissionBits;  // the replacement keeps the old file's permissions
  }

  const std::string folder = FolderOf(path);
  std::string pattern = folder + "/.vellora-save-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return {false, errno};
  const std::string temporary(name.data());

  auto fail = [&](int error, bool stillOpen) {
    if (stillOpen) close(fd);
    unlink(temporary.c_str());
    return FileWriteOutcome{false, error};
  };
  if (fchmod(fd, mode) != 0) return fail(errno, true);
  if (!WriteAll(fd, bytes)) return fail(errno, true);
  if (fsync(fd) != 0) return fail(errno, true);
  if (close(fd) != 0) return fail(errno, false);
  if (rename(temporary.c_str(), path.c_str()) != 0) return fail(errno, false);
  SyncFolder(folder);
  return {true, 0};
}
