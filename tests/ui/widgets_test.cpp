// SPDX-License-Identifier: GPL-3.0-or-later
// The windowing layer where the program relies on more than the toolkit gives by default.
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "support/ui_driver.h"
#include "ui/ui_registry.h"

namespace {

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(UiInitialise() && UiOpenWindow(0, "Test", 400, 300)); }
  void TearDown() override { UiShutdown(); }
};

TEST_F(Widgets, StatesAndTextsSetByTheProgramReportNothing) {
  const struct { ControlKind kind; int minimum, maximum, value; } controls[] = {
      {ControlKind::ToggleButton, 0, 0, 1}, {ControlKind::Checkbox, 0, 0, 1}, {ControlKind::SpinBox, 1, 11, 5},
      {ControlKind::HorizontalSlider, 2000, 22050, 3000}, {ControlKind::VerticalSlider, 70, 1500, 90}};
  for (int i = 0; i < 5; ++i)
    UiCreateControl(0, i, controls[i].kind, 0, 40 * i, 90, 30, {"", controls[i].minimum, controls[i].maximum});
  UiCreateControl(0, 5, ControlKind::Label, 0, 200, 90, 30, {"Frq From"});
  PumpEvents();
  for (int i = 0; i < 5; ++i) UiSetState(i, controls[i].value);
  UiSetText(5, "Frq To");
  EXPECT_TRUE(PumpEvents().empty());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(UiGetState(i), controls[i].value) << i;
}

TEST_F(Widgets, VerticalSliderHasItsMaximumAtTheTop) {
  UiCreateControl(0, 10, ControlKind::VerticalSlider, 20, 20, 20, 200, {"", 0, 100});
  UiSetState(10, 50);
  MouseOn(10, MouseStep::Press, {10, 3});
  MouseOn(10, MouseStep::Release, {10, 3});
  EXPECT_GT(UiGetState(10), 50) << "a click near the top moves the value up";
}

TEST_F(Widgets, SpinBoxStepsUpToItsMaximumAndTakesNoTyping) {
  UiCreateControl(0, 2, ControlKind::SpinBox, 0, 0, 40, 25, {"", 1, 11});
  UiSetState(2, 8);
  auto* spin = static_cast<QSpinBox*>(UiWidget(2));
  for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Backspace, Qt::Key_3, Qt::Key_Return})
    QTest::keyClick(spin, key);
  EXPECT_EQ(UiGetState(2), 11);
  EXPECT_EQ(spin->text(), "11");
  EXPECT_EQ(PumpEvents().size(), 3u) << "one report for each step taken";
}

TEST_F(Widgets, ConfiningCanvasReportsClampedPositionsWhileAButtonIsHeldOutside) {
  ControlOptions confining;
  confining.confinePointer = true;
  UiCreateControl(0, 0, ControlKind::Canvas, 20, 30, 100, 80, confining);
  MouseOn(0, MouseStep::Move, {50, 40});  // the pointer's arrival is reported before the press
  PumpEvents();
  MouseOn(0, MouseStep::Press, {50, 40});
  for (QPoint outside : {QPoint(150, 40), QPoint(-30, -25), QPoint(60, 500)}) MouseOn(0, MouseStep::Move, outside);
  MouseOn(0, MouseStep::Release, {200, 200});
  std::vector<UiEvent> events = PumpEvents();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().type, ControlEventType::PointerLeave) << "released off the canvas, the pointer leaves it";
  events.pop_back();
  std::vector<std::array<int, 3>> reports;
  for (const UiEvent& event : events) reports.push_back({event.x, event.y, event.buttons});
  reports.erase(std::unique(reports.begin(), reports.end()), reports.end());  // the pointer brought back moves too
  const std::vector<std::array<int, 3>> expected = {{50, 40, 1}, {99, 40, 1}, {0, 0, 1},
                                                    {60, 79, 1}, {99, 79, 1}, {99, 79, 0}};
  EXPECT_EQ(reports, expected);
}

TEST_F(Widgets, CanvasRepaintedFromAnotherThreadShowsThePicture) {
  UiCreateControl(0, 0, ControlKind::Canvas, 20, 30, 100, 80);
  std::thread([] {
    Raster& picture = *UiCanvasPicture(0);
    for (Colour& pixel : picture.pixels) pixel = MakeColour(0, 0, 0xFF);
    UiRepaintCanvas(0);
  }).join();
  UiProcessPaintOnly();
  const QImage shown = UiWidget(0)->grab().toImage();
  EXPECT_EQ(shown.pixelColor(10, 10), QColor(0, 0, 0xFF));
}

// Showing a folder reads no file (a read of /proc/kmsg waits for good): in either requester a PDF and a text
// without an extension show the same type.
TEST_F(Widgets, FileRequesterShowsAFolderWithoutReadingAnyFile) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(::testing::TempDir()) / ("vellora-requester-" + std::to_string(getpid()));
  fs::create_directory(folder);
  std::ofstream(folder / "document") << "%PDF-1.4\n", std::ofstream(folder / "notes") << "plain words\n";
  const fs::path working = fs::current_path();
  fs::current_path(folder);  // the requester shows the working folder
  for (bool save : {false, true}) {
    QStringList types;
    QTimer::singleShot(0, [&] {
      auto* dialog = static_cast<QFileDialog*>(QApplication::activeModalWidget());
      auto* model = dialog->findChild<QFileSystemModel*>();
      const QModelIndex list = model->index(QString::fromStdString(folder.string()));
      EXPECT_TRUE(QTest::qWaitFor([&] {  // the two files as the list shows them, once their types are in
        types.clear();
        for (int row = 0; row < model->rowCount(list); ++row) types << model->index(row, 2, list).data().toString();
        return types.size() == 2 && !types.contains("");
      }));
      dialog->reject();
    });
    UiFileDialog(save, "Files", "All files|*");
    EXPECT_EQ(types.value(0), types.value(1)) << "a type was read from a file's contents, save " << save;
  }
  fs::current_path(working), fs::remove_all(folder);
}

// A close request left in the toolkit's queue with the wake-up that announced it already spent (by a pass that held
// input back, as while a sound plays, or by the dispatcher racing the thread that queued it) is taken at once, with
// either event dispatcher (true: GLib's). The wait once slept on it, in 1 of about 65 real-time playback runs.
class WaitingForEvents : public ::testing::TestWithParam<bool> {};

TEST_P(WaitingForEvents, TakesAnEventWhoseWakeUpWasSpent) {
  if (!GetParam()) setenv("QT_NO_GLIB", "1", 1);
  ASSERT_TRUE(UiInitialise() && UiOpenWindow(0, "Test", 400, 300));
  using Wsi = QWindowSystemInterface;
  QWindow* window = UiWindowWidget(0)->windowHandle();
  std::thread([window] { Wsi::handleCloseEvent<Wsi::AsynchronousDelivery>(window); }).join();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);  // the wake-up is spent, the request held
  QTimer::singleShot(10000, [] { QueueActivated(0, 99); });  // comes first only if the wait slept on the request
  UiEvent event;
  EXPECT_TRUE(UiWaitEvent(event) && event.kind == EventKind::Close) << event.control;
  UiShutdown();
}

INSTANTIATE_TEST_SUITE_P(Widgets, WaitingForEvents, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "GLib" : "OwnDispatcher"; });

}  // namespace
