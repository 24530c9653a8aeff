// The "?" menu: the About message and the help window that explains every control.
#pragma once

#include <string>

// The help text: an empty first line, then one line for each piece, in order.
std::string BuildHelpText();
// Opens the help window (replacing an open one) with the help text; a window that cannot open is dropped.
void OpenHelpWindow();
// Shows the modal About message and returns when it is dismissed.
void ShowAboutMessage();
