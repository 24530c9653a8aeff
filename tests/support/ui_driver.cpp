// Drives the real windows of the program in tests, the way a user would.
#include "support/ui_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "ui/ui_qt.h"

namespace {

constexpr int ModalPollMilliseconds = 5;

struct WindowPoint {
  QWindow* window = nullptr;
  QPoint point;
};

// Where a point given relative to the control lies in its top-level window.
WindowPoint OnWindow(int control, QPoint point) {
  QWidget* widget = UiWidget(control);
  if (!widget) return {};
  QWidget* top = widget->window();
  return {top->windowHandle(), widget->mapTo(top, point)};
}

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

}  // namespace

namespace {

// Waits for the next modal widget of the kind T, so helpers arranged together (a file dialog, then the
// message box it leads to) each answer their own.
template <typename T>
void WhenModalOfKindAppears(std::function<void(T*)> action) {
  QPointer<QWidget> before = QApplication::activeModalWidget();
  auto* timer = new QTimer(QCoreApplication::instance());
  timer->setInterval(ModalPollMilliseconds);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, before, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == before || !modal->isVisible()) return;
    T* wanted = qobject_cast<T*>(modal);
    if (!wanted) return;
    timer->stop();
    timer->deleteLater();
    action(wanted);
  });
  timer->start();
}

}  // namespace

void WhenModalAppears(std::function<void(QWidget*)> action) { WhenModalOfKindAppears<QWidget>(action); }

void CancelNextDialog() {
  WhenModalAppears([](QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
  });
}

void AnswerNextFileDialog(const std::string& path, int filterIndex) {
  WhenModalOfKindAppears<QFileDialog>([path, filterIndex](QFileDialog* dialog) {
    const QStringList filters = dialog->nameFilters();
    if (filterIndex >= 0 && filterIndex < filters.size()) dialog->selectNameFilter(filters[filterIndex]);
    // Typed into the name field, the way a user enters it, then confirmed.
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
      name->setText(QString::fromStdString(path));
    else
      dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();  // as the dialog's own button does
  });
}

void AnswerNextColourDialog(Colour colour) {
  WhenModalOfKindAppears<QColorDialog>([colour](QColorDialog* dialog) {
    dialog->setCurrentColor(QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)));
    dialog->accept();
  });
}

void DismissNextMessageBox(std::string* title, std::string* text) {
  WhenModalOfKindAppears<QMessageBox>([title, text](QMessageBox* box) {
    if (title) *title = box->windowTitle().toStdString();
    if (text) *text = box->text().toStdString();
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
    else box->accept();
  });
}

bool ActivateWindow(int window) {
  QWidget* frame = UiWindowWidget(window);
  if (!frame) return false;
  frame->activateWindow();
  return QTest::qWaitForWindowActive(frame);
}

void ClickControl(int control, Qt::MouseButton button) {
  if (QWidget* widget = UiWidget(control)) ClickControlAt(control, widget->rect().center(), button);
}

void ClickControlAt(int control, QPoint point, Qt::MouseButton button) {
  const WindowPoint at = OnWindow(control, point);
  if (at.window) QTest::mouseClick(at.window, button, Qt::NoModifier, at.point);
}

void DoubleClickOnControl(int control, QPoint point) {
  const WindowPoint at = OnWindow(control, point);
  if (at.window) QTest::mouseDClick(at.window, Qt::LeftButton, Qt::NoModifier, at.point);
}

void PressOnControl(int control, QPoint point, Qt::MouseButton button) {
  const WindowPoint at = OnWindow(control, point);
  if (at.window) QTest::mousePress(at.window, button, Qt::NoModifier, at.point);
}

void MoveOnControl(int control, QPoint point) {
  const WindowPoint at = OnWindow(control, point);
  if (at.window) QTest::mouseMove(at.window, at.point);
}

void ReleaseOnControl(int control, QPoint point, Qt::MouseButton button) {
  const WindowPoint at = OnWindow(control, point);
  if (at.window) QTest::mouseRelease(at.window, button, Qt::NoModifier, at.point);
}

void DragOnControl(int control, const std::vector<QPoint>& path, Qt::MouseButton button) {
  if (path.empty()) return;
  PressOnControl(control, path.front(), button);
  for (std::size_t i = 1; i < path.size(); ++i) MoveOnControl(control, path[i]);
  ReleaseOnControl(control, path.back(), button);
}

void FocusControl(int control) {
  QWidget* widget = UiWidget(control);
  if (!widget) return;
  QWidget* top = widget->window();
  if (!top->isActiveWindow()) {
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top)) return;
  }
  widget->setFocus(Qt::TabFocusReason);
}

void KeyOnControl(int control, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QWidget* widget = UiWidget(control);
  if (!widget) return;
  FocusControl(control);
  QTest::keyClick(widget->window()->windowHandle(), key, modifiers);
}

void KeyOnWindow(int window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if (QWidget* frame = UiWindowWidget(window)) QTest::keyClick(frame->windowHandle(), key, modifiers);
}

int FocusedControl(int window) {
  QWidget* frame = UiWindowWidget(window);
  return frame ? UiControlOf(frame->focusWidget()) : -1;
}

bool ChooseMenuItem(int window, const std::string& title, const std::string& item) {
  QWidget* frame = UiWindowWidget(window);
  auto* bar = frame ? frame->findChild<QMenuBar*>() : nullptr;
  if (!bar) return false;
  QAction* titleAction = nullptr;
  for (QAction* action : bar->actions())
    if (Plain(action->text()) == QString::fromStdString(title)) titleAction = action;
  if (!titleAction || !titleAction->menu()) return false;

  QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    bar->mapTo(frame, bar->actionGeometry(titleAction).center()));
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (!menu || !QTest::qWaitForWindowExposed(menu)) return false;
  for (QAction* action : menu->actions()) {
    if (Plain(action->text()) != QString::fromStdString(item)) continue;
    QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
    return true;
  }
  menu->close();
  return false;
}

void ClickCloseBox(int window) {
  if (QWidget* frame = UiWindowWidget(window)) frame->windowHandle()->close();
}

std::vector<UiEvent> PumpEvents() {
  std::vector<UiEvent> events;
  UiEvent event;
  // Two quiet rounds in a row: what one round delivers may post more for the next.
  for (int quietRounds = 0; quietRounds < 2;) {
    if (UiPollEvent(event)) {
      events.push_back(event);
      quietRounds = 0;
    } else {
      ++quietRounds;
    }
  }
  return events;
}

std::vector<UiEvent> PumpControlEvents(int control) {
  std::vector<UiEvent> mine;
  for (const UiEvent& event : PumpEvents())
    if (event.kind == EventKind::Control && event.control == control) mine.push_back(event);
  return mine;
}

QImage GrabControl(int control) {
  QWidget* widget = UiWidget(control);
  return widget ? widget->grab().toImage() : QImage();
}
