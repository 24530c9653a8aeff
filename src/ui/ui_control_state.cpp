// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and setting the state, text, picture, image and cursor of a control.
// Nothing set here reports an event: the signals of the widget are held back meanwhile.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTextEdit>

#include <charconv>

#include "ui/ui.h"
#include "ui/ui_canvas_widget.h"
#include "ui/ui_registry.h"

namespace {

// The text with every line end ("\n", "\r\n" or a lone "\r") turned into "\n". A line end at the
// very end closes the last line and starts no empty one.
std::string DisplayLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines += '\n';
    } else {
      lines += c;
    }
  }
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  return lines;
}


bool IsOnOff(ControlKind kind) { return kind == ControlKind::ToggleButton || kind == ControlKind::Checkbox; }

bool IsRanged(ControlKind kind) {
  return kind == ControlKind::SpinBox || kind == ControlKind::HorizontalSlider ||
         kind == ControlKind::VerticalSlider;
}

void SetRangedValue(QWidget* widget, int value) {
  if (auto* spin = qobject_cast<QSpinBox*>(widget)) spin->setValue(value);
  if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) slider->setValue(value);
}

int RangedValue(QWidget* widget) {
  if (auto* spin = qobject_cast<QSpinBox*>(widget)) return spin->value();
  if (auto* slider = qobject_cast<QAbstractSlider*>(widget)) return slider->value();
  return 0;
}

CanvasWidget* FindCanvas(int control) {
  ControlRecord* record = FindControlRecord(control);
  if (!record || record->kind != ControlKind::Canvas) return nullptr;
  return static_cast<CanvasWidget*>(record->widget.data());
}

}  // namespace

int UiGetState(int control) {
  ControlRecord* record = FindControlRecord(control);
  if (!record) return 0;
  if (IsOnOff(record->kind)) return static_cast<QAbstractButton*>(record->widget.data())->isChecked() ? 1 : 0;
  if (IsRanged(record->kind)) return RangedValue(record->widget);
  return 0;
}

void UiSetState(int control, int value) {
  ControlRecord* record = FindControlRecord(control);
  if (!record) return;
  const QSignalBlocker quiet(record->widget.data());
  if (IsOnOff(record->kind)) static_cast<QAbstractButton*>(record->widget.data())->setChecked(value != 0);
  if (IsRanged(record->kind)) SetRangedValue(record->widget, value);
}

void UiSetText(int control, const std::string& text) {
  ControlRecord* record = FindControlRecord(control);
  if (!record) return;
  record->text = text;
  QWidget* widget = record->widget;
  const QSignalBlocker quiet(widget);
  const QString shown = QString::fromStdString(text);
  switch (record->kind) {
    case ControlKind::Button:
    case ControlKind::ToggleButton:
    case ControlKind::ImageButton:
    case ControlKind::Checkbox:
      static_cast<QAbstractButton*>(widget)->setText(shown);
      break;
    case ControlKind::Label:
      static_cast<QLabel*>(widget)->setText(shown);
      break;
    case ControlKind::GroupFrame:
      static_cast<QGroupBox*>(widget)->setTitle(shown);
      break;
    case ControlKind::RichText:
      static_cast<QTextEdit*>(widget)->setPlainText(QString::fromStdString(DisplayLines(text)));
      break;
    case ControlKind::SpinBox:
    case ControlKind::HorizontalSlider:
    case ControlKind::VerticalSlider: {
      int value = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
      if (error == std::errc() && end == text.data() + text.size()) SetRangedValue(widget, value);
      break;
    }
    case ControlKind::Canvas:
      break;
  }
}

std::string UiGetText(int control) {
  ControlRecord* record = FindControlRecord(control);
  if (!record) return {};
  if (IsRanged(record->kind)) return std::to_string(RangedValue(record->widget));
  return record->text;
}

Raster* UiCanvasPicture(int control) {
  CanvasWidget* canvas = FindCanvas(control);
  return canvas ? &canvas->Picture() : nullptr;
}

void UiRepaintCanvas(int control) {
  if (CanvasWidget* canvas = FindCanvas(control)) canvas->ShowPicture();
}

void UiSetCursor(int control, CursorShape shape) {
  ControlRecord* record = FindControlRecord(control);
  if (!record) return;
  switch (shape) {
    case CursorShape::Arrow:
      record->widget->setCursor(Qt::ArrowCursor);
      break;
    case CursorShape::CrossHair:
      record->widget->setCursor(Qt::CrossCursor);
      break;
    case CursorShape::PointingHand:
      record->widget->setCursor(Qt::PointingHandCursor);
      break;
  }
}

void UiSetButtonImage(int control, const Raster& image) {
  ControlRecord* record = FindControlRecord(control);
  if (!record || record->kind != ControlKind::ImageButton) return;
  auto* button = static_cast<QAbstractButton*>(record->widget.data());
  const QPixmap face = QPixmap::fromImage(RasterToImage(image));
  button->setIcon(QIcon(face));
  button->setIconSize(face.size());
  button->repaint();
}
