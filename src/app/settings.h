// The program's shared state: the sound settings and the painting state, as globals for the whole run.
#pragma once

#include <cstdint>

#include "picture/raster.h"

struct SynthSettingsRecord {
  std::int32_t SampleRate = 3000;      // Hz, SampleRateSlider
  float Duration = 5.0f;               // seconds, SoundDurationSlider / 1000
  std::int32_t SampleCount = 15000;    // SampleRate x Duration, rounded half to even
  std::int32_t FrqFrom = 90;           // Hz, FrqFromSlider
  std::int32_t FrqTo = 9000;           // Hz, FrqToSlider
  std::int32_t FrqDistribution = 0;    // DistributionCheckbox
  float DistA = 0.50f;                 // DistASlider / 100
  float DistB = 0.05f;
  float DistC = 0.75f;
  float DistD = 0.75f;
  std::int32_t BandCurveEdited = 0;    // 1 once the user has changed the band level curve
  std::int32_t PhaseFactor = 6;        // the oscillator's stand-in for 2 pi
};

extern SynthSettingsRecord SynthSettings;

extern Colour BrushColor;
extern std::int32_t Tool;  // the number of the pressed tool toggle: BrushToggle or LineToggle
extern std::int32_t LineStartX;
extern std::int32_t LineStartY;
extern std::int32_t LastFrqFrom;
extern std::int32_t LastFrqTo;
extern std::int32_t RepeatFlag;
extern std::int32_t QuitFlag;
extern int BandLevelEditorNumber;  // the band level editor's control number, -1 before it exists

// Sets every global above to its start value.
void ResetGlobals();

// SampleRate x Duration (the stored 32-bit float) in double precision, rounded half to even.
std::int32_t ComputeSampleCount(std::int32_t sampleRate, float duration);
// A slider's milliseconds as seconds, stored as a 32-bit float.
float DurationFromMilliseconds(int milliseconds);
// A distribution slider's position as a fraction, stored as a 32-bit float.
float FractionFromPosition(int position);
