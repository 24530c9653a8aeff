// The painting tools of the canvas (brush and rubber-band line) and the handlers of the tool buttons.
#pragma once

#include "ui/ui.h"

// A mouse event on the canvas at (x, y) with the buttons held: a left press snapshots and paints,
// a move with the left button held paints, everything else does nothing.
void HandleCanvasEvent(ControlEventType type, int x, int y, int buttons);
// Paints with the current tool at (x, y) for a press or a move.
void PaintAt(int x, int y, ControlEventType type);
// Makes the clicked tool toggle the pressed one and the other released; sets Tool.
void HandleToolToggle(int control);
// Lets the user choose the brush colour; the swatch follows. A cancel changes nothing.
void HandleColorButton();
// Turns the whole canvas black.
void HandleClearButton();
