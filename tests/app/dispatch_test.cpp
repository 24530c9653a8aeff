// What each control does when the user works it: settings follow, the interlock holds, Repeat unticks.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

#include <functional>
#include <string>

#include "app/control_ids.h"
#include "app/help_window.h"
#include "app/settings.h"
#include "picture/surface.h"
#include "support/app_fixture.h"
#include "ui/ui.h"

namespace {

using Dispatch = AppTest;

void TickRepeat() {
  if (UiGetState(RepeatCheckbox) == 0) Click(RepeatCheckbox);
  ASSERT_EQ(UiGetState(RepeatCheckbox), 1);
  ASSERT_EQ(RepeatFlag, 1);
}

TEST_F(Dispatch, FromStoppedByToThenToMovesFreely) {
  MoveSliderTo(FrqToSlider, 1000);
  EXPECT_EQ(SynthSettings.FrqTo, 1000);
  MoveSliderTo(FrqFromSlider, 1400);
  EXPECT_EQ(UiGetState(FrqFromSlider), 1000);
  EXPECT_EQ(SynthSettings.FrqFrom, 1000);
  EXPECT_EQ(LastFrqFrom, 1000);
  MoveSliderTo(FrqToSlider, 1100);
  EXPECT_EQ(UiGetState(FrqToSlider), 1100);
  EXPECT_EQ(SynthSettings.FrqTo, 1100);
  MoveSliderTo(FrqToSlider, 500);
  EXPECT_EQ(UiGetState(FrqToSlider), 1000);
  EXPECT_EQ(LastFrqTo, 1000);
}

TEST_F(Dispatch, VerticalSliderAtTheTopGivesItsMaximum) {
  auto* slider = qobject_cast<QAbstractSlider*>(ControlWidget(FrqFromSlider));
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_End);
  Pump();
  EXPECT_EQ(SynthSettings.FrqFrom, 1500);
  QTest::keyClick(slider, Qt::Key_Down);
  Pump();
  EXPECT_EQ(SynthSettings.FrqFrom, 1499);
}

TEST_F(Dispatch, SampleCountFollowsRateAndDuration) {
  MoveSliderTo(SampleRateSlider, 22050);
  MoveSliderTo(SoundDurationSlider, 1001);
  EXPECT_EQ(SynthSettings.SampleRate, 22050);
  EXPECT_EQ(SynthSettings.Duration, 1.001f);
  EXPECT_EQ(SynthSettings.SampleCount, 22072);
}

TEST_F(Dispatch, DistributionSlidersSetTheirFractions) {
  MoveSliderTo(DistASlider, 1);
  MoveSliderTo(DistBSlider, 99);
  MoveSliderTo(DistCSlider, 33);
  MoveSliderTo(DistDSlider, 2);
  EXPECT_EQ(SynthSettings.DistA, 0.01f);
  EXPECT_EQ(SynthSettings.DistB, 0.99f);
  EXPECT_EQ(SynthSettings.DistC, 0.33f);
  EXPECT_EQ(SynthSettings.DistD, 0.02f);
  EXPECT_EQ(LitCount(CanvasOf(DistributionPreview)), 0) << "the preview stays black while unticked";
}

TEST_F(Dispatch, DistributionCheckboxDrawsAndBlacksThePreview) {
  Click(DistributionCheckbox);
  EXPECT_EQ(SynthSettings.FrqDistribution, 1);
  EXPECT_GT(LitCount(CanvasOf(DistributionPreview)), 100);
  Click(DistributionCheckbox);
  EXPECT_EQ(SynthSettings.FrqDistribution, 0);
  EXPECT_EQ(LitCount(CanvasOf(DistributionPreview)), 0);
}

struct RepeatCase {
  const char* action;
  std::function<void()> perform;
  bool unticks;
};

TEST_F(Dispatch, WhichActionsUntickRepeat) {
  const RepeatCase cases[] = {
      {"press on the canvas", [] { Press(PaintCanvas, {50, 50}); Release(PaintCanvas, {50, 50}); }, true},
      {"Clear", [] { Click(ClearButton); }, true},
      {"Rotate", [] { Click(RotateButton); }, true},
      {"Frq From", [] { MoveSliderTo(FrqFromSlider, 100); }, true},
      {"Frq To", [] { MoveSliderTo(FrqToSlider, 8000); }, true},
      {"Sample Rate", [] { MoveSliderTo(SampleRateSlider, 4000); }, true},
      {"Sound Duration", [] { MoveSliderTo(SoundDurationSlider, 2000); }, true},
      {"Dist A", [] { MoveSliderTo(DistASlider, 40); }, true},
      {"Dist D", [] { MoveSliderTo(DistDSlider, 40); }, true},
      {"distribution checkbox", [] { Click(DistributionCheckbox); }, true},
      {"band point drag", [] {
         Press(BandLevelEditorNumber, {44, 35});
         Release(BandLevelEditorNumber, {44, 35});
       }, true},
      {"Line tool", [] { Click(LineToggle); }, false},
      {"Brush tool", [] { Click(BrushToggle); }, false},
      {"brush size", [] { MoveSliderTo(BrushSizeSpin, 3); }, false},
      {"mouse move without a button", [] { Move(PaintCanvas, {70, 70}); }, false},
      {"colour chooser cancelled", [] {
         CancelNextDialog();
         Click(ColorButton);
       }, false},
      {"Save cancelled", [] {
         CancelNextDialog();
         Click(SaveButton);
       }, false},
      {"Load cancelled", [] {
         CancelNextDialog();
         Click(LoadButton);
       }, false},
  };
  for (const RepeatCase& c : cases) {
    SCOPED_TRACE(c.action);
    TickRepeat();
    c.perform();
    EXPECT_EQ(UiGetState(RepeatCheckbox), c.unticks ? 0 : 1);
    EXPECT_EQ(RepeatFlag, c.unticks ? 0 : 1);
  }
}

