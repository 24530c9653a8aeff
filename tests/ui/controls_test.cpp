// Buttons, toggles, checkboxes, spin boxes, labels and frames: what the user's actions report and
// that the program's own changes report nothing.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "ui_fixture.h"

namespace {

using ControlTest = UiTest;

int Create(int number, ControlKind kind, int x, int y, int w, int h, ControlOptions options = {}) {
  return UiCreateControl(0, number, kind, x, y, w, h, options);
}

// The main window with spin box 2 (1 to 11) of that size showing 8, nothing reported yet.
void OpenSpinBoxAtEight(int width, int height) {
  ASSERT_TRUE(UiOpenWindow(0, "Test", 400, 300));
  Create(2, ControlKind::SpinBox, 10, 10, width, height, {"", 1, 11});
  UiSetState(2, 8);
  PumpEvents();
}

TEST_F(ControlTest, ControlsSitAtTheirClientPositions) {
  OpenMain();
  ASSERT_EQ(Create(7, ControlKind::Button, 40, 30, 70, 25, {"Synthesize"}), 7);
  EXPECT_EQ(UiWidget(7)->geometry(), QRect(40, 30, 70, 25));
  EXPECT_EQ(UiWidget(7)->parentWidget(), UiClientArea(0));
  EXPECT_TRUE(UiWidget(7)->isVisible());
}

TEST_F(ControlTest, NumbersAreGivenOrAssignedFromOneThousand) {
  OpenMain();
  EXPECT_EQ(Create(3, ControlKind::ToggleButton, 0, 0, 50, 25), 3);
  const int first = Create(-1, ControlKind::Canvas, 0, 30, 50, 50);
  const int second = Create(-1, ControlKind::Canvas, 60, 30, 50, 50);
  EXPECT_GE(first, 1000);
  EXPECT_GE(second, 1000);
  EXPECT_NE(first, second);
  EXPECT_NE(first, 3);
  EXPECT_EQ(Create(3, ControlKind::Button, 0, 0, 50, 25), -1);  // taken
  EXPECT_EQ(UiCreateControl(9, 4, ControlKind::Button, 0, 0, 50, 25), -1);  // no such window
  EXPECT_TRUE(UiControlExists(3));
  EXPECT_FALSE(UiControlExists(4));
}

TEST_F(ControlTest, ButtonReportsEachClick) {
  OpenMain();
  Create(6, ControlKind::Button, 10, 10, 50, 25, {"Clear"});
  EXPECT_EQ(static_cast<QPushButton*>(UiWidget(6))->text(), QString("Clear"));
  PumpEvents();
  ClickControl(6);
  ClickControl(6);
  const std::vector<UiEvent> events = PumpEvents();
  ASSERT_EQ(events.size(), 2u);
  for (const UiEvent& event : events) {
    EXPECT_EQ(event.kind, EventKind::Control);
    EXPECT_EQ(event.window, 0);
    EXPECT_EQ(event.control, 6);
    EXPECT_EQ(event.type, ControlEventType::Activated);
  }
}

TEST_F(ControlTest, ToggleAndCheckboxFlipOnEachClickAndReportIt) {
  OpenMain();
  Create(3, ControlKind::ToggleButton, 10, 10, 50, 25, {"Brush"});
  Create(8, ControlKind::Checkbox, 10, 40, 60, 20, {"Repeat"});
  for (int control : {3, 8}) {
    SCOPED_TRACE(control);
    EXPECT_EQ(UiGetState(control), 0);
    for (int expected : {1, 0}) {
      ClickControl(control);
      EXPECT_EQ(PumpControlEvents(control).size(), 1u);
      EXPECT_EQ(UiGetState(control), expected);
    }
  }
}

TEST_F(ControlTest, StatesSetByTheProgramReportNothing) {
  OpenMain();
  Create(3, ControlKind::ToggleButton, 0, 0, 50, 25);
  Create(8, ControlKind::Checkbox, 0, 30, 60, 20);
  Create(2, ControlKind::SpinBox, 0, 60, 40, 25, {"", 1, 11});
  Create(15, ControlKind::HorizontalSlider, 0, 90, 180, 20, {"", 2000, 22050});
  Create(10, ControlKind::VerticalSlider, 200, 0, 20, 80, {"", 70, 1500});
  Create(9, ControlKind::Label, 0, 120, 50, 20, {"Frq From"});
  PumpEvents();

  UiSetState(3, 1);
  UiSetState(8, 1);
  UiSetState(2, 8);
  UiSetState(15, 3000);
  UiSetState(10, 90);
  UiSetText(9, "Frq To");
  UiSetText(2, "5");
  EXPECT_TRUE(PumpEvents().empty());
  EXPECT_EQ(UiGetState(3), 1);
  EXPECT_EQ(UiGetState(8), 1);
  EXPECT_EQ(UiGetState(2), 5);
  EXPECT_EQ(UiGetText(2), "5");
  EXPECT_EQ(UiGetState(15), 3000);
  EXPECT_EQ(UiGetState(10), 90);
  EXPECT_EQ(UiGetText(9), "Frq To");
  EXPECT_EQ(static_cast<QLabel*>(UiWidget(9))->text(), QString("Frq To"));
}

TEST_F(ControlTest, RangedStatesStayWithinTheirRange) {
  OpenMain();
  Create(2, ControlKind::SpinBox, 0, 0, 40, 25, {"", 1, 11});
  Create(21, ControlKind::VerticalSlider, 50, 0, 20, 80, {"", 1, 99});
  UiSetState(2, 40);
  UiSetState(21, -3);
  EXPECT_EQ(UiGetState(2), 11);
  EXPECT_EQ(UiGetState(21), 1);
}

TEST_F(ControlTest, SpinBoxStepsByArrowKeysAndReportsEachStep) {
  OpenSpinBoxAtEight(40, 25);
  KeyOnControl(2, Qt::Key_Up);
  KeyOnControl(2, Qt::Key_Up);
  EXPECT_EQ(UiGetState(2), 10);
  EXPECT_EQ(PumpControlEvents(2).size(), 2u);
  KeyOnControl(2, Qt::Key_Down);
  EXPECT_EQ(UiGetState(2), 9);
  EXPECT_EQ(PumpControlEvents(2).size(), 1u);
  KeyOnControl(2, Qt::Key_Up);
  KeyOnControl(2, Qt::Key_Up);
  KeyOnControl(2, Qt::Key_Up);  // already at the top: no change, nothing reported
  EXPECT_EQ(UiGetState(2), 11);
  EXPECT_EQ(PumpControlEvents(2).size(), 2u);
}

TEST_F(ControlTest, SpinBoxCannotBeTypedInto) {
  OpenSpinBoxAtEight(40, 25);
  for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_3, Qt::Key_Enter, Qt::Key_Return}) KeyOnControl(2, key);
  EXPECT_EQ(UiGetState(2), 8);
  EXPECT_EQ(static_cast<QSpinBox*>(UiWidget(2))->text(), QString("8"));
  EXPECT_TRUE(PumpControlEvents(2).empty());
}

