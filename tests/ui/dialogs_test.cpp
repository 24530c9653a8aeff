// The file dialogs, the colour chooser and the message box, answered as a user would.
#include <QAbstractButton>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include "ui_fixture.h"

namespace {

using DialogTest = UiTest;

const std::string ImageFilters = "Bitmap (*.bmp)|*.bmp|JPG (*.jpg)|*.jpg";

TEST_F(DialogTest, MessageBoxShowsTitleAndTextWithOneButton) {
  OpenMain();
  std::string title, text;
  int buttons = -1;
  WhenModalAppears([&buttons](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) buttons = static_cast<int>(box->buttons().size());
  });
  DismissNextMessageBox(&title, &text);
  UiMessageBox("About", "Vellora 1.0");
  EXPECT_EQ(title, "About");
  EXPECT_EQ(text, "Vellora 1.0");
  EXPECT_EQ(buttons, 1);
}

TEST_F(DialogTest, MessageBoxBlocksEveryOtherWindowUntilDismissed) {
  OpenMain();
  UiCreateControl(0, 6, ControlKind::Button, 0, 0, 50, 25);
  ASSERT_TRUE(UiOpenWindow(1, "Help", 200, 100));
  const int helpButton = UiCreateControl(1, -1, ControlKind::Button, 0, 0, 50, 25);
  PumpEvents();

  std::size_t eventsWhileShown = 99;
  bool modalForApplication = false;
  WhenModalAppears([&](QWidget* modal) {
    modalForApplication = modal->windowModality() == Qt::ApplicationModal;
    ClickControl(6);
    ClickControl(helpButton);
    ClickCloseBox(0);
    eventsWhileShown = PumpEvents().size();
    static_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
  });
  UiMessageBox("", "Something went wrong");
  EXPECT_TRUE(modalForApplication);
  EXPECT_EQ(eventsWhileShown, 0u);

  ClickControl(6);
  ClickControl(helpButton);
  EXPECT_EQ(PumpEvents().size(), 2u);
}

TEST_F(DialogTest, SaveDialogGivesThePathAndTheChosenFilter) {
  OpenMain();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const std::string path = QDir(folder.path()).filePath("picture").toStdString();
  QStringList filters;
  QString title;
  bool ownedByMain = false;
  bool confirmsOverwrite = true;
  WhenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    filters = dialog->nameFilters();
    title = dialog->windowTitle();
    ownedByMain = dialog->parentWidget() == UiWindowWidget(0);
    confirmsOverwrite = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    EXPECT_EQ(dialog->selectedNameFilter(), QString("Bitmap (*.bmp)"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
  });
  AnswerNextFileDialog(path, 1);
  const FileChoice choice = UiFileDialog(true, "Save", ImageFilters);
  EXPECT_EQ(choice.path, path);
  EXPECT_EQ(choice.filterIndex, 1);
  EXPECT_EQ(filters, (QStringList{"Bitmap (*.bmp)", "JPG (*.jpg)"}));
  EXPECT_EQ(title, QString("Save"));
  EXPECT_TRUE(ownedByMain);
  EXPECT_FALSE(confirmsOverwrite);
}

TEST_F(DialogTest, SaveDialogTakesAnExistingFileWithoutAsking) {
  OpenMain();
  QTemporaryDir folder;
  const QString existing = QDir(folder.path()).filePath("old.bmp");
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  AnswerNextFileDialog(existing.toStdString(), 0);
  const FileChoice choice = UiFileDialog(true, "Save", ImageFilters);
  EXPECT_EQ(choice.path, existing.toStdString());
  EXPECT_EQ(choice.filterIndex, 0);
}

TEST_F(DialogTest, CancelGivesAnEmptyPathAndNoFilter) {
  OpenMain();
  for (bool save : {true, false}) {
    CancelNextDialog();
    const FileChoice choice = UiFileDialog(save, save ? "Save" : "Load", ImageFilters);
    EXPECT_EQ(choice.path, "") << save;
    EXPECT_EQ(choice.filterIndex, -1) << save;
  }
}

TEST_F(DialogTest, SaveDialogRefusesAFolderThatDoesNotExist) {
  OpenMain();
  QTemporaryDir folder;
  const std::string missing = QDir(folder.path()).filePath("no such folder/picture.bmp").toStdString();
  bool warned = false;
  bool stillOpen = false;
  WhenModalAppears([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!dialog) return;
    WhenModalAppears([&warned](QWidget* warning) {
      warned = qobject_cast<QMessageBox*>(warning) != nullptr;
      if (warned) static_cast<QMessageBox*>(warning)->button(QMessageBox::Ok)->click();
    });
    dialog->selectFile(QString::fromStdString(missing));
    static_cast<QDialog*>(dialog)->accept();
    stillOpen = dialog->isVisible();
    dialog->reject();
  });
  const FileChoice choice = UiFileDialog(true, "Save", ImageFilters);
  EXPECT_TRUE(warned);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(choice.filterIndex, -1);
}

TEST_F(DialogTest, OpenDialogWantsAnExistingFileAndLeavesTheCurrentFolder) {
  OpenMain();
  QTemporaryDir folder;
  const QString existing = QDir(folder.path()).filePath("picture.jpg");
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  const QString before = QDir::currentPath();
  QFileDialog::FileMode mode = QFileDialog::AnyFile;
  WhenModalAppears([&mode](QWidget* modal) {
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) mode = dialog->fileMode();
  });
  AnswerNextFileDialog(existing.toStdString(), 1);
  const FileChoice choice = UiFileDialog(false, "Load", ImageFilters);
  EXPECT_EQ(mode, QFileDialog::ExistingFile);
  EXPECT_EQ(choice.path, existing.toStdString());
  EXPECT_EQ(choice.filterIndex, 1);
  EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(DialogTest, LabelsWithoutPatternsGetThemAdded) {
  OpenMain();
  QStringList filters;
  WhenModalAppears([&filters](QWidget* modal) {
    if (auto* dialog = qobject_cast<QFileDialog*>(modal)) filters = dialog->nameFilters();
  });
  CancelNextDialog();
  UiFileDialog(false, "Load", "Pictures|*.bmp;*.jpg|All|*");
  EXPECT_EQ(filters, (QStringList{"Pictures (*.bmp *.jpg)", "All (*)"}));
}

TEST_F(DialogTest, ColourChooserStartsAtTheColourAndGivesTheChoice) {
  OpenMain();
  QColor preselected;
  WhenModalAppears([&preselected](QWidget* modal) {
    if (auto* dialog = qobject_cast<QColorDialog*>(modal)) preselected = dialog->currentColor();
  });
  AnswerNextColourDialog(MakeColour(0x10, 0x20, 0x30));
  const std::int64_t chosen = UiChooseColour(MakeColour(0xFF, 0x80, 0x00));
  EXPECT_EQ(preselected, QColor(0xFF, 0x80, 0x00));
  EXPECT_EQ(chosen, 0x302010);
}

TEST_F(DialogTest, ColourChooserCancelledGivesMinusOne) {
  OpenMain();
  CancelNextDialog();
  EXPECT_EQ(UiChooseColour(White), -1);
}

}  // namespace
