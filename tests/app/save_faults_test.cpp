// Save through the real window when the disk lets it down: a file-size limit or a full file system part way
// through a file, a read-only settings file, a folder that is gone, a folder where the settings file goes.
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "app/control_ids.h"
#include "app/settings.h"
#include "picture/test_files.h"
#include "support/app_fixture.h"
#include "ui/ui.h"

namespace {

constexpr std::size_t SavedPictureBytes = 433254;

// Lowers the file-size limit of this process for its lifetime; a write past it fails with EFBIG instead
// of the process being killed by SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit lowered = previous_;
    lowered.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool Active() const { return active_; }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int) = SIG_DFL;
  bool active_ = false;
};

// Answers the Save dialog with path as a user types it, runs afterAccept once the dialog has taken it, and
// dismisses the message box that follows with its title and text kept.
void AnswerSaveThenDismissMessage(const std::string& path, std::string* title, std::string* text,
                                  std::function<void()> afterAccept = {}) {
  WhenModalAppears([=](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
      name->setText(QString::fromStdString(path));
    else
      dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();
    if (afterAccept) afterAccept();
    DismissNextMessageBox(title, text);
  });
}

class SaveFaults : public AppTest {
 protected:
  ScratchFolder folder;
  std::string picture = folder.File("pic.bmp");
  std::string settings = picture + ".vlr";

  void PaintAt(QPoint at) {
    Press(PaintCanvas, at);
    Release(PaintCanvas, at);
  }
  void Save(const std::string& path) {
    AnswerNextFileDialog(path, 0);
    Click(SaveButton);
  }
  // A Save that is expected to fail: the message box it shows is dismissed and its text returned.
  std::string FailingSave(const std::string& path, std::function<void()> afterAccept = {}) {
    std::string title = "none", text;
    AnswerSaveThenDismissMessage(path, &title, &text, std::move(afterAccept));
    Click(SaveButton);
    EXPECT_EQ(title, "Save");
    return text;
  }
  // A first good Save, then a changed picture and settings that a later Save would write.
  void SaveThenChangeEverything() {
    PaintAt({50, 50});
    Save(picture);
    ASSERT_EQ(ReadWholeFile(picture).value_or("").size(), SavedPictureBytes);
    ASSERT_TRUE(ReadWholeFile(settings).has_value());
    PaintAt({300, 300});
    MoveSliderTo(SampleRateSlider, 8000);
  }
  // The program still runs and saves once the disk behaves again.
  void ExpectASaveNowSucceeds(const std::string& earlierPicture) {
    EXPECT_EQ(QuitFlag, 0);
    Save(picture);
    const auto now = ReadWholeFile(picture);
    ASSERT_TRUE(now.has_value());
    EXPECT_EQ(now->size(), SavedPictureBytes);
    EXPECT_NE(*now, earlierPicture) << "the new picture is written";
    EXPECT_NE(ReadWholeFile(settings).value_or("").find("SampleRate = 8000"), std::string::npos);
  }
};

TEST_F(SaveFaults, FileSizeLimitHitWhileWritingThePictureKeepsBothEarlierFilesAndSaysSo) {
  SaveThenChangeEverything();
  const std::string oldPicture = *ReadWholeFile(picture);
  const std::string oldSettings = *ReadWholeFile(settings);
  std::string message;
  {
    FileSizeLimit limit(SavedPictureBytes / 4);
    ASSERT_TRUE(limit.Active());
    message = FailingSave(picture);
  }
  EXPECT_NE(message.find(picture), std::string::npos) << message;
  EXPECT_EQ(ReadWholeFile(picture), oldPicture);
  EXPECT_EQ(ReadWholeFile(settings), oldSettings) << "settings stay with the picture they belong to";
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"pic.bmp", "pic.bmp.vlr"})) << "no partial file is left";
  ExpectASaveNowSucceeds(oldPicture);
}

