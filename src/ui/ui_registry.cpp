// Keeps the numbered windows and controls and the event queue of the windowing layer.
#include "ui/ui_registry.h"

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

void QueueActivated(int window, int control) {
  UiEvent event;
  event.kind = EventKind::Control;
  event.window = window;
  event.control = control;
  event.type = ControlEventType::Activated;
  QueueUiEvent(event);
}

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
