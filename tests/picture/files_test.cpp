// SPDX-License-Identifier: GPL-3.0-or-later
// Files on disk: whole-file reading and replacing, the settings store, and Load and Save of a document.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include "picture/document.h"
#include "picture/file_io.h"
#include "picture/image_file.h"

namespace fs = std::filesystem;
struct Folder {
  std::string path = [] { char name[] = "/tmp/vellora-test-XXXXXX"; return std::string(mkdtemp(name)); }();
  ~Folder() { fs::remove_all(path); }
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  std::size_t Entries() const { return std::distance(fs::directory_iterator(path), {}); }
};
static void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
static std::string Get(const std::string& path) { std::ifstream in(path); return {std::istreambuf_iterator<char>(in), {}}; }

TEST(FileIo, ReplacingKeepsPermissionsFollowsLinksRefusesFoldersAndReadingIsBounded) {
  Folder folder;
  Put(folder / "real", std::string(1000, 'x'));
  fs::permissions(folder / "real", fs::perms(0640));
  fs::create_symlink(folder / "real", folder / "link");
  fs::create_directory(folder / "dir");
  EXPECT_TRUE(ReplaceFileContents(folder / "link", "new").ok);
  EXPECT_EQ(std::tuple(Get(folder / "real"), fs::is_symlink(folder / "link"), fs::status(folder / "real").permissions()),
            std::tuple("new", true, fs::perms(0640)));
  for (const std::string& path : {folder / "dir", folder / "no/such", std::string()})
    EXPECT_FALSE(ReplaceFileContents(path, "x").ok) << path;
  EXPECT_EQ(folder.Entries(), 3u) << "no temporary file left";
  EXPECT_EQ(ReadFileBytes(folder / "real", 3).bytes, "new");
  for (auto [path, exists] : {std::pair{folder / "real", true}, {folder / "none", false}, {folder / "dir", true}})
    EXPECT_EQ(std::pair(!ReadFileBytes(path, 2).bytes, ReadFileBytes(path, 2).exists), std::pair(true, exists)) << path;
}
// Writes fail half way (a file size limit in a child process): the old file stays byte for byte, and a Save
// whose settings file cannot be written says which file failed after the picture was written.
TEST(ReplaceFileContents, AFailedWriteKeepsTheOldFile) {
  Folder folder;
  Put(folder / "pic.bmp", "the old picture");
  const std::string comments(5000, ';');
  Put(folder / "small.bmp.vlr", comments);
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead of ending the process
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    const FileWriteOutcome outcome = ReplaceFileContents(folder / "pic.bmp", std::string(100000, 'x'));
    // A small picture fits; its settings file, long with the user's own comments, does not.
    const SavedDocument saved = SaveDocument(folder / "small.bmp", Raster(2, 1), SettingsValues{});
    const bool settingsFailed = saved.pictureWritten && !saved.ok && saved.failedPath == folder / "small.bmp.vlr";
    _exit(outcome.ok ? 1 : outcome.error != EFBIG ? 2 : settingsFailed ? 0 : 3);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(std::tuple(status, Get(folder / "pic.bmp"), Get(folder / "small.bmp.vlr"), folder.Entries()),
            std::tuple(0, "the old picture", comments, 3u));
}
// Run as user nobody in a child (the tests run as root): a file the user may not write stays, even in a
// folder the user may write; one the user may write is replaced as usual.
TEST(ReplaceFileContents, AFileTheUserMayNotWriteIsNotReplacedEvenInAWritableFolder) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to change to another user";
  Folder folder;
  fs::permissions(folder.path, fs::perms::all);
  Put(folder / "theirs", "protected"), Put(folder / "shared", "old");
  fs::permissions(folder / "theirs", fs::perms(0444)), fs::permissions(folder / "shared", fs::perms(0666));
  const pid_t child = fork();
  if (child == 0) {
    constexpr uid_t nobody = 65534;
    if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(99);
    _exit(ReplaceFileContents(folder / "theirs", "new").ok ? 1 : ReplaceFileContents(folder / "shared", "new").ok ? 0 : 2);
  }
  int status = -1;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(std::tuple(status, Get(folder / "theirs"), Get(folder / "shared"), folder.Entries()),
            std::tuple(0, "protected", "new", 2u));
}
TEST(SettingsStore, WritesOnlyWhatChangedAndNeverWhatItMayNotReplace) {
  Folder folder;
  const std::string content = "SampleRate = 4000\r\n";
  Put(folder / "read-only", content), Put(folder / "unchanged", content);
  Put(folder / "oversized", content + std::string(MaxSettingsFileBytes, ';'));
  fs::create_directory(folder / "dir");
  for (const char* name : {"read-only", "unchanged", "oversized"}) fs::last_write_time(folder / name, {});
  SettingsStore stores[] = {StoreForContent(folder / "read-only", content, true), OpenSettings(folder / "unchanged"),
                            OpenSettings(folder / "oversized"), OpenSettings(folder / "dir")};
  for (SettingsStore& store : stores) {
    EXPECT_EQ(ReadSettingInt(store, "samplerate", 1), store.exists ? 4000 : 1) << store.name;
    if (&store != &stores[1]) WriteSettingInt(store, "SampleRate", 8000);
    EXPECT_TRUE(CloseSettings(store));
  }
  for (const char* name : {"read-only", "unchanged", "oversized"})
    EXPECT_EQ(fs::last_write_time(folder / name), fs::file_time_type{}) << name;
  EXPECT_TRUE(fs::is_directory(folder / "dir") && OpenSettings("/proc/self/cmdline").readOnly);  // procfs: read-only even to root
  SettingsStore lost = OpenSettings(folder / "no/such.vlr");
  WriteSettingInt(lost, "A", 1);
  EXPECT_FALSE(CloseSettings(lost));
}
TEST(NameWithSaveExtension, AppendsTheFiltersExtensionUnlessTheNameEndsInExactlyThat) {
  const std::tuple<const char*, int, const char*> cases[] = {{"pic", 0, "pic.bmp"}, {"pic.bmp", 0, "pic.bmp"},
      {"PIC.BMP", 0, "PIC.BMP.bmp"}, {"pic", 1, "pic.jpg"}, {"pic.jpg", 1, "pic.jpg"}, {"pic.bmp", 1, "pic.bmp.jpg"},
      {"pic.jpg", 0, "pic.jpg.bmp"}, {"pic", 5, "pic.jpg"}, {".bmp", 0, ".bmp"}, {"a.bmp.old", 0, "a.bmp.old.bmp"}};
  for (auto [name, filter, saved] : cases) EXPECT_EQ(NameWithSaveExtension(name, filter), saved) << name << " " << filter;
}
TEST(Document, SaveKeepsTheSettingsFilesOtherLinesAndLoadReadsEachPartWhetherOrNotTheOtherCouldBe) {
  Folder folder;
  Raster picture(2, 1);
  picture.pixels = {MakeColour(200, 0, 0), MakeColour(0, 0, 100)};
  SettingsValues values{.bandPoints = std::vector<StoredBandPoint>(8, {4, 5})};
  values.integers[SampleRateSetting] = 11025;
  const std::string old = "; my sound\r\nSampleRate = 4000\r\nMood = calm\r\n";
  Put(folder / "pic.bmp.vlr", old), Put(folder / "notes.bmp", "not a picture");
  ASSERT_TRUE(SaveDocument(folder / "pic.bmp", picture, values).ok);
  const std::string settings = Get(folder / "pic.bmp.vlr");  // the file's other lines stay where they were
  EXPECT_TRUE(settings.starts_with("; my sound\r\nSampleRate = 11025\r\nMood = calm\r\nSoundDuration = 5000\r\n") &&
              settings.ends_with("FrqBandP8 = 4,5\r\n") && std::ranges::count(settings, '\n') == 3 + 8 + 8) << settings;
  for (auto [image, reason] : {std::pair{"notes.bmp", "not a BMP or JPEG picture Vellora can read"}, {"none", "no such file"}}) {
    const LoadedDocument document = LoadDocument(folder / image, folder / "pic.bmp.vlr");
    EXPECT_EQ(std::tuple(document.picture.has_value(), document.pictureError, document.settings.has_value()),
              std::tuple(false, std::string(reason), true));
  }
}
