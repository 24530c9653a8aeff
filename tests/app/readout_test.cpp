// SPDX-License-Identifier: GPL-3.0-or-later
// The readout line under the canvas driven through the real window: what it shows for the canvas, the sliders
// and the band level editor, that pointing at things changes nothing else, and how long a message stays.
#include <QLabel>

#include <filesystem>

#include "sound/readout_text.h"
#include "sound/sound_file.h"
#include "support/ui_driver.h"

namespace {

using Readout = AppTest;

std::string Shown() { return static_cast<QLabel*>(UiWidget(ReadoutLabel))->text().toStdString(); }
// Client (395, 393) lies between the canvas, the buttons and the readout line: on no control.
void MoveOffControls() { MouseOn(PaintCanvas, MouseStep::Move, {385, 383}), Pump(); }

// Over each thing and off it again; then the focus is where it was.
TEST_F(Readout, PointingShowsWhatIsUnderThePointerLeavingClearsItAndTheFocusStays) {
  Click(RepeatCheckbox);
  QWidget* focused = UiWindowWidget(MainWindow)->focusWidget();
  ASSERT_EQ(focused, UiWidget(RepeatCheckbox));
  const struct { int control; QPoint at; std::string shown; } cases[] = {
      {PaintCanvas, {58, 200}, CanvasReadoutText(58, 200, StartSynthSettings())},
      {SampleRateSlider, {90, 10}, "Sample Rate 3000 Hz"},
      {FrqFromSlider, {10, 40}, "Frq From 90 Hz"},
      {BandLevelEditorNumber, {80, 35}, "row 190 \u00B7 level 0.50 \u00B7 curve 0.50 not in use until edited"}};
  for (const auto& [control, at, shown] : cases) {
    MouseOn(control, MouseStep::Move, at), Pump();
    EXPECT_EQ(Shown(), shown) << control;
    MoveOffControls();
    EXPECT_EQ(Shown(), "") << control;
  }
  Click(ReadoutLabel);
  EXPECT_EQ(UiWindowWidget(MainWindow)->focusWidget(), focused);
}

// The Import message stays whatever the pointer crosses until the next command, a click or a menu item (it once
// gave way to the next move); then the canvas is shown with the settings of the moment, the imported ones.
TEST_F(Readout, ImportMessageStaysUntilTheNextCommand) {
  const std::string file = ::testing::TempDir() + "vellora-readout-" + std::to_string(getpid()) + ".wav";
  ASSERT_TRUE(WriteSoundFile(file, std::vector<float>(8000, 0.5f), 8000, SoundFileFormat::FloatWav).ok);
  for (bool byMenu : {false, true}) {
    AnswerFileDialog(file), AnswerImportDialog(ImportChoice{}, true), Menu("File", "Import Sound...");
    const std::string message = Shown();
    EXPECT_EQ(message, "Imported " + file.substr(file.rfind('/') + 1) + ": 1.00 s at 8000 Hz");
    for (auto [control, at] : {std::pair<int, QPoint>{PaintCanvas, {58, 200}}, {BandLevelEditorNumber, {80, 35}}}) {
      MouseOn(control, MouseStep::Move, at), Pump(), MoveOffControls();
      EXPECT_EQ(Shown(), message) << control;
    }
    byMenu ? (DismissMessageBox(nullptr, nullptr), Menu("?", "About")) : Click(RepeatCheckbox);
    MouseOn(PaintCanvas, MouseStep::Move, {58, 200}), Pump();
    EXPECT_EQ(Shown(), CanvasReadoutText(58, 200, SynthSettings)) << byMenu;
  }
  std::filesystem::remove(file);
}

TEST_F(Readout, MovingASliderShowsTheValueItIsLeftAt) {
  SetByUser(FrqToSlider, 1000);
  EXPECT_EQ(Shown(), "Frq To 1000 Hz");
  SetByUser(FrqFromSlider, 1400);  // held at To
  EXPECT_EQ(Shown(), "Frq From 1000 Hz");
}

// The fourth point sits at (66, 35); dragged to (64, 14) it stands at row 152 with level 0.80, which synthesis uses
// once the drag has ended. The line gives the curve's level at the row under the pointer, whatever its height.
TEST_F(Readout, BandEditorShowsTheCurvesLevelAtTheRowAndWhetherSynthesisUsesIt) {
  MouseOn(BandLevelEditorNumber, MouseStep::Press, {64, 35});
  MouseOn(BandLevelEditorNumber, MouseStep::Move, {64, 14}), Pump();
  EXPECT_EQ(Shown(), "row 152 \u00B7 level 0.50 \u00B7 curve 0.80 not in use until edited");
  MouseOn(BandLevelEditorNumber, MouseStep::Release, {64, 14});
  MouseOn(BandLevelEditorNumber, MouseStep::Move, {64, 60}), Pump();
  EXPECT_EQ(Shown(), "row 152 \u00B7 level 0.80");
}

}  // namespace