TEST_F(SaveFaults, FileSizeLimitHitWhileWritingTheSettingsKeepsTheEarlierSettingsAndSaysSo) {
  SaveThenChangeEverything();
  // Comments the store keeps make the settings file larger than the picture, so only it crosses the limit.
  std::string bulky = *ReadWholeFile(settings);
  while (bulky.size() < 2 * SavedPictureBytes) bulky += "; kept by hand, line after line of notes\r\n";
  WriteWholeFile(settings, bulky);
  const std::string oldPicture = *ReadWholeFile(picture);
  std::string message;
  {
    FileSizeLimit limit(SavedPictureBytes + SavedPictureBytes / 2);
    ASSERT_TRUE(limit.Active());
    message = FailingSave(picture);
  }
  EXPECT_NE(message.find(settings), std::string::npos) << message;
  EXPECT_EQ(ReadWholeFile(settings), bulky);
  EXPECT_NE(ReadWholeFile(picture), oldPicture) << "the picture itself was saved";
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"pic.bmp", "pic.bmp.vlr"}));
  EXPECT_EQ(QuitFlag, 0);
}

TEST_F(SaveFaults, FullFileSystemKeepsBothEarlierFiles) {
  // Room for one saved picture and its settings, not for a second picture beside them.
  const std::string disk = folder.File("disk");
  ASSERT_TRUE(std::filesystem::create_directory(disk));
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=600k") != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
  struct Unmount {
    std::string at;
    ~Unmount() { umount2(at.c_str(), MNT_DETACH); }
  } unmount{disk};
  picture = disk + "/pic.bmp";
  settings = picture + ".vlr";
  SaveThenChangeEverything();
  const std::string oldPicture = *ReadWholeFile(picture);
  const std::string oldSettings = *ReadWholeFile(settings);
  const std::string message = FailingSave(picture);
  EXPECT_NE(message.find(std::strerror(ENOSPC)), std::string::npos) << message;
  EXPECT_EQ(ReadWholeFile(picture), oldPicture);
  EXPECT_EQ(ReadWholeFile(settings), oldSettings);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk), {}), 2);
  EXPECT_EQ(QuitFlag, 0);
}

// The settings file is made immutable: unlike a missing write permission, that holds for root too.
TEST_F(SaveFaults, ReadOnlySettingsFileIsNeverWritten) {
  SaveThenChangeEverything();
  const std::string oldSettings = *ReadWholeFile(settings);
  const int fd = open(settings.c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  int flags = 0;
  const bool immutable = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0 && ((flags |= FS_IMMUTABLE_FL), true) &&
                         ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  if (!immutable) {
    close(fd);
    GTEST_SKIP() << "this file system cannot make a file immutable";
  }
  Save(picture);
  EXPECT_EQ(ReadWholeFile(settings), oldSettings);
  EXPECT_EQ(ReadWholeFile(picture).value_or("").size(), SavedPictureBytes) << "the picture is still saved";
  flags &= ~FS_IMMUTABLE_FL;
  ioctl(fd, FS_IOC_SETFLAGS, &flags);
  close(fd);
  EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"pic.bmp", "pic.bmp.vlr"}));
  EXPECT_EQ(QuitFlag, 0);
}

TEST_F(SaveFaults, FolderThatVanishedAfterTheChoiceGetsNothingAndTheProgramGoesOn) {
  const std::string gone = folder.File("gone");
  ASSERT_TRUE(std::filesystem::create_directory(gone));
  PaintAt({50, 50});
  MoveSliderTo(SampleRateSlider, 8000);
  const std::string message = FailingSave(gone + "/pic.bmp", [gone] { std::filesystem::remove_all(gone); });
  EXPECT_NE(message.find(std::strerror(ENOENT)), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(gone));
  EXPECT_TRUE(folder.Entries().empty());
  ExpectASaveNowSucceeds("");
}

TEST_F(SaveFaults, SettingsFileThatIsAFolderIsLeftAloneOnSaveAndLoad) {
  ASSERT_TRUE(std::filesystem::create_directory(settings));
  WriteWholeFile(settings + "/inside", "kept");
  PaintAt({50, 50});
  MoveSliderTo(SampleRateSlider, 8000);
  Save(picture);
  EXPECT_EQ(ReadWholeFile(picture).value_or("").size(), SavedPictureBytes);
  EXPECT_TRUE(std::filesystem::is_directory(settings));
  EXPECT_EQ(ReadWholeFile(settings + "/inside"), "kept");

  MoveSliderTo(SampleRateSlider, 4000);
  Click(ClearButton);
  AnswerNextFileDialog(picture, 0);
  Click(LoadButton);
  EXPECT_GT(LitCount(CanvasOf(PaintCanvas)), 0) << "the picture is loaded";
  EXPECT_EQ(UiGetState(SampleRateSlider), 4000) << "a folder holds no settings";
  EXPECT_EQ(QuitFlag, 0);
}

}  // namespace
