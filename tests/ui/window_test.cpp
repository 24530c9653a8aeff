// Windows: exact client size, fixed frame, centring, menus and the close box.
#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ui_fixture.h"

namespace {

using WindowTest = UiTest;

TEST_F(WindowTest, InitialiseTwiceKeepsOneToolkit) {
  QCoreApplication* first = QCoreApplication::instance();
  EXPECT_TRUE(UiInitialise());
  EXPECT_EQ(QCoreApplication::instance(), first);
}

TEST_F(WindowTest, ClientAreaHasExactSizeAndWindowCannotResize) {
  ASSERT_TRUE(UiOpenWindow(0, "Vellora", 320, 200));
  QWidget* frame = UiWindowWidget(0);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(UiClientArea(0)->size(), QSize(320, 200));
  EXPECT_EQ(frame->windowTitle(), QString("Vellora"));
  EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
  EXPECT_TRUE(frame->isVisible());
  const Qt::WindowFlags flags = frame->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowTitleHint);
  EXPECT_TRUE(flags & Qt::MSWindowsFixedSizeDialogHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
}

TEST_F(WindowTest, WindowIsCentredOnTheScreen) {
  ASSERT_TRUE(UiOpenWindow(0, "Vellora", 300, 200));
  QWidget* frame = UiWindowWidget(0);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QPoint offset = frame->frameGeometry().center() - screen.center();
  EXPECT_LE(std::abs(offset.x()), 1);
  EXPECT_LE(std::abs(offset.y()), 1);
}

TEST_F(WindowTest, MenuBarLiesOutsideTheClientArea) {
  ASSERT_TRUE(UiOpenWindow(0, "Vellora", 300, 200));
  ASSERT_TRUE(UiCreateMenuBar(0));
  ASSERT_TRUE(UiAddMenu(0, "File"));
  ASSERT_TRUE(UiAddMenuItem(0, 1, "Exit"));
  QWidget* frame = UiWindowWidget(0);
  QMenuBar* bar = frame->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(UiClientArea(0)->size(), QSize(300, 200));
  EXPECT_GT(bar->height(), 0);
  EXPECT_GE(UiClientArea(0)->mapTo(frame, QPoint(0, 0)).y(), bar->height());
  EXPECT_EQ(frame->height(), 200 + bar->height());
  EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
}

TEST_F(WindowTest, MenuCallsFailWithoutBarOrTitle) {
  OpenMain();
  EXPECT_FALSE(UiAddMenu(0, "File"));
  ASSERT_TRUE(UiCreateMenuBar(0));
  EXPECT_FALSE(UiAddMenuItem(0, 1, "Exit"));
  EXPECT_FALSE(UiCreateMenuBar(5));
}

TEST_F(WindowTest, ChoosingMenuItemsReportsTheirNumbers) {
  OpenMain();
  ASSERT_TRUE(UiCreateMenuBar(0));
  ASSERT_TRUE(UiAddMenu(0, "File"));
  ASSERT_TRUE(UiAddMenuItem(0, 1, "Exit"));
  ASSERT_TRUE(UiAddMenu(0, "?"));
  ASSERT_TRUE(UiAddMenuItem(0, 3, "About"));
  ASSERT_TRUE(UiAddMenuItem(0, 4, "Help"));
  PumpEvents();

  ASSERT_TRUE(ChooseMenuItem(0, "?", "Help"));
  ASSERT_TRUE(ChooseMenuItem(0, "File", "Exit"));
  const std::vector<UiEvent> events = PumpEvents();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].kind, EventKind::Menu);
  EXPECT_EQ(events[0].window, 0);
  EXPECT_EQ(events[0].menuItem, 4);
  EXPECT_EQ(events[1].kind, EventKind::Menu);
  EXPECT_EQ(events[1].menuItem, 1);
}

