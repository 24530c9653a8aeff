// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests' driver: input through the toolkit's test events, answers for the program's dialogs.
#include "support/ui_driver.h"
#include <QAbstractSlider>
#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <QApplication>
#include <QColorDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

void MouseOn(int control, MouseStep step, QPoint at, Qt::MouseButton button) {
  QWidget* widget = UiWidget(control);
  QWindow* window = widget->window()->windowHandle();
  at = widget->mapTo(widget->window(), at);
  if (step == MouseStep::Press) QTest::mousePress(window, button, Qt::NoModifier, at);
  if (step == MouseStep::Move) QTest::mouseMove(window, at);
  if (step == MouseStep::Release) QTest::mouseRelease(window, button, Qt::NoModifier, at);
  if (step == MouseStep::DoubleClick) QTest::mouseDClick(window, button, Qt::NoModifier, at);
}

void Pump() { QCoreApplication::processEvents(), HandlePendingEvents(); }

void Drag(int control, const std::vector<QPoint>& path) {
  MouseOn(control, MouseStep::Press, path.front());
  for (QPoint to : path) MouseOn(control, MouseStep::Move, to), Pump();
  MouseOn(control, MouseStep::Release, path.back()), Pump();
}

void Click(int control) {
  for (MouseStep step : {MouseStep::Press, MouseStep::Release})
    MouseOn(control, step, UiWidget(control)->rect().center());
  Pump();
}

void SetByUser(int control, int value) {
  // setSliderPosition is how a drag or a key moves a slider; the spin box's arrows end in setValue.
  if (auto* slider = qobject_cast<QAbstractSlider*>(UiWidget(control))) slider->setSliderPosition(value);
  if (auto* spin = qobject_cast<QSpinBox*>(UiWidget(control))) spin->setValue(value);
  Pump();
}

void Menu(const char* title, const char* item) {
  // The item's action is triggered as a click on it in the open menu triggers it.
  for (QAction* titleAction : UiWindowWidget(MainWindow)->findChild<QMenuBar*>()->actions())
    for (QAction* action : titleAction->text() == title ? titleAction->menu()->actions() : QList<QAction*>())
      if (action->text() == item) return action->trigger(), Pump();
  ADD_FAILURE() << "no menu item " << title << " / " << item;
}

// Runs action once on the next modal widget of the kind (class or name) to become active: a timer looks every 5 ms.
void WhenModalAppears(const char* kind, std::function<void(QWidget*)> action) {
  QPointer<QWidget> before = QApplication::activeModalWidget();
  auto* timer = new QTimer(QCoreApplication::instance());
  QObject::connect(timer, &QTimer::timeout, timer, [=] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == before || !modal->isVisible() || (!modal->inherits(kind) && modal->objectName() != kind)) return;
    timer->stop();
    timer->deleteLater();
    action(modal);
  });
  timer->start(5);
}

void AnswerFileDialog(const std::string& path, std::function<void()> afterAccept) {
  WhenModalAppears("QFileDialog", [path, afterAccept](QWidget* dialog) {
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();
    if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();  // a name the requester refuses cancels it
    if (afterAccept) afterAccept();
  });
}

void AnswerColourDialog(std::optional<Colour> colour) {
  WhenModalAppears("QColorDialog", [colour](QWidget* modal) {
    auto* dialog = static_cast<QColorDialog*>(modal);
    if (colour) dialog->setCurrentColor(QColor(RedOf(*colour), GreenOf(*colour), BlueOf(*colour)));
    colour ? dialog->accept() : dialog->reject();
  });
}

