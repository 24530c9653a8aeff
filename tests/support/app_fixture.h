// A started program for tests that drive the real main window, and user actions that the program's
// own loop then handles, one event at a time, as it would for a user.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QWidget>

#include "picture/raster.h"
#include "support/ui_driver.h"

class AppTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// The real widget of a control or a window.
QWidget* ControlWidget(int control);
QWidget* WindowWidget(int window);
// Lets the toolkit deliver what it has and handles every waiting event as the loop would.
void Pump();
// User actions, each followed by Pump().
void Click(int control);
void MoveSliderTo(int control, int value);  // a slider or spin box moved by the user
void Press(int control, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Move(int control, QPoint to);
void Release(int control, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void Menu(const char* title, const char* item);
// The picture of a canvas control.
const Raster& CanvasOf(int control);
// Number of pixels of the raster that are not black.
int LitCount(const Raster& raster);
