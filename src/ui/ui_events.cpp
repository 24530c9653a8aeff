// Handing the queued events to the program's loop.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

#include "ui/ui.h"
#include "ui/ui_registry.h"

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
