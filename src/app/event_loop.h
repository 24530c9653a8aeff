// The program's only main loop and the dispatch of each event to its handler.
#pragma once

#include "ui/ui.h"

// Waits for events and handles each to completion until QuitFlag is set or the toolkit is gone.
void RunEventLoop();
// Handles one event: menu items, controls and close boxes of the main and help windows.
void HandleEvent(const UiEvent& event);
// Handles every event already waiting, without blocking; returns how many there were.
int HandlePendingEvents();
