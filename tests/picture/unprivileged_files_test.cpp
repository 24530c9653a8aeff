// Files the user may not write, checked in a child process that gives up root (tests run as root).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "picture/atomic_file.h"
#include "picture/settings_store.h"
#include "test_files.h"

namespace {

constexpr uid_t Nobody = 65534;

// Runs body as user nobody in a child; the child's exit code is body's result (0 pass), 99 when the
// user cannot be changed.
int AsNobody(const std::function<int()>& body) {
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(Nobody) != 0 || setuid(Nobody) != 0) _exit(99);
    _exit(body());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

// A folder anyone may write, holding a read-only file of root's.
struct ProtectedFile {
  ScratchFolder folder;
  std::string path = folder.File("pic.bmp");
  std::string content = "protected";
  ProtectedFile() {
    chmod(folder.Path().c_str(), 0777);
    WriteWholeFile(path, content);
    chmod(path.c_str(), 0444);
  }
};

TEST(UnprivilegedFiles, ReadOnlyFileIsNotReplacedEvenInAWritableFolder) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to change to another user";
  ProtectedFile file;
  const int result = AsNobody([&] { return ReplaceFileContents(file.path, "new").ok ? 1 : 0; });
  ASSERT_NE(result, 99);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadWholeFile(file.path), file.content);
  EXPECT_EQ(file.folder.Entries(), std::vector<std::string>{"pic.bmp"});
}

TEST(UnprivilegedFiles, SettingsFileOpenedForReadingOnlyIsNeverWritten) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to change to another user";
  ProtectedFile file;
  file.content = "SampleRate = 4000\r\n";
  chmod(file.path.c_str(), 0644);
  WriteWholeFile(file.path, file.content);
  chmod(file.path.c_str(), 0444);
  const int result = AsNobody([&] {
    if (OpenSettings(file.path) == 0) return 2;                // it exists and can be read
    if (ReadSettingInt("SampleRate", 0) != 4000) return 3;
    WriteSettingInt("SampleRate", 8000);
    return CloseSettings() ? 0 : 4;                            // nothing to write is no failure
  });
  ASSERT_NE(result, 99);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadWholeFile(file.path), file.content);
}

TEST(UnprivilegedFiles, WritableFileIsReplacedAsUsual) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to change to another user";
  ProtectedFile file;
  chmod(file.path.c_str(), 0666);
  const int result = AsNobody([&] { return ReplaceFileContents(file.path, "new").ok ? 0 : 1; });
  ASSERT_NE(result, 99);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadWholeFile(file.path), "new");
}

}  // namespace
