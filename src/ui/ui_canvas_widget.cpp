// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas control: a picture of its own, shown 1:1, reporting the mouse over it.
#include "ui/ui_canvas_widget.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPainter>
#include <QPointer>
#include <QThread>

#include <algorithm>

#include "ui/ui.h"
#include "ui/ui_registry.h"

namespace {

int ButtonBits(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= LeftButtonBit;
  if (buttons & Qt::RightButton) bits |= RightButtonBit;
  if (buttons & Qt::MiddleButton) bits |= MiddleButtonBit;
  return bits;
}

bool OnMainThread() {
  return QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
}

}  // namespace

CanvasWidget::CanvasWidget(int window, int control, int width, int height, bool confinePointer,
                           QWidget* parent)
    : QWidget(parent),
      window_(window),
      control_(control),
      confinePointer_(confinePointer),
      picture_(width, height, White),
      shown_(RasterToImage(picture_)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CanvasWidget::ShowPicture() {
  if (OnMainThread()) {
    shown_ = RasterToImage(picture_);
    repaint();
    return;
  }
  // The drawing thread owns the picture meanwhile, so the copy is taken here, on that thread.
  QImage frame = RasterToImage(picture_);
  std::lock_guard<std::mutex> hold(pendingLock_);
  pending_ = std::move(frame);
  if (pendingPosted_) return;
  pendingPosted_ = true;
  QPointer<CanvasWidget> self(this);
  QMetaObject::invokeMethod(
      this, [self] { if (self) self->ShowPending(); }, Qt::QueuedConnection);
}

void CanvasWidget::ShowPending() {
  {
    std::lock_guard<std::mutex> hold(pendingLock_);
    pendingPosted_ = false;
    if (pending_.isNull()) return;
    shown_ = std::move(pending_);
    pending_ = QImage();
  }
  repaint();
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), Qt::white);
  painter.drawImage(QPoint(0, 0), shown_);
}

void CanvasWidget::Report(QMouseEvent* event, bool leftPress, bool leftRelease) {
  UiEvent report;
  report.kind = EventKind::Control;
  report.window = window_;
  report.control = control_;
  report.buttons = ButtonBits(event->buttons());
  if (leftPress) {
    report.type = ControlEventType::LeftButtonDown;
  } else if (leftRelease) {
    report.type = ControlEventType::LeftButtonUp;
  } else if (event->type() == QEvent::MouseMove) {
    report.type = ControlEventType::MouseMove;
  } else {
    report.type = ControlEventType::OtherMouse;
  }

  QPoint position = event->position().toPoint();
  const bool captured = event->buttons() != Qt::NoButton || event->type() == QEvent::MouseButtonRelease;
  if (confinePointer_ && captured) {
    const QPoint inside(std::clamp(position.x(), 0, std::max(0, width() - 1)),
                        std::clamp(position.y(), 0, std::max(0, height() - 1)));
    if (inside != position && event->type() == QEvent::MouseMove) QCursor::setPos(mapToGlobal(inside));
    position = inside;
  }
  report.x = position.x();
  report.y = position.y();
  QueueUiEvent(report);
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
  Report(event, event->button() == Qt::LeftButton, false);
}

// A double click is a further press as far as the program is concerned.
void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  Report(event, event->button() == Qt::LeftButton, false);
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
  Report(event, false, event->button() == Qt::LeftButton);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) { Report(event, false, false); }

void CanvasWidget::wheelEvent(QWheelEvent* event) {
  UiEvent report;
  report.kind = EventKind::Control;
  report.window = window_;
  report.control = control_;
  report.type = ControlEventType::OtherMouse;
  report.x = event->position().toPoint().x();
  report.y = event->position().toPoint().y();
  report.buttons = ButtonBits(event->buttons());
  QueueUiEvent(report);
}

void CanvasWidget::leaveEvent(QEvent* event) {
  QueueControlEvent(window_, control_, ControlEventType::PointerLeave);
  QWidget::leaveEvent(event);
}

namespace {

constexpr uchar Opaque = 0xFF;

}  // namespace

QImage RasterToImage(const Raster& picture) {
  if (picture.width <= 0 || picture.height <= 0) return {};
  // RGBX8888 stores the bytes R, G, B, 255 whatever the machine's byte order.
  QImage image(picture.width, picture.height, QImage::Format_RGBX8888);
  if (image.isNull()) return {};
  for (int y = 0; y < picture.height; ++y) {
    const Colour* source = &picture.pixels[static_cast<std::size_t>(y) * picture.width];
    uchar* target = image.scanLine(y);
    for (int x = 0; x < picture.width; ++x) {
      target[4 * x] = RedOf(source[x]);
      target[4 * x + 1] = GreenOf(source[x]);
      target[4 * x + 2] = BlueOf(source[x]);
      target[4 * x + 3] = Opaque;
    }
  }
  return image;
}