TEST_F(ControlTest, SpinBoxArrowButtonsStepIt) {
  OpenSpinBoxAtEight(60, 30);
  QWidget* spin = UiWidget(2);
  // The up arrow is in the top right corner, the down arrow in the bottom right corner.
  ClickControlAt(2, QPoint(spin->width() - 4, 4));
  EXPECT_EQ(UiGetState(2), 9);
  ClickControlAt(2, QPoint(spin->width() - 4, spin->height() - 4));
  ClickControlAt(2, QPoint(spin->width() - 4, spin->height() - 4));
  EXPECT_EQ(UiGetState(2), 7);
  EXPECT_EQ(PumpControlEvents(2).size(), 3u);
}

TEST_F(ControlTest, LabelIsLeftAlignedPlainText) {
  OpenMain();
  Create(26, ControlKind::Label, 0, 0, 150, 20, {"Adjust <b>Band</b> Level"});
  auto* label = static_cast<QLabel*>(UiWidget(26));
  EXPECT_TRUE(label->alignment() & Qt::AlignLeft);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(UiGetText(26), "Adjust <b>Band</b> Level");
}

TEST_F(ControlTest, GroupFrameLetsClicksThroughToControlsMadeBeforeIt) {
  OpenMain(300, 300);
  const int canvas = Create(-1, ControlKind::Canvas, 30, 30, 60, 40);
  Create(28, ControlKind::GroupFrame, 5, 2, 200, 250, {"Sound"});
  Create(7, ControlKind::Button, 100, 100, 70, 40, {"Synthesize"});
  EXPECT_EQ(static_cast<QGroupBox*>(UiWidget(28))->title(), QString("Sound"));
  PumpEvents();

  ClickControlAt(canvas, QPoint(10, 10));
  ClickControl(7);
  ClickControlAt(28, QPoint(150, 200));  // the frame's own empty inside
  std::vector<UiEvent> events;
  for (const UiEvent& event : PumpEvents())  // the pointer's way to the click is reported as moves
    if (event.type != ControlEventType::MouseMove) events.push_back(event);
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].control, canvas);
  EXPECT_EQ(events[0].type, ControlEventType::LeftButtonDown);
  EXPECT_EQ(events[1].control, canvas);
  EXPECT_EQ(events[1].type, ControlEventType::LeftButtonUp);
  EXPECT_EQ(events[2].control, 7);

  // The frame is painted under the canvas, so the canvas stays visible.
  QWidget* client = UiClientArea(0);
  EXPECT_EQ(client->childAt(QPoint(50, 50)), UiWidget(canvas));
}

