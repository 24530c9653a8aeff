// SPDX-License-Identifier: GPL-3.0-or-later
// The program's state: every global of the run, declared here and set to its start value by ResetGlobals.
// Everything here is read and written on the main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/raster.h"
#include "sound/synthesis.h"
#include "ui/ui.h"

extern SynthSettingsRecord SynthSettings;

// The painting state.
extern Colour BrushColor;
extern std::int32_t Tool;  // the number of the pressed tool toggle: BrushToggle or LineToggle
extern std::int32_t LineStartX;
extern std::int32_t LineStartY;
// The last From and To values, which hold each other's slider in place.
extern std::int32_t LastFrqFrom;
extern std::int32_t LastFrqTo;

extern std::int32_t RepeatFlag;
extern std::int32_t QuitFlag;
extern int BandLevelEditorNumber;  // the band level editor's control number, -1 before it exists
extern bool ReadoutKept;           // the readout line keeps its text, whatever the pointer crosses, until a command

// The synthesis tables and the sound, from the last preparation and rendering.
extern std::vector<float> RowFrequency;  // Hz of each picture row
extern std::vector<float> RowLevel;      // band level of each row
extern std::vector<float> PixelLevel;    // brightness of each pixel, row-major
extern int SynthesisWidth;
extern int SynthesisHeight;
extern std::int32_t SamplesPerColumn;
extern std::vector<float> SoundBuffer;  // the last sound, SampleCount + 1 samples after a synthesis
extern std::int32_t SoundBufferRate;    // the sample rate SoundBuffer was last played at, 0 before the first
// The Import dialog's choices as last taken with OK, offered again by the next one (its channel and start belong
// to that file and start afresh).
extern ImportChoice LastImportChoice;
// The Import MIDI dialog's time and canvas choices as last taken with OK (its tracks and channels belong to that
// file), and the Export MIDI dialog's silence threshold.
extern NoteChoice LastMidiChoice;
extern int LastMidiSilenceBelow;

// Sets every global above to its start value.
void ResetGlobals();
