// The event queue: order, the current event, waiting, and painting without taking input.
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>

#include "ui_fixture.h"

namespace {

using EventTest = UiTest;

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(EventTest, EventsComeInTheOrderTheyHappened) {
  OpenMain();
  UiCreateControl(0, 6, ControlKind::Button, 0, 0, 50, 25);
  UiCreateControl(0, 7, ControlKind::Button, 60, 0, 50, 25);
  PumpEvents();
  ClickControl(7);
  ClickControl(6);
  ClickControl(7);
  UiEvent event;
  std::vector<int> order;
  while (UiPollEvent(event)) {
    order.push_back(event.control);
    EXPECT_EQ(UiCurrentEvent().control, event.control);
  }
  EXPECT_EQ(order, (std::vector<int>{7, 6, 7}));
  EXPECT_FALSE(UiPollEvent(event));
}

TEST_F(EventTest, WaitBlocksUntilTheUserActs) {
  OpenMain();
  UiCreateControl(0, 6, ControlKind::Button, 0, 0, 50, 25);
  PumpEvents();
  QTimer::singleShot(0, [] { ClickControl(6); });
  UiEvent event;
  ASSERT_TRUE(UiWaitEvent(event));
  EXPECT_EQ(event.kind, EventKind::Control);
  EXPECT_EQ(event.control, 6);
  EXPECT_EQ(UiCurrentEvent().control, 6);
}

TEST_F(EventTest, PaintOnlyRepaintsAndKeepsInputForLater) {
  OpenMain();
  UiCreateControl(0, 6, ControlKind::Button, 0, 0, 50, 25);
  UiCreateControl(0, 7, ControlKind::Button, 60, 0, 50, 25);
  const int canvas = UiCreateControl(0, -1, ControlKind::Canvas, 0, 40, 50, 50);
  PumpEvents();
  PaintCounter counter;
  UiWidget(canvas)->installEventFilter(&counter);

  ClickControl(6);  // before the busy spell
  QTimer::singleShot(0, [] { ClickControl(7); });  // while the program only paints
  UiWidget(canvas)->update();
  UiProcessPaintOnly();
  EXPECT_GT(counter.paints, 0);
  ClickControl(6);  // after it

  UiEvent event;
  std::vector<int> order;
  while (UiPollEvent(event)) order.push_back(event.control);
  EXPECT_EQ(order, (std::vector<int>{6, 7, 6}));
}

}  // namespace