// The title as the window system shows it: under X11 the window's _NET_WM_NAME, or its WM_NAME without one.
static std::string ShownTitle(QWidget* window) {
  if (QGuiApplication::platformName() != "xcb") return window->windowTitle().toStdString();
  std::string printed(4096, '\0');
  FILE* xprop = popen(("xprop -id " + std::to_string(window->winId()) + " _NET_WM_NAME WM_NAME").c_str(), "r");
  printed.resize(xprop ? std::fread(printed.data(), 1, printed.size(), xprop) : 0);
  if (xprop) pclose(xprop);
  const std::size_t start = printed.find(" = ") + 3, end = printed.find('\n', start);  // NAME(TYPE) = "text"
  if (start < 3) return "(no title: " + printed + ")";
  const std::string shown = printed.substr(start, end - start);
  return shown.size() >= 2 && shown.front() == '"' ? shown.substr(1, shown.size() - 2) : shown;
}

void DismissMessageBox(std::string* title, std::string* text) {
  WhenModalAppears("QMessageBox", [title, text](QWidget* box) {
    if (title) *title = ShownTitle(box);
    if (text) *text = static_cast<QMessageBox*>(box)->text().toStdString();
    static_cast<QMessageBox*>(box)->accept();
  });
}

void AnswerImportDialog(const std::optional<ImportChoice>& choice, bool accept, QImage* preview, QString* notes) {
  WhenModalAppears("importDialog", [=](QWidget* dialog) {
    // Through each control's own setter, which reports the change as input does; one the dialog lacks is skipped.
    auto set = [dialog, &choice](const char* control, const char* property, QVariant value) {
      QWidget* widget = choice ? dialog->findChild<QWidget*>(control) : nullptr;
      if (widget) widget->setProperty(property, value);
    };
    const ImportChoice c = choice.value_or(ImportChoice{});
    set(c.decibels ? "decibels" : "amplitude", "checked", true), set("range", "value", c.rangeDb);
    set(c.nearestRow ? "nearest" : "between", "checked", true), set("gain", "value", c.gainDb);
    set("fit", "checked", c.fitRange), set("channel", "currentIndex", c.channel), set("start", "value", c.startMs);
    while (dialog->property("previewPending").toBool()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (preview) *preview = dialog->findChild<QWidget*>("preview")->property("pixmap").value<QPixmap>().toImage();
    if (notes) *notes = dialog->findChild<QWidget*>("notes")->property("text").toString();
    QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
  });
}

void AnswerMidiImportDialog(const std::optional<NoteChoice>& choice, bool accept, QImage* preview, QString* text) {
  WhenModalAppears("midiImportDialog", [=](QWidget* dialog) {
    auto* tracks = dialog->findChild<QListWidget*>("tracks");
    for (int row = 0; choice && row < tracks->count(); ++row)
      tracks->item(row)->setCheckState(std::size_t(row) >= choice->tracks.size() || choice->tracks[row] ? Qt::Checked : Qt::Unchecked);
    for (int channel = 0; choice && channel < MidiChannels; ++channel)
      dialog->findChild<QCheckBox*>(QStringLiteral("channel%1").arg(channel + 1))->setChecked(choice->channels[channel]);
    if (choice) dialog->findChild<QRadioButton*>(choice->fitDuration ? "fitDuration" : "setDuration")->setChecked(true);
    if (choice) dialog->findChild<QRadioButton*>(choice->paintOver ? "paintOver" : "replace")->setChecked(true);
    if (preview) *preview = dialog->findChild<QWidget*>("preview")->property("pixmap").value<QPixmap>().toImage();
    if (text) *text = dialog->findChild<QWidget*>("notes")->property("text").toString();
    QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
  });
}

void AnswerMidiExportDialog(int silenceBelow, bool accept, QString* text) {
  WhenModalAppears("midiExportDialog", [=](QWidget* dialog) {
    dialog->findChild<QSpinBox*>("silenceBelow")->setValue(silenceBelow);
    if (text) *text = dialog->findChild<QWidget*>("notes")->property("text").toString();
    QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, accept ? Qt::Key_Return : Qt::Key_Escape);
  });
}

std::vector<UiEvent> PumpEvents() {
  std::vector<UiEvent> events;
  for (UiEvent event; UiPollEvent(event);) events.push_back(event);
  return events;
}

const Raster& CanvasOf(int control) { return *UiCanvasPicture(control); }
