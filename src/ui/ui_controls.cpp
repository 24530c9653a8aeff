// SPDX-License-Identifier: GPL-3.0-or-later
// Creating the numbered controls of a window.
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>

#include <algorithm>

#include "ui/ui.h"
#include "ui/ui_canvas_widget.h"
#include "ui/ui_registry.h"

namespace {

constexpr int FirstAssignedNumber = 1000;

// A spin box that steps by its arrows, the arrow keys and the wheel; its text cannot be typed over.
class StepOnlySpinBox : public QSpinBox {
 public:
  explicit StepOnlySpinBox(QWidget* parent) : QSpinBox(parent) {
    lineEdit()->setReadOnly(true);
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    // Without the frame a 30-pixel box still has room for a two-digit value beside its arrows.
    setFrame(false);
  }

 protected:
  // Enter would re-read the unchanged text and announce the same value again.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Enter || event->key() == Qt::Key_Return) {
      event->ignore();
      return;
    }
    QSpinBox::keyPressEvent(event);
  }
};

// Reports the pointer coming onto and going off a control; the control itself handles the events as before.
class PointerCrossingReporter : public QObject {
 public:
  PointerCrossingReporter(int window, int control, QObject* parent)
      : QObject(parent), window_(window), control_(control) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Enter) QueueControlEvent(window_, control_, ControlEventType::PointerEnter);
    if (event->type() == QEvent::Leave) QueueControlEvent(window_, control_, ControlEventType::PointerLeave);
    return QObject::eventFilter(watched, event);
  }

 private:
  int window_;
  int control_;
};

int FreeNumber() {
  int number = FirstAssignedNumber;
  while (UiControls().count(number)) ++number;
  return number;
}

QWidget* MakeButton(int window, int number, const ControlOptions& options, QWidget* parent, bool toggle) {
  auto* button = new QPushButton(QString::fromStdString(options.label), parent);
  button->setCheckable(toggle);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(button, &QPushButton::clicked, button, [window, number] { QueueActivated(window, number); });
  return button;
}

QWidget* MakeCheckbox(int window, int number, const ControlOptions& options, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromStdString(options.label), parent);
  box->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(box, &QCheckBox::clicked, box, [window, number] { QueueActivated(window, number); });
  return box;
}

QWidget* MakeSpinBox(int window, int number, const ControlOptions& options, QWidget* parent) {
  auto* spin = new StepOnlySpinBox(parent);
  {
    const QSignalBlocker quiet(spin);
    spin->setRange(options.minimum, std::max(options.minimum, options.maximum));
    spin->setSingleStep(1);
    spin->setValue(options.minimum);
  }
  spin->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(spin, &QSpinBox::valueChanged, spin, [window, number] { QueueActivated(window, number); });
  return spin;
}

QWidget* MakeSlider(int window, int number, const ControlOptions& options, QWidget* parent,
                    Qt::Orientation orientation) {
  auto* slider = new QSlider(orientation, parent);
  {
    const QSignalBlocker quiet(slider);
    slider->setRange(options.minimum, std::max(options.minimum, options.maximum));
    slider->setSingleStep(1);
    slider->setValue(options.minimum);
  }
  slider->setTickPosition(QSlider::NoTicks);
  slider->setTracking(true);
  slider->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(slider, &QSlider::valueChanged, slider, [window, number] { QueueActivated(window, number); });
  QObject::connect(slider, &QSlider::sliderReleased, slider, [window, number] { QueueActivated(window, number); });
  slider->installEventFilter(new PointerCrossingReporter(window, number, slider));
  return slider;
}

QWidget* MakeLabel(const ControlOptions& options, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setText(QString::fromStdString(options.label));
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setFocusPolicy(Qt::NoFocus);
  return label;
}

// The frame lies under every other control and lets the mouse through to what it surrounds.
QWidget* MakeGroupFrame(const ControlOptions& options, QWidget* parent) {
  auto* frame = new QGroupBox(QString::fromStdString(options.label), parent);
  // The title sits on the top edge of the rectangle, so the rectangle starts near the frame's own top.
  frame->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
                                      "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"));
  frame->setAttribute(Qt::WA_TransparentForMouseEvents);
  frame->setFocusPolicy(Qt::NoFocus);
  return frame;
}

QWidget* MakeRichText(QWidget* parent) {
  auto* text = new QTextEdit(parent);
  text->setReadOnly(true);
  text->setAcceptRichText(false);
  text->setUndoRedoEnabled(false);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  text->setLineWrapMode(QTextEdit::NoWrap);
  text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text->setFocusPolicy(Qt::StrongFocus);
  return text;
}

QWidget* MakeControl(int window, int number, ControlKind kind, int width, int height,
                     const ControlOptions& options, QWidget* parent) {
  switch (kind) {
    case ControlKind::Canvas:
      return new CanvasWidget(window, number, width, height, options.confinePointer, parent);
    case ControlKind::Button:
    case ControlKind::ImageButton:
      return MakeButton(window, number, options, parent, false);
    case ControlKind::ToggleButton:
      return MakeButton(window, number, options, parent, true);
    case ControlKind::Checkbox:
      return MakeCheckbox(window, number, options, parent);
    case ControlKind::SpinBox:
      return MakeSpinBox(window, number, options, parent);
    case ControlKind::HorizontalSlider:
      return MakeSlider(window, number, options, parent, Qt::Horizontal);
    case ControlKind::VerticalSlider:
      return MakeSlider(window, number, options, parent, Qt::Vertical);
    case ControlKind::Label:
      return MakeLabel(options, parent);
    case ControlKind::GroupFrame:
      return MakeGroupFrame(options, parent);
    case ControlKind::RichText:
      return MakeRichText(parent);
  }
  return nullptr;
}

}  // namespace

int UiCreateControl(int window, int number, ControlKind kind, int x, int y, int width, int height,
                    const ControlOptions& options) {
  WindowRecord* windowRecord = FindWindowRecord(window);
  if (!windowRecord || width <= 0 || height <= 0) return -1;
  if (number == -1) number = FreeNumber();
  if (number < 0 || UiControls().count(number)) return -1;

  QWidget* widget = MakeControl(window, number, kind, width, height, options, windowRecord->client);
  if (!widget) return -1;
  widget->setGeometry(x, y, width, height);
  if (kind == ControlKind::GroupFrame) widget->lower();
  widget->show();

  if (widget->focusPolicy() & Qt::TabFocus) {
    if (windowRecord->lastFocusable) QWidget::setTabOrder(windowRecord->lastFocusable, widget);
    windowRecord->lastFocusable = widget;
  }

  ControlRecord record;
  record.window = window;
  record.kind = kind;
  record.widget = widget;
  record.text = options.label;
  UiControls()[number] = record;
  if (kind == ControlKind::RichText) UiSetText(number, options.label);
  return number;
}

bool UiControlExists(int control) { return FindControlRecord(control) != nullptr; }
