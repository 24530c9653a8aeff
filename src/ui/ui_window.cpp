// SPDX-License-Identifier: GPL-3.0-or-later
// Starting and stopping the toolkit, and the numbered top-level windows with their menus.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ui/ui.h"
#include "ui/ui_registry.h"

namespace {

// The toolkit keeps references to these for its whole life.
int argumentCount = 1;
char programName[] = "vellora";
char* arguments[] = {programName, nullptr};

QApplication* ownApplication = nullptr;

// The window's layout is in fixed pixels, measured with Liberation Sans of this pixel height; wider faces such
// as DejaVu Sans clip the labels. The face is compiled in (resources/fonts/, SIL Open Font License), so the
// window looks the same whatever fonts the system has.
constexpr int ControlFontPixels = 11;
constexpr char ControlFontFile[] = ":/fonts/LiberationSans-Regular.ttf";

bool HasEnv(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// The toolkit aborts the process when it cannot reach a display; look before it tries.
bool DisplayReachable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
  return HasEnv("QT_QPA_PLATFORM") || HasEnv("DISPLAY") || HasEnv("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

// The display the toolkit was to open: the Wayland one when the platform asked for is Wayland, else the X one.
std::string DisplayName() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool wayland = platform && std::string_view(platform).starts_with("wayland");
  const char* name = std::getenv(wayland ? "WAYLAND_DISPLAY" : "DISPLAY");
  if (name && *name) return std::string("\"") + name + "\"";
  if (platform && *platform && !wayland && std::string_view(platform) != "xcb")
    return std::string("of the platform \"") + platform + "\"";
  return wayland ? "(WAYLAND_DISPLAY is not set)" : "(DISPLAY is not set)";
}

// Whoever typed the command learns why no window came, in one line; a message box could not be shown anyway.
void ReportNoDisplay() {
  const std::string line = "vellora: cannot open display " + DisplayName() + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

// While the toolkit starts, its messages are held back. When it cannot open the display it names, or has no
// platform it can start, it reports a fatal error and would abort; the program then ends with the one line
// and status 0 instead, as it does whenever its window cannot be opened.
void StartUpMessage(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  ReportNoDisplay();
  std::_Exit(0);
}

}  // namespace

bool UiInitialise() {
  if (QCoreApplication::instance()) return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  if (!DisplayReachable()) {
    ReportNoDisplay();
    return false;
  }
  const QtMessageHandler previous = qInstallMessageHandler(StartUpMessage);
  ownApplication = new QApplication(argumentCount, arguments);
  qInstallMessageHandler(previous);
  QApplication::setQuitOnLastWindowClosed(false);
  QFontDatabase::addApplicationFont(QString::fromLatin1(ControlFontFile));
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(ControlFontPixels);
  QApplication::setFont(font);
  return true;
}

void UiShutdown() {
  std::vector<int> open;
  for (const auto& [number, record] : UiWindows()) open.push_back(number);
  for (int number : open) UiCloseWindow(number);
  UiControls().clear();
  ClearUiEvents();
  delete ownApplication;
  ownApplication = nullptr;
}

namespace {

// A window whose close box only asks: the program decides whether it closes.
class FixedWindow : public QMainWindow {
 public:
  explicit FixedWindow(int number) : number_(number) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    // While a modal dialog is up every other window takes no input, its close box included.
    if (QApplication::activeModalWidget()) return;
    UiEvent close;
    close.kind = EventKind::Close;
    close.window = number_;
    QueueUiEvent(close);
  }

 private:
  int number_;
};

constexpr Qt::WindowFlags FixedWindowFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                             Qt::MSWindowsFixedSizeDialogHint;

// Puts the whole frame in the middle of the screen; a frame larger than the screen is narrowed to it.
void CentreOnScreen(QMainWindow* frame) {
  QScreen* screen = frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  const QRect outer = frame->frameGeometry();
  const QSize margins = outer.size() - frame->geometry().size();
  const QSize room = available.size() - margins;
  if (frame->width() > room.width() || frame->height() > room.height())
    frame->setFixedSize(std::min(frame->width(), room.width()), std::min(frame->height(), room.height()));
  const QSize whole = frame->size() + margins;
  const int left = available.x() + std::max(0, (available.width() - whole.width()) / 2);
  const int top = available.y() + std::max(0, (available.height() - whole.height()) / 2);
  frame->move(left, top);
}

// Lets the window take the size of its client area plus its menu bar, and nothing else.
void FixSize(QMainWindow* frame) {
  frame->layout()->invalidate();
  frame->setFixedSize(frame->layout()->totalSizeHint());
  frame->layout()->activate();
}

}  // namespace

bool UiOpenWindow(int window, const std::string& title, int clientWidth, int clientHeight) {
  if (!QCoreApplication::instance() || clientWidth <= 0 || clientHeight <= 0) return false;
  UiCloseWindow(window);

  auto* frame = new FixedWindow(window);
  frame->setWindowFlags(FixedWindowFlags);
  frame->setWindowTitle(QString::fromStdString(title));
  auto* client = new QWidget(frame);
  client->setFixedSize(clientWidth, clientHeight);
  frame->setCentralWidget(client);
  FixSize(frame);
  CentreOnScreen(frame);
  frame->show();
  CentreOnScreen(frame);  // the frame's own size is only known once it is shown

  WindowRecord record;
  record.frame = frame;
  record.client = client;
  UiWindows()[window] = record;
  return true;
}

void UiCloseWindow(int window) {
  auto found = UiWindows().find(window);
  if (found == UiWindows().end()) return;
  QPointer<QMainWindow> frame = found->second.frame;
  ForgetControlsOf(window);
  UiWindows().erase(found);
  delete frame.data();
}

bool UiWindowIsOpen(int window) { return FindWindowRecord(window) != nullptr; }

bool UiCreateMenuBar(int window) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record) return false;
  record->frame->menuBar()->show();  // a main window makes its bar on first use
  FixSize(record->frame);
  CentreOnScreen(record->frame);
  return true;
}

bool UiAddMenu(int window, const std::string& title) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record || !record->frame->menuWidget()) return false;
  record->lastMenu = record->frame->menuBar()->addMenu(QString::fromStdString(title));
  FixSize(record->frame);
  CentreOnScreen(record->frame);  // the bar has grown the frame
  return true;
}

bool UiAddMenuItem(int window, int item, const std::string& text) {
  WindowRecord* record = FindWindowRecord(window);
  if (!record || !record->lastMenu) return false;
  QAction* action = record->lastMenu->addAction(QString::fromStdString(text));
  QObject::connect(action, &QAction::triggered, action, [window, item] {
    UiEvent event;
    event.kind = EventKind::Menu;
    event.window = window;
    event.menuItem = item;
    QueueUiEvent(event);
  });
  return true;
}
