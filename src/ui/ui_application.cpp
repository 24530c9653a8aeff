// Starting and stopping the toolkit.
#include <QApplication>
#include <QFont>
#include <QtGlobal>

#include <cstdlib>
#include <vector>

#include "ui/ui.h"
#include "ui/ui_registry.h"

namespace {

// The toolkit keeps references to these for its whole life.
int argumentCount = 1;
char programName[] = "vellora";
char* arguments[] = {programName, nullptr};

QApplication* ownApplication = nullptr;

// The window's layout is in fixed pixels, sized for a compact sans-serif face of this pixel height;
// larger desktop defaults would clip the labels.
constexpr int ControlFontPixels = 11;

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

// While the toolkit starts, its messages are held back. When it cannot open the display it names, or has no
// platform it can start, it reports a fatal error and would abort; the program then ends quietly with
// status 0 instead, as it does whenever its window cannot be opened.
void StartUpMessage(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type == QtFatalMsg) std::_Exit(0);
}

}  // namespace

bool UiInitialise() {
  if (QCoreApplication::instance()) return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
  if (!DisplayReachable()) return false;
  const QtMessageHandler previous = qInstallMessageHandler(StartUpMessage);
  ownApplication = new QApplication(argumentCount, arguments);
  qInstallMessageHandler(previous);
  QApplication::setQuitOnLastWindowClosed(false);
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
