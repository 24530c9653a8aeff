// SPDX-License-Identifier: GPL-3.0-or-later
// Toolkit-side view of the windowing layer, for tests that drive the real widgets.
// Program code never includes this; it talks to src/ui/ui.h only.
#pragma once

#include <QWidget>

// The widget of a control, nullptr when there is no such control.
QWidget* UiWidget(int control);
// The top-level widget of a window (title bar, menu bar and client area), nullptr when it is not open.
QWidget* UiWindowWidget(int window);
// The client area of a window, where controls sit at the positions they were created at; nullptr when closed.
QWidget* UiClientArea(int window);
// The number of the control whose widget is this one or contains it, -1 when none does.
int UiControlOf(const QWidget* widget);
