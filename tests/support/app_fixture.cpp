// Drives the started program through its real widgets, as a user would.
#include "support/app_fixture.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QSpinBox>

#include "app/control_ids.h"
#include "app/event_loop.h"
#include "app/startup.h"
#include "ui/ui.h"
#include "ui/ui_qt.h"

void AppTest::SetUp() { ASSERT_TRUE(StartUp()); }

void AppTest::TearDown() { ShutDown(); }

QWidget* ControlWidget(int control) { return UiWidget(control); }
QWidget* WindowWidget(int window) { return UiWindowWidget(window); }

void Pump() {
  QCoreApplication::processEvents();
  HandlePendingEvents();
}

void Click(int control) {
  ClickControl(control);
  Pump();
}

void MoveSliderTo(int control, int value) {
  QWidget* widget = UiWidget(control);
  ASSERT_NE(widget, nullptr) << control;
  if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) {
    // triggerAction is how the toolkit moves a slider for a user's drag or key.
    slider->setSliderPosition(value);
  } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
    spin->setValue(value);
  }
  Pump();
}

void Press(int control, QPoint at, Qt::MouseButton button) {
  PressOnControl(control, at, button);
  Pump();
}

void Move(int control, QPoint to) {
  MoveOnControl(control, to);
  Pump();
}

void Release(int control, QPoint at, Qt::MouseButton button) {
  ReleaseOnControl(control, at, button);
  Pump();
}

void Menu(const char* title, const char* item) {
  EXPECT_TRUE(ChooseMenuItem(MainWindow, title, item)) << title << " / " << item;
  Pump();
}

const Raster& CanvasOf(int control) {
  static const Raster none;
  const Raster* picture = UiCanvasPicture(control);
  return picture ? *picture : none;
}

int LitCount(const Raster& raster) {
  int lit = 0;
  for (Colour pixel : raster.pixels) lit += pixel != Black;
  return lit;
}