TEST_F(ControlTest, TabAndShiftTabFollowCreationOrder) {
  OpenMain(400, 300);
  Create(-1, ControlKind::Canvas, 0, 0, 50, 50);
  Create(3, ControlKind::ToggleButton, 60, 0, 50, 25);
  Create(2, ControlKind::SpinBox, 120, 0, 40, 25, {"", 1, 11});
  Create(9, ControlKind::Label, 60, 40, 50, 20, {"Label"});
  Create(1, ControlKind::ImageButton, 180, 0, 50, 50);
  Create(8, ControlKind::Checkbox, 60, 70, 60, 20, {"Repeat"});
  Create(15, ControlKind::HorizontalSlider, 60, 100, 180, 20, {"", 0, 10});
  ASSERT_TRUE(ActivateWindow(0));
  FocusControl(3);

  const std::vector<int> forward = {2, 1, 8, 15, 3};
  for (int expected : forward) {
    KeyOnWindow(0, Qt::Key_Tab);
    EXPECT_EQ(FocusedControl(0), expected);
  }
  KeyOnWindow(0, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(FocusedControl(0), 15);
  KeyOnWindow(0, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(FocusedControl(0), 8);
}

TEST_F(ControlTest, ImageButtonShowsTheImageCentredAndRepaintsWithNewPixels) {
  OpenMain();
  Create(1, ControlKind::ImageButton, 10, 10, 50, 50);
  Raster swatch(35, 35, MakeColour(0x20, 0x80, 0xE0));
  UiSetButtonImage(1, swatch);
  QImage face = GrabControl(1);
  EXPECT_EQ(face.pixelColor(25, 25), QColor(0x20, 0x80, 0xE0));
  EXPECT_EQ(face.pixelColor(25 - 17, 25), QColor(0x20, 0x80, 0xE0));
  EXPECT_EQ(face.pixelColor(25 + 16, 25), QColor(0x20, 0x80, 0xE0));
  EXPECT_NE(face.pixelColor(2, 25), QColor(0x20, 0x80, 0xE0));

  for (Colour& pixel : swatch.pixels) pixel = White;
  EXPECT_EQ(GrabControl(1).pixelColor(25, 25), QColor(0x20, 0x80, 0xE0));  // a copy was shown
  UiSetButtonImage(1, swatch);
  EXPECT_EQ(GrabControl(1).pixelColor(25, 25), QColor(Qt::white));

  PumpEvents();
  ClickControl(1);
  EXPECT_EQ(PumpControlEvents(1).size(), 1u);
}

}  // namespace
