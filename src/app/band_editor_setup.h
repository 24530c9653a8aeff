// The program's one band level editor: its place, its colours and the settings it is given at start-up.
#pragma once

#include "distribution/band_level_editor.h"

// Creates the editor in the main window and gives it the program's settings; the handle, 0 on failure.
BandEditorHandle CreateApplicationBandEditor();
// The same editor's record as start-up leaves it, without a window (for rendering without a screen).
BandLevelEditor ApplicationBandEditorRecord();
