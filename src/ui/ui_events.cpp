// Handing the queued events to the program's loop.
#include <QCoreApplication>
#include <QEventLoop>

#include "ui/ui.h"
#include "ui/ui_registry.h"

namespace {

UiEvent currentEvent;

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
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return TakeEvent(event);
}

bool UiPollEvent(UiEvent& event) {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  return TakeEvent(event);
}

const UiEvent& UiCurrentEvent() { return currentEvent; }

void UiProcessPaintOnly() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
