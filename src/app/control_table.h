// The main window's controls: where each sits, what it shows and how it starts.
#pragma once

#include <span>
#include <string_view>

#include "ui/ui.h"

struct ControlEntry {
  int number;
  ControlKind kind;
  int x, y, width, height;
  std::string_view label;
  int minimum, maximum;
  int startState;  // -1 when the control has no state of its own to set
  bool confinePointer;
};

// The controls of the main window in creation order (the band level editor, created first, is not listed).
std::span<const ControlEntry> MainControls();
// The entry of a control number, nullptr when it is not in the table.
const ControlEntry* FindControlEntry(int number);
