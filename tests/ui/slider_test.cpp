// Sliders: every step of a drag and of the keyboard is reported, and the end of a drag once more.
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>

#include "ui_fixture.h"

namespace {

using SliderTest = UiTest;

QRect Handle(int control) {
  auto* slider = static_cast<QSlider*>(UiWidget(control));
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = slider->sliderPosition();
  option.sliderValue = slider->value();
  option.upsideDown = slider->orientation() == Qt::Vertical ? !slider->invertedAppearance()
                                                             : slider->invertedAppearance();
  return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
}

// Opens the main window with one slider of the given range set to value, nothing reported yet.
void OpenSlider(int number, ControlKind kind, int minimum, int maximum, int value) {
  ASSERT_TRUE(UiOpenWindow(0, "Test", 400, 300));
  const bool vertical = kind == ControlKind::VerticalSlider;
  UiCreateControl(0, number, kind, vertical ? 20 : 10, vertical ? 20 : 10, vertical ? 20 : 180, vertical ? 80 : 20,
                  {"", minimum, maximum});
  UiSetState(number, value);
  PumpEvents();
}

TEST_F(SliderTest, DraggingTheVerticalThumbToTheTopGivesTheMaximum) {
  OpenSlider(10, ControlKind::VerticalSlider, 70, 1500, 90);
  const QPoint start = Handle(10).center();
  std::vector<QPoint> path = {start};
  for (int y = start.y() - 5; y > -30; y -= 5) path.push_back(QPoint(start.x(), y));
  DragOnControl(10, path);
  EXPECT_EQ(UiGetState(10), 1500);

  const std::vector<UiEvent> events = PumpControlEvents(10);
  ASSERT_GE(events.size(), 3u);
  // Each move of the thumb is one event, the release one more.
  const std::size_t moves = path.size() - 1;
  EXPECT_LE(events.size(), moves + 1);
}

TEST_F(SliderTest, DraggingTheVerticalThumbDownGivesTheMinimum) {
  OpenSlider(21, ControlKind::VerticalSlider, 1, 99, 50);
  const QPoint start = Handle(21).center();
  DragOnControl(21, {start, start + QPoint(0, 20), start + QPoint(0, 200)});
  EXPECT_EQ(UiGetState(21), 1);
  EXPECT_EQ(PumpControlEvents(21).size(), 3u);  // two moves and the release
}

TEST_F(SliderTest, ThumbOfAVerticalSliderAtItsMaximumIsAtTheTop) {
  OpenMain();
  UiCreateControl(0, 21, ControlKind::VerticalSlider, 20, 20, 20, 80, {"", 1, 99});
  UiSetState(21, 99);
  const QRect top = Handle(21);
  UiSetState(21, 1);
  const QRect bottom = Handle(21);
  EXPECT_LT(top.center().y(), bottom.center().y());
  EXPECT_LT(top.center().y(), 20);
}

TEST_F(SliderTest, ADragThatComesBackReportsEveryChangeAndTheRelease) {
  OpenSlider(15, ControlKind::HorizontalSlider, 0, 1000, 500);
  const QPoint start = Handle(15).center();
  DragOnControl(15, {start, start + QPoint(10, 0), start + QPoint(20, 0), start});
  EXPECT_NEAR(UiGetState(15), 500, 10);  // back where it started, within the thumb's pixel rounding
  const std::vector<UiEvent> events = PumpControlEvents(15);
  EXPECT_EQ(events.size(), 4u);  // up, up, back, release
  for (const UiEvent& event : events) EXPECT_EQ(event.type, ControlEventType::Activated);
}

TEST_F(SliderTest, PressAndReleaseWithoutMovingReportsOnlyTheRelease) {
  OpenSlider(15, ControlKind::HorizontalSlider, 0, 1000, 500);
  const QPoint start = Handle(15).center();
  PressOnControl(15, start);
  ReleaseOnControl(15, start);
  EXPECT_EQ(UiGetState(15), 500);
  EXPECT_EQ(PumpControlEvents(15).size(), 1u);
}

TEST_F(SliderTest, KeyboardStepsAreReportedOneByOne) {
  OpenSlider(10, ControlKind::VerticalSlider, 70, 1500, 90);
  KeyOnControl(10, Qt::Key_Up);
  KeyOnControl(10, Qt::Key_Up);
  KeyOnControl(10, Qt::Key_Down);
  EXPECT_EQ(UiGetState(10), 91);
  EXPECT_EQ(PumpControlEvents(10).size(), 3u);
  KeyOnControl(10, Qt::Key_End);  // to one end of the range, one step
  EXPECT_EQ(PumpControlEvents(10).size(), 1u);
}

TEST_F(SliderTest, SlidersHaveNoTickMarks) {
  OpenMain();
  UiCreateControl(0, 15, ControlKind::HorizontalSlider, 10, 10, 180, 20, {"", 2000, 22050});
  EXPECT_EQ(static_cast<QSlider*>(UiWidget(15))->tickPosition(), QSlider::NoTicks);
  EXPECT_EQ(UiGetState(15), 2000);
  EXPECT_EQ(UiGetText(15), "2000");
}

}  // namespace
