// SPDX-License-Identifier: GPL-3.0-or-later
// The canvas control: a picture of its own, shown 1:1, reporting the mouse over it.
#pragma once

#include <QImage>
#include <QMouseEvent>
#include <QWidget>

#include <mutex>

#include "picture/raster.h"

// A copy of the picture as a toolkit image of the same size and colours (a null image for an empty picture).
QImage RasterToImage(const Raster& picture);

class CanvasWidget : public QWidget {
 public:
  CanvasWidget(int window, int control, int width, int height, bool confinePointer, QWidget* parent);

  Raster& Picture() { return picture_; }
  // Shows the picture as it is now; from the main thread at once, from another thread at the next
  // chance the main thread gets to paint (a newer picture replaces one not yet shown).
  void ShowPicture();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Report(QMouseEvent* event, bool leftPress, bool leftRelease);
  void ShowPending();

  int window_;
  int control_;
  bool confinePointer_;
  Raster picture_;
  QImage shown_;  // what the screen shows; touched on the main thread only

  std::mutex pendingLock_;  // guards the two below, filled by other threads
  QImage pending_;
  bool pendingPosted_ = false;
};
