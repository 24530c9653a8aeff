// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a user drives it: each command wired to its control and to the core's results.
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QTextEdit>
#include <QWindow>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include "picture/picture_transform.h"
#include "picture/raster_ops.h"
#include "picture/surface.h"
#include "support/ui_driver.h"

namespace {

namespace fs = std::filesystem;
using Window = AppTest;

TEST_F(Window, StartsWithTheStartValuesAndTheMenus) {
  EXPECT_EQ(UiWindowWidget(MainWindow)->windowTitle(), "Vellora");
  for (int setting = 0; setting < SoundSettingCount; ++setting)
    EXPECT_EQ(UiGetState(SettingControl(setting)), SoundSettingRanges[setting].start) << setting;
  EXPECT_EQ(std::tuple(UiGetState(RepeatCheckbox), UiGetState(BrushToggle), UiGetState(LineToggle)),
            std::tuple(0, 1, 0));
  QStringList menus;
  for (QAction* title : UiWindowWidget(MainWindow)->findChild<QMenuBar*>()->actions())
    for (QAction* item : title->menu()->actions()) menus << title->text() + "/" + item->text();
  EXPECT_EQ(menus.join("|"), "File/Import Sound...|File/Import MIDI...|File/Export Sound...|File/Export MIDI...|File/Exit|?/About|?/Help");
}

TEST_F(Window, BrushPaintsDiscsInTheChosenColourOnlyWhileTheLeftButtonIsHeld) {
  AnswerColourDialog(MakeColour(200, 40, 90));
  Click(ColorButton);
  AnswerColourDialog(std::nullopt);  // a cancel keeps the colour
  Click(ColorButton);
  const QImage swatch = UiWidget(ColorButton)->grab().toImage();
  EXPECT_EQ(swatch.pixelColor(swatch.rect().center()), QColor(200, 40, 90));
  SetByUser(BrushSizeSpin, 11);
  Drag(PaintCanvas, {{100, 100}, {150, 60}});
  MouseOn(PaintCanvas, MouseStep::Move, {250, 250}), Pump();  // no button held
  Raster expected(CanvasSize, CanvasSize);
  FillCircleOn(expected, 100, 100, 11, MakeColour(200, 40, 90));
  FillCircleOn(expected, 150, 60, 11, MakeColour(200, 40, 90));
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

TEST_F(Window, LineFollowsThePointerOverThePictureAndEachPressStartsAnother) {
  Drag(PaintCanvas, {{200, 100}});
  Raster expected = CanvasOf(PaintCanvas);
  Click(LineToggle);
  Drag(PaintCanvas, {{10, 10}, {200, 50}, {50, 300}});
  Drag(PaintCanvas, {{300, 20}});
  DrawLineOn(expected, 10, 10, 50, 300, BrushColor);
  expected.At(300, 20) = BrushColor;
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

// Once the second press of a double click reached the program as something other than a press.
TEST_F(Window, DoubleClickTakesANewSnapshotAndLineStart) {
  Drag(PaintCanvas, {{50, 50}});
  Raster expected = CanvasOf(PaintCanvas);
  FillCircleOn(expected, 300, 250, 8, White);
  MouseOn(PaintCanvas, MouseStep::DoubleClick, {300, 250}), Pump();
  const Raster* snapshot = ImageHandle(CanvasImage);
  ASSERT_TRUE(snapshot);
  EXPECT_EQ(std::tuple(*snapshot, LineStartX, LineStartY), std::tuple(expected, 300, 250));
}

TEST_F(Window, ScanCursorIsOneWhiteColumnOverTheSnapshotAndPastTheRightEdgeOnlyRestores) {
  Drag(PaintCanvas, {{20, 30}});
  Drag(PaintCanvas, {{200, 100}});  // this press keeps the disc at (20, 30) as the snapshot
  Raster expected = *ImageHandle(CanvasImage);
  for (int y = 0; y < CanvasSize; ++y) expected.At(17, y) = White;
  DrawScanCursor(17);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
  DrawScanCursor(CanvasSize);
  EXPECT_EQ(CanvasOf(PaintCanvas), *ImageHandle(CanvasImage));
}

TEST_F(Window, RotateTurnsThePictureAndUnticksRepeatAndClearBlackensIt) {
  Drag(PaintCanvas, {{10, 20}});
  const Raster snapshot = CanvasOf(PaintCanvas);  // what the next press keeps for the rubber band
  Drag(PaintCanvas, {{100, 300}});
  const Raster before = CanvasOf(PaintCanvas);
  Click(RepeatCheckbox);
  ASSERT_EQ(RepeatFlag, 1);
  Click(RotateButton);
  EXPECT_EQ(CanvasOf(PaintCanvas), RotatedClockwise(before));
  EXPECT_EQ(std::pair(RepeatFlag, UiGetState(RepeatCheckbox)), std::pair(0, 0));
  Click(ClearButton);
  EXPECT_EQ(CanvasOf(PaintCanvas), Raster(CanvasSize, CanvasSize));
  EXPECT_EQ(*ImageHandle(CanvasImage), snapshot) << "the snapshot of the last press stays as it was";
}

TEST_F(Window, FromAndToHoldEachOtherAndRateAndDurationSetTheSampleCount) {
  const int steps[][4] = {{FrqToSlider, 1000, 90, 1000},   {FrqFromSlider, 1400, 1000, 1000},
                          {FrqToSlider, 1100, 1000, 1100}, {FrqToSlider, 500, 1000, 1000},
                          {FrqFromSlider, 300, 300, 1000}, {FrqToSlider, 200, 300, 300}};
  for (auto [control, movedTo, from, to] : steps) {
    SetByUser(control, movedTo);
    EXPECT_EQ(std::pair(UiGetState(FrqFromSlider), UiGetState(FrqToSlider)), std::pair(from, to)) << movedTo;
    EXPECT_EQ(std::pair(SynthSettings.FrqFrom, SynthSettings.FrqTo), std::pair(from, to)) << movedTo;
  }
  SetByUser(SampleRateSlider, 22050);
  SetByUser(SoundDurationSlider, 1001);
  EXPECT_EQ(SynthSettings.SampleCount, 22072);
}

TEST_F(Window, DistributionBoxDrawsThePreviewAndUntickedSlidersDrawNothing) {
  const Raster black(CanvasOf(DistributionPreview).width, CanvasOf(DistributionPreview).height);
  SetByUser(DistASlider, 1);
  EXPECT_EQ(std::pair(SynthSettings.DistA, CanvasOf(DistributionPreview)), std::pair(0.01f, black));
  Click(DistributionCheckbox);
  EXPECT_NE(CanvasOf(DistributionPreview), black);
  Click(DistributionCheckbox);
  EXPECT_EQ(CanvasOf(DistributionPreview), black);
}

TEST_F(Window, BandCurveCountsAsEditedOnceAPressOnAPointIsReleased) {
  for (bool drag : {false, true}) {
    SynthSettings.BandCurveEdited = 0;
    MouseOn(BandLevelEditorNumber, MouseStep::Press, {66, 35});
    if (drag) MouseOn(BandLevelEditorNumber, MouseStep::Move, {66, 10});
    Pump();
    EXPECT_EQ(SynthSettings.BandCurveEdited, 0) << drag;
    MouseOn(BandLevelEditorNumber, MouseStep::Release, {66, drag ? 10 : 35}), Pump();
    EXPECT_EQ(SynthSettings.BandCurveEdited, 1) << drag;
  }
}

// A drag off the paint canvas or the preview keeps the pointer on their edge; off the band level editor the pointer
// goes where it is moved (the editor once held it too) and the held point follows along the editor's edge.
TEST_F(Window, OnlyThePaintCanvasAndThePreviewHoldThePointer) {
  const std::pair<int, bool> holding[] = {{PaintCanvas, true}, {DistributionPreview, true}, {BandLevelEditorNumber, 0}};
  for (auto [control, confined] : holding) {
    const QPoint before = QCursor::pos();
    MouseOn(control, MouseStep::Press, {66, 35}), MouseOn(control, MouseStep::Move, {66, -40}), Pump();
    EXPECT_EQ(QCursor::pos(), confined ? UiWidget(control)->mapToGlobal(QPoint(66, 0)) : before) << control;
    MouseOn(control, MouseStep::Release, {66, -40}), Pump();
  }
  EXPECT_EQ(FindBandLevelEditor(BandLevelEditorNumber)->points[3], (BandPoint{66, 0}));
}

TEST_F(Window, LoadRestoresWhatSaveWroteAndASaveThatFailsSaysSo) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("vellora-window-" + std::to_string(getpid()));
  fs::create_directories(folder / "gone");
  Drag(PaintCanvas, {{40, 60}, {300, 200}});
  SetByUser(SampleRateSlider, 8000);
  const Raster picture = CanvasOf(PaintCanvas);
  AnswerFileDialog((folder / "pic").string());
  Click(SaveButton);
  // A name that does not exist (any more) is taken: the canvas keeps its picture, the settings beside it are read.
  for (bool gone : {false, true}) {
    if (gone) fs::remove(folder / "pic.bmp");
    Click(ClearButton), SetByUser(SampleRateSlider, 4000), Click(RepeatCheckbox);
    AnswerFileDialog((folder / "pic.bmp").string());
    Click(LoadButton);
    EXPECT_EQ(CanvasOf(PaintCanvas), gone ? Raster(CanvasSize, CanvasSize) : picture) << gone;
    EXPECT_EQ(std::tuple(UiGetState(SampleRateSlider), SynthSettings.SampleRate, RepeatFlag,
                         UiGetState(RepeatCheckbox)), std::tuple(8000, 8000, 0, 0)) << gone;
  }
  std::string title, text;
  AnswerFileDialog((folder / "gone/pic.bmp").string(), [&] { fs::remove(folder / "gone"); });
  DismissMessageBox(&title, &text);
  Click(SaveButton);
  fs::remove_all(folder);
  EXPECT_EQ(title + "|" + text.substr(0, text.find(" (")),
            "Save|The picture could not be saved as " + (folder / "gone/pic.bmp").string());
}

// A sound file that ends before the frames it claims, and a name with no file: the name and why, and the picture,
// settings and Repeat stay.
TEST_F(Window, ImportOfABrokenSoundSaysWhyAndChangesNothing) {
  const std::string file = ::testing::TempDir() + "vellora-cut-" + std::to_string(getpid()) + ".wav";
  const char header[] = "RIFF\x24\x10\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x80\x3e\0\0\x02\0\x10\0data\0\x10\0\0";
  std::ofstream(file, std::ios::binary) << std::string(header, sizeof header - 1) << std::string(64, '\x11');
  Drag(PaintCanvas, {{100, 100}});
  Click(RepeatCheckbox);
  const Raster picture = CanvasOf(PaintCanvas);
  for (const std::string& name : {file, file + ".none"}) {
    std::string title, text;
    AnswerFileDialog(name);
    DismissMessageBox(&title, &text);
    Menu("File", "Import Sound...");
    EXPECT_EQ(title, "Import Sound");
    EXPECT_EQ(text.rfind("Could not import " + name + ": ", 0), 0u) << text;
    EXPECT_EQ(CanvasOf(PaintCanvas), picture);
    EXPECT_EQ(std::tuple(UiGetState(RepeatCheckbox), UiGetState(SoundDurationSlider), UiGetState(SampleRateSlider)),
              std::tuple(1, 5000, 3000));
  }
  fs::remove(file);
}

TEST_F(Window, MenuItemsDoWhatTheySay) {
  std::string title, text;
  DismissMessageBox(nullptr, &text);
  Menu("File", "Export Sound...");
  EXPECT_EQ(text, "Press Synthesize first: there is no sound to export yet.");
  DismissMessageBox(&title, &text);
  Menu("?", "About");
  EXPECT_EQ(title + "|" + text, "About Vellora|Vellora 1.0\nPaint a picture and hear it.");
  // The help text: an empty first line, then one line for each piece, all but the first ending in "\r".
  const QStringList lines = QString::fromStdString(BuildHelpText()).split('\n');
  ASSERT_EQ(lines.size(), 23);  // the 17 pieces of the controls, then Import Sound, Import MIDI, Export MIDI,
                                // Export Sound and the readout line
  EXPECT_EQ(lines[0], "");
  EXPECT_TRUE(lines[1].startsWith("Draw in black canvas area") && !lines[1].contains('\r'));
  for (int i : {0, 1, 2, 3, 4})
    EXPECT_TRUE(lines[18 + i].startsWith(std::array{"*Import Sound", "*Import MIDI", "*Export MIDI", "*Export Sound", "*Readout"}[i]));
  for (int i = 2; i < lines.size(); ++i) EXPECT_TRUE(lines[i].endsWith('\r')) << lines[i].toStdString();
  Menu("?", "Help");
  EXPECT_EQ(UiWindowWidget(HelpWindow)->findChild<QTextEdit*>()->toPlainText(), lines.join('\n').remove('\r'));
  EXPECT_EQ(QuitFlag, 0);
  Menu("File", "Exit");
  EXPECT_EQ(QuitFlag, 1);
  QuitFlag = 0;
  UiWindowWidget(MainWindow)->windowHandle()->close();  // the close box
  Pump();
  EXPECT_EQ(QuitFlag, 1);
}

TEST(WithoutDisplay, TheProgramEndsQuietlyWithStatusZero) {
  const std::string printed = ::testing::TempDir() + "vellora-without-display.txt";
  const std::string command = std::string("env -i PATH=/usr/bin:/bin DISPLAY=:97 timeout 60 ") + VELLORA_PROGRAM_PATH;
  const int status = std::system((command + " >" + printed + " 2>&1").c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::ifstream output(printed);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(output), {}), "");
}

}  // namespace
