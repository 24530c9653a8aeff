// SPDX-License-Identifier: GPL-3.0-or-later
// The windowing layer's own bookkeeping: open windows, live controls and the queue of events.
// Internal to src/ui; every function here runs on the main thread unless it says otherwise.
#pragma once

#include <QPointer>
#include <QWidget>

#include <deque>
#include <map>
#include <string>

#include "ui/ui.h"

class QMainWindow;
class QMenu;

struct WindowRecord {
  QPointer<QMainWindow> frame;     // the top-level window
  QPointer<QWidget> client;        // the client area, exactly the size asked for
  QPointer<QMenu> lastMenu;        // the menu that new items go under
  QPointer<QWidget> lastFocusable; // the last control in the window's tab chain
};

struct ControlRecord {
  int window = -1;
  ControlKind kind = ControlKind::Label;
  QPointer<QWidget> widget;
  std::string text;  // what the program set, byte for byte
};

// The live windows and controls, by number.
std::map<int, WindowRecord>& UiWindows();
std::map<int, ControlRecord>& UiControls();

// The window or control of that number, nullptr when there is none (or its widget is gone).
WindowRecord* FindWindowRecord(int window);
ControlRecord* FindControlRecord(int control);

// The events not yet taken by the loop, oldest first.
std::deque<UiEvent>& UiEventQueue();
// Appends an event to the queue the loop reads from.
void QueueUiEvent(const UiEvent& event);
// Queues a control event of type Activated for a non-canvas control.
void QueueActivated(int window, int control);
// Queues a control event of the type with no position and no buttons.
void QueueControlEvent(int window, int control, ControlEventType type);
// Forgets every queued event.
void ClearUiEvents();

// Frees the controls of a window (their widgets go with the window).
void ForgetControlsOf(int window);
