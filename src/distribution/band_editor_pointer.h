// Pure pointer handling of the band level editor: where a dragged point goes and what each event does.
#pragma once

#include "distribution/band_level_editor.h"
#include "ui/ui.h"

// What the control has to do after an event besides reporting the result.
struct BandPointerEffects {
  bool redraw = false;     // the held point moved
  bool setCursor = false;  // a move while nothing is held picks the pointer shape
  CursorShape cursor = CursorShape::Arrow;
};

// The new position of held point d for the (already clamped) pointer (px, py): end points move only
// vertically (the last one to x = width), interior points follow the stack, border and neighbour rules;
// a d that names no point gives the pointer position itself.
BandPoint DraggedPointPosition(const BandLevelEditor& editor, int d, int px, int py);
// Handles one pointer event at (px, py) relative to the control; 1 when a release ends holding a point.
int HandleBandPointer(BandLevelEditor& editor, ControlEventType type, int px, int py,
                      BandPointerEffects* effects = nullptr);
