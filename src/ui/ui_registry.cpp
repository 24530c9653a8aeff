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

// Events can sit in the toolkit's own queues with the wake-up that announced them already spent: input held back
// while a sound played, or an event another thread queued just as the dispatcher spent its wake-up on something
// else. A blocking wait would sleep on them until some later event arrived, so before every wait the dispatcher is
// woken and every source of events is looked at once more.
void DeliverWaitingEvents() {
  if (!QCoreApplication::instance()) return;
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
  while (UiEventQueue().empty()) {
    if (!QCoreApplication::instance() || UiWindows().empty()) return false;
    DeliverWaitingEvents();
    if (UiEventQueue().empty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return TakeEvent(event);
}

bool UiPollEvent(UiEvent& event) {
  DeliverWaitingEvents();
  return TakeEvent(event);
}

const UiEvent& UiCurrentEvent() { return currentEvent; }

void UiProcessPaintOnly() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
