// The open settings file: creating, keeping foreign lines, never writing read-only or unchanged files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "picture/settings_store.h"
#include "test_files.h"

namespace {

TEST(SettingsStore, MissingFileOpensEmptyAndIsCreatedOnClose) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp.vlr");
  EXPECT_EQ(OpenSettings(path), 0);
  EXPECT_EQ(ReadSettingInt("SampleRate", 3000), 3000);
  WriteSettingInt("SampleRate", 8000);
  WriteSettingInt("Negative", -12);
  WriteSettingText("Text", "4,5");
  EXPECT_EQ(ReadSettingInt("samplerate", 3000), 8000);
  EXPECT_TRUE(CloseSettings());
  EXPECT_EQ(ReadWholeFile(path), "SampleRate = 8000\r\nNegative = -12\r\nText = 4,5\r\n");
}

TEST(SettingsStore, MissingFileNotWrittenStaysMissing) {
  ScratchFolder folder;
  EXPECT_EQ(OpenSettings(folder.File("x.vlr")), 0);
  ReadSettingInt("SampleRate", 1);
  EXPECT_TRUE(CloseSettings());
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(SettingsStore, SavingKeepsCommentsAndForeignKeysInPlace) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp.vlr");
  WriteWholeFile(path, "; my notes\nSampleRate=4000\nForeign = keep\n[Other]\nSampleRate = 1\n");
  EXPECT_NE(OpenSettings(path), 0);
  WriteSettingInt("SampleRate", 8000);
  WriteSettingInt("FrqTo", 9000);
  CloseSettings();
  EXPECT_EQ(ReadWholeFile(path),
            "; my notes\r\nSampleRate = 8000\r\nForeign = keep\r\nFrqTo = 9000\r\n[Other]\r\nSampleRate = 1\r\n");
}

TEST(SettingsStore, ReadingNeverRewritesTheFile) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp.vlr");
  const std::string content = "samplerate=8000\rFrqTo =\r";
  WriteWholeFile(path, content);
  AgeFile(path);
  ASSERT_NE(OpenSettings(path), 0);
  EXPECT_EQ(ReadSettingInt("SampleRate", 3000), 8000);
  EXPECT_EQ(ReadSettingInt("FrqTo", 9000), 0);  // present but empty: 0, not the default
  EXPECT_EQ(ReadSettingText("FrqTo", "d"), "");
  EXPECT_EQ(ReadSettingText("Missing", "0,0"), "0,0");
  CloseSettings();
  EXPECT_EQ(ReadWholeFile(path), content);
  EXPECT_EQ(ModifiedSeconds(path), 1000000000);
}

TEST(SettingsStore, ReadOnlyFileIsNeverWritten) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp.vlr");
  const std::string content = "SampleRate = 4000\r\n";
  WriteWholeFile(path, content);
  AgeFile(path);
  // Running as root, no permission makes a file unopenable for writing; the store is told so directly.
  EXPECT_EQ(OpenSettingsStore(StoreForContent(path, content, true)), 1);
  EXPECT_EQ(ReadSettingInt("SampleRate", 0), 4000);
  WriteSettingInt("SampleRate", 8000);
  EXPECT_EQ(ReadSettingInt("SampleRate", 0), 8000);
  EXPECT_TRUE(CloseSettings());
  EXPECT_EQ(ReadWholeFile(path), content);
  EXPECT_EQ(ModifiedSeconds(path), 1000000000);
}

TEST(SettingsStore, FileThatOnlyOpensForReadingIsReadOnly) {
  // procfs refuses writing even to root.
  const auto store = LoadSettingsStore("/proc/self/cmdline");
  EXPECT_TRUE(store.readOnly);
}

TEST(SettingsStore, FolderInTheWayIsNoFileAndIsNotReplaced) {
  ScratchFolder folder;
  const std::string path = folder.File("pic.bmp.vlr");
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  EXPECT_EQ(OpenSettings(path), 0);
  WriteSettingInt("SampleRate", 8000);
  CloseSettings();
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"pic.bmp.vlr"});
}

TEST(SettingsStore, OversizedFileIsNotReadNorReplaced) {
  ScratchFolder folder;
  const std::string path = folder.File("big.vlr");
  const std::string content = "SampleRate = 8000\r\n" + std::string(MaxSettingsFileBytes, ';');
  WriteWholeFile(path, content);
  EXPECT_EQ(OpenSettings(path), 0);
  EXPECT_EQ(ReadSettingInt("SampleRate", 3000), 3000);
  WriteSettingInt("SampleRate", 1);
  CloseSettings();
  EXPECT_EQ(ReadWholeFile(path), content);
}

TEST(SettingsStore, FailedWriteReportsAndLeavesNothing) {
  ScratchFolder folder;
  EXPECT_EQ(OpenSettings(folder.File("no/such/folder.vlr")), 0);
  WriteSettingInt("A", 1);
  EXPECT_FALSE(CloseSettings());
  EXPECT_TRUE(folder.Entries().empty());
}

TEST(SettingsStore, Utf8FileKeepsItsMarkWhenWritten) {
  ScratchFolder folder;
  const std::string path = folder.File("u.vlr");
  WriteWholeFile(path, "\xEF\xBB\xBFName = Jos\xC3\xA9\nSampleRate = 1\n");
  ASSERT_NE(OpenSettings(path), 0);
  EXPECT_EQ(ReadSettingText("name", ""), "Jos\xE9");
  WriteSettingInt("SampleRate", 8000);
  CloseSettings();
  EXPECT_EQ(ReadWholeFile(path), "\xEF\xBB\xBF\r\nName = Jos\xC3\xA9\r\nSampleRate = 8000\r\n");
}

TEST(SettingsStore, OpeningAnotherFileClosesTheFirst) {
  ScratchFolder folder;
  OpenSettings(folder.File("one.vlr"));
  WriteSettingInt("A", 1);
  EXPECT_EQ(OpenSettings(folder.File("two.vlr")), 0);
  EXPECT_EQ(ReadSettingInt("A", 5), 5);
  CloseSettings();
  EXPECT_EQ(ReadWholeFile(folder.File("one.vlr")), "A = 1\r\n");
  EXPECT_FALSE(ReadWholeFile(folder.File("two.vlr")));
}

TEST(SettingsStore, NothingOpenReadsDefaultsAndIgnoresWrites) {
  WriteSettingInt("A", 1);
  EXPECT_EQ(ReadSettingInt("A", 9), 9);
  EXPECT_TRUE(CloseSettings());
}

}  // namespace
