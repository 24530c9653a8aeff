// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the numbered windows and controls and the event queue of the windowing layer, and hands the
// queued events to the program's loop.
#include "ui/ui_registry.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMainWindow>

#include <iterator>

#include "ui/ui_qt.h"

namespace {

std::map<int, WindowRecord> windows;
std::map<int, ControlRecord> controls;
std::deque<UiEvent> events;

}  // namespace

std::map<int, WindowRecord>& UiWindows() { return windows; }
std::map<int, ControlRecord>& UiControls() { return controls; }
std::deque<UiEvent>& UiEventQueue() { return events; }

WindowRecord* FindWindowRecord(int window) {
  auto found = windows.find(window);
  if (found == windows.end() || !found->second.frame) return nullptr;
  return &found->second;
}

ControlRecord* FindControlRecord(int control) {
  auto found = controls.find(control);
  if (found == controls.end() || !found->second.widget) return nullptr;
  return &found->second;
}

void QueueUiEvent(const UiEvent& event) { UiEventQueue().push_back(event); }

void QueueControlEvent(int window, int control, ControlEventType type) {
  UiEvent event;
  event.kind = EventKind::Control;
  event.window = window;
  event.control = control;
  event.type = type;
  QueueUiEvent(event);
}

void QueueActivated(int window, int control) { QueueControlEvent(window, control, ControlEventType::Activated); }

void ClearUiEvents() { UiEventQueue().clear(); }

void ForgetControlsOf(int window) {
  for (auto it = controls.begin(); it != controls.end();) {
    it = it->second.window == window ? controls.erase(it) : std::next(it);
  }
}

QWidget* UiWidget(int control) {
  ControlRecord* record = FindControlRecord(control);
  return record ? record->widget.data() : nullptr;
}

QWidget* UiWindowWidget(int window) {
  WindowRecord* record = FindWindowRecord(window);
  return record ? record->frame.data() : nullptr;
}

QWidget* UiClientArea(int window) {
  WindowRecord* record = FindWindowRecord(window);
  return record ? record->client.data() : nullptr;
}

int UiControlOf(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    for (const auto& [number, record] : UiControls())
      if (record.widget == widget) return number;
  }
  return -1;
}

namespace {

UiEvent currentEvent;
// Set while input may be held back by UiProcessPaintOnly.
bool inputHeld = false;

// Held input has already been taken off the display connection and sits in the toolkit's own queues, which
// wake no one: a blocking wait would sleep on it until some later event arrived. So it is delivered first,
// in its order, with the dispatcher woken so that every source of events is looked at once more.
void DeliverHeldInput() {
  if (!inputHeld || !QCoreApplication::instance()) return;
  inputHeld = false;
  if (QAbstractEventDispatcher* dispatcher = QCoreApplication::eventDispatcher()) dispatcher->wakeUp();
  QCoreApplication::processEvents();
}

bool TakeEvent(UiEvent& event) {
  if (UiEventQueue().empty()) return false;
  event = UiEventQueue().front();
  UiEventQueue().pop_front();
  currentEvent = event;
  return true;
}

}  // namespace

// With no window open nothing can ever be queued, so waiting would never end.
bool UiWaitEvent(UiEvent& event) {
  DeliverHeldInput();
  while (UiEventQueue().empty()) {
    if (!QCoreApplication::instance() || UiWindows().empty()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return TakeEvent(event);
}

bool UiPollEvent(UiEvent& event) {
  DeliverHeldInput();
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  return TakeEvent(event);
}

const UiEvent& UiCurrentEvent() { return currentEvent; }

void UiProcessPaintOnly() {
  if (!QCoreApplication::instance()) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  inputHeld = true;
}
