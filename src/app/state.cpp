// SPDX-License-Identifier: GPL-3.0-or-later
// The globals and their start values, written once: here, or in the sound settings' table.
#include "app/state.h"

#include "app/controls.h"
#include "sound/analysis.h"

SynthSettingsRecord SynthSettings;
Colour BrushColor;
std::int32_t Tool;
std::int32_t LineStartX;
std::int32_t LineStartY;
std::int32_t LastFrqFrom;
std::int32_t LastFrqTo;
std::int32_t RepeatFlag;
std::int32_t QuitFlag;
int BandLevelEditorNumber;
bool ReadoutKept;
std::vector<float> RowFrequency;
std::vector<float> RowLevel;
std::vector<float> PixelLevel;
int SynthesisWidth;
int SynthesisHeight;
std::int32_t SamplesPerColumn;
std::vector<float> SoundBuffer;
std::int32_t SoundBufferRate;
ImportChoice LastImportChoice;
NoteChoice LastMidiChoice;
int LastMidiSilenceBelow = StartSilenceBelow;

namespace {

// Runs before main, so the globals hold their start values even in code that never calls ResetGlobals.
const bool startValuesSet = (ResetGlobals(), true);

}  // namespace

void ResetGlobals() {
  SynthSettings = StartSynthSettings();
  BrushColor = White;
  Tool = BrushToggle;
  LineStartX = 0;
  LineStartY = 0;
  LastFrqFrom = SynthSettings.FrqFrom;
  LastFrqTo = SynthSettings.FrqTo;
  RepeatFlag = 0;
  QuitFlag = 0;
  BandLevelEditorNumber = -1;
  ReadoutKept = false;
  // One zero each (a 1 × 1 picture) until the first synthesis.
  RowFrequency.assign(1, 0.0f);
  RowLevel.assign(1, 0.0f);
  PixelLevel.assign(1, 0.0f);
  SynthesisWidth = 1;
  SynthesisHeight = 1;
  SamplesPerColumn = 0;
  SoundBuffer.assign(1, 0.0f);
  SoundBufferRate = 0;
  const AnalysisChoices analysis;
  LastImportChoice = ImportChoice{};
  LastImportChoice.decibels = analysis.scale == AnalysisScale::Decibels;
  LastImportChoice.rangeDb = static_cast<int>(analysis.rangeDb);
  LastImportChoice.gainDb = static_cast<int>(analysis.gainDb);
  LastImportChoice.nearestRow = analysis.placement == RowPlacement::Nearest;
  LastMidiChoice = NoteChoice{};
  LastMidiSilenceBelow = StartSilenceBelow;
}
