// Replacing a file leaves either the old file or the whole new one, and reports failures.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "picture/atomic_file.h"
#include "picture/bmp_writer.h"
#include "test_files.h"

namespace {

TEST(AtomicFile, CreatesANewFile) {
  ScratchFolder folder;
  const std::string path = folder.File("new.bin");
  EXPECT_TRUE(ReplaceFileContents(path, "hello").ok);
  EXPECT_EQ(ReadWholeFile(path), "hello");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"new.bin"});
}

TEST(AtomicFile, ReplacesTheWholeContentAndKeepsPermissions) {
  ScratchFolder folder;
  const std::string path = folder.File("old.bin");
  WriteWholeFile(path, std::string(1000, 'x'));
  chmod(path.c_str(), 0640);
  EXPECT_TRUE(ReplaceFileContents(path, "short").ok);
  EXPECT_EQ(ReadWholeFile(path), "short");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(AtomicFile, SavingOverALinkReplacesTheFileItNames) {
  ScratchFolder folder;
  const std::string target = folder.File("real.bin"), link = folder.File("link.bin");
  WriteWholeFile(target, "old");
  ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
  EXPECT_TRUE(ReplaceFileContents(link, "new").ok);
  EXPECT_EQ(ReadWholeFile(target), "new");
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode)) << "the link stays a link";
}

TEST(AtomicFile, FolderThatDoesNotExistFails) {
  ScratchFolder folder;
  const auto outcome = ReplaceFileContents(folder.File("missing/pic.bmp"), "data");
  EXPECT_FALSE(outcome.ok);
  EXPECT_NE(outcome.error, 0);
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(AtomicFile, DirectoryInTheWayIsLeftAlone) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp");
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  WriteWholeFile(path + "/inside", "keep");
  EXPECT_FALSE(ReplaceFileContents(path, "data").ok);
  EXPECT_EQ(ReadWholeFile(path + "/inside"), "keep");
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pic.bmp"});
}

TEST(AtomicFile, EmptyPathFails) { EXPECT_FALSE(ReplaceFileContents("", "data").ok); }

// A write that fails half way (file size limit in a child process) leaves the old file byte for byte.
TEST(AtomicFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp");
  const std::string old = "the old picture, which must survive";
  WriteWholeFile(path, old);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead of killing the process
    struct rlimit limit {4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const auto outcome = WriteBmpFile(path, Raster(380, 380, White));
    _exit(outcome.ok ? 0 : (outcome.error == EFBIG ? 3 : 4));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3);
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pic.bmp"});
}

TEST(AtomicFile, SuccessfulBitmapSaveReplacesAnOlderOne) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp");
  WriteWholeFile(path, "older");
  ASSERT_TRUE(WriteBmpFile(path, Raster(380, 380, White)).ok);
  EXPECT_EQ(ReadWholeFile(path), EncodeBmp24(Raster(380, 380, White)));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pic.bmp"});
}

}  // namespace