TEST_F(WindowTest, CloseBoxAsksAndLeavesTheWindowOpen) {
  OpenMain();
  ASSERT_TRUE(UiOpenWindow(1, "Help", 200, 100));
  PumpEvents();
  for (int window : {0, 1}) {
    ClickCloseBox(window);
    const std::vector<UiEvent> events = PumpEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::Close);
    EXPECT_EQ(events[0].window, window);
    EXPECT_TRUE(UiWindowIsOpen(window));
    EXPECT_TRUE(UiWindowWidget(window)->isVisible());
  }
  UiCloseWindow(1);
  EXPECT_FALSE(UiWindowIsOpen(1));
  EXPECT_TRUE(UiWindowIsOpen(0));
}

TEST_F(WindowTest, SecondWindowIsNotOwnedByTheFirst) {
  OpenMain();
  ASSERT_TRUE(UiOpenWindow(1, "Help", 200, 100));
  EXPECT_EQ(UiWindowWidget(1)->parentWidget(), nullptr);
  EXPECT_TRUE(UiWindowWidget(1)->isWindow());
  UiCloseWindow(0);
  EXPECT_TRUE(UiWindowIsOpen(1));
  EXPECT_TRUE(UiWindowWidget(1)->isVisible());
}

TEST_F(WindowTest, ReopeningANumberReplacesTheWindowAndItsControls) {
  ASSERT_TRUE(UiOpenWindow(1, "Help", 200, 100));
  const int text = UiCreateControl(1, -1, ControlKind::RichText, 5, 5, 100, 50);
  ASSERT_GE(text, 1000);
  QPointer<QWidget> old = UiWindowWidget(1);
  ASSERT_TRUE(UiOpenWindow(1, "Help", 220, 120));
  EXPECT_TRUE(old.isNull());
  EXPECT_FALSE(UiControlExists(text));
  EXPECT_EQ(UiClientArea(1)->size(), QSize(220, 120));
  int shown = 0;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (qobject_cast<QMainWindow*>(top) && top->isVisible()) ++shown;
  EXPECT_EQ(shown, 1);
}

TEST_F(WindowTest, ClosingFreesControlsAndUnknownNumbersAreIgnored) {
  OpenMain();
  ASSERT_EQ(UiCreateControl(0, 6, ControlKind::Button, 0, 0, 50, 20, {"Clear"}), 6);
  UiCloseWindow(7);
  UiCloseWindow(0);
  EXPECT_FALSE(UiWindowIsOpen(0));
  EXPECT_FALSE(UiControlExists(6));
  EXPECT_EQ(UiWidget(6), nullptr);
}

TEST_F(WindowTest, OpeningFailsForAnEmptyClientArea) {
  EXPECT_FALSE(UiOpenWindow(0, "Vellora", 0, 100));
  EXPECT_FALSE(UiWindowIsOpen(0));
}

TEST_F(WindowTest, WaitingWithNoWindowOpenReturnsFalse) {
  UiEvent event;
  EXPECT_FALSE(UiWaitEvent(event));
}

TEST_F(WindowTest, ToolkitCanBeStoppedAndStartedAgain) {
  OpenMain();
  UiShutdown();
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
  EXPECT_FALSE(UiWindowIsOpen(0));
  ASSERT_TRUE(UiInitialise());
  EXPECT_TRUE(UiOpenWindow(0, "Again", 100, 100));
}

// Without any display to talk to, starting reports failure instead of ending the process.
TEST(WindowStartTest, InitialiseFailsWithoutADisplay) {
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  std::vector<std::pair<std::string, std::string>> saved;
  for (const char* name : names) {
    if (const char* value = std::getenv(name)) saved.emplace_back(name, value);
    unsetenv(name);
  }
  const bool started = UiInitialise();
  for (const auto& [name, value] : saved) setenv(name.c_str(), value.c_str(), 1);
  EXPECT_FALSE(started);
  EXPECT_EQ(QCoreApplication::instance(), nullptr);
}

}  // namespace