TEST_F(Dispatch, BandCurveIsInUseOnlyAfterACompletedDrag) {
  EXPECT_EQ(SynthSettings.BandCurveEdited, 0);
  Press(BandLevelEditorNumber, {150, 60});  // beside every point
  Release(BandLevelEditorNumber, {150, 60});
  EXPECT_EQ(SynthSettings.BandCurveEdited, 0);
  Press(BandLevelEditorNumber, {66, 35});
  Move(BandLevelEditorNumber, {66, 10});
  EXPECT_EQ(SynthSettings.BandCurveEdited, 0) << "a drag in progress is not yet an edit";
  Release(BandLevelEditorNumber, {66, 10});
  EXPECT_EQ(SynthSettings.BandCurveEdited, 1);
}

TEST_F(Dispatch, ToolTogglesStayExclusive) {
  Click(LineToggle);
  EXPECT_EQ(Tool, LineToggle);
  EXPECT_EQ(UiGetState(LineToggle), 1);
  EXPECT_EQ(UiGetState(BrushToggle), 0);
  Click(LineToggle);
  EXPECT_EQ(Tool, LineToggle);
  EXPECT_EQ(UiGetState(LineToggle), 1);
  Click(BrushToggle);
  EXPECT_EQ(Tool, BrushToggle);
  EXPECT_EQ(UiGetState(BrushToggle), 1);
  EXPECT_EQ(UiGetState(LineToggle), 0);
}

TEST_F(Dispatch, ChosenColourPaintsTheSwatchAndLaterStrokes) {
  Press(PaintCanvas, {20, 20});
  Release(PaintCanvas, {20, 20});
  WhenModalAppears([](QWidget* dialog) {
    auto* chooser = qobject_cast<QColorDialog*>(dialog);
    ASSERT_NE(chooser, nullptr);
    chooser->setCurrentColor(QColor(10, 200, 30));
    chooser->accept();
  });
  Click(ColorButton);
  EXPECT_EQ(BrushColor, MakeColour(10, 200, 30));
  const QImage face = ControlWidget(ColorButton)->grab().toImage();
  EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), QColor(10, 200, 30));
  Press(PaintCanvas, {200, 200});
  Release(PaintCanvas, {200, 200});
  EXPECT_EQ(CanvasOf(PaintCanvas).At(200, 200), MakeColour(10, 200, 30));
  EXPECT_EQ(CanvasOf(PaintCanvas).At(20, 20), White) << "what was painted keeps its colour";
}

TEST_F(Dispatch, CancelledColourChooserKeepsTheColourAndTheSwatch) {
  AnswerNextColourDialog(MakeColour(200, 40, 90));
  Click(ColorButton);
  ASSERT_EQ(BrushColor, MakeColour(200, 40, 90));
  CancelNextDialog();
  Click(ColorButton);
  EXPECT_EQ(BrushColor, MakeColour(200, 40, 90));
  EXPECT_EQ(*ImageHandle(SwatchImage), Raster(35, 35, MakeColour(200, 40, 90)));
  const QImage face = ControlWidget(ColorButton)->grab().toImage();
  EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), QColor(200, 40, 90));
}

TEST_F(Dispatch, ExitEndsTheLoop) {
  Menu("File", "Exit");
  EXPECT_EQ(QuitFlag, 1);
}

TEST_F(Dispatch, ClosingTheMainWindowEndsEvenWithHelpOpen) {
  Menu("?", "Help");
  ASSERT_TRUE(UiWindowIsOpen(HelpWindow));
  WindowWidget(MainWindow)->close();
  Pump();
  EXPECT_EQ(QuitFlag, 1);
}

TEST_F(Dispatch, HelpTwiceLeavesOneWindowAndClosingItKeepsRunning) {
  Menu("?", "Help");
  Menu("?", "Help");
  int helpWindows = 0;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->isVisible() && top->windowTitle() == "Vellora Help") ++helpWindows;
  EXPECT_EQ(helpWindows, 1);
  WindowWidget(HelpWindow)->close();
  Pump();
  EXPECT_FALSE(UiWindowIsOpen(HelpWindow));
  EXPECT_EQ(QuitFlag, 0);
  Click(LineToggle);
  EXPECT_EQ(Tool, LineToggle) << "the main window keeps working";
}

TEST_F(Dispatch, AboutIsModalWithOneButton) {
  Menu("?", "Help");
  bool sawBox = false;
  WhenModalAppears([&sawBox](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    sawBox = true;
    EXPECT_EQ(box->windowTitle(), "About Vellora");
    EXPECT_EQ(box->text(), "Vellora 1.0\nPaint a picture and hear it.");
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), box);
    // A click on the main window meanwhile is not acted on.
    QWidget* line = ControlWidget(LineToggle);
    QTest::mouseClick(line->window()->windowHandle(), Qt::LeftButton, {},
                      line->mapTo(line->window(), line->rect().center()));
    box->buttons().front()->click();
  });
  Menu("?", "About");
  EXPECT_TRUE(sawBox);
  Pump();
  EXPECT_EQ(Tool, BrushToggle);
}

}  // namespace
