// Start values of the shared state and the conversions that keep each setting equal to its control.
#include "app/settings.h"

#include <cmath>

#include "app/control_ids.h"

SynthSettingsRecord SynthSettings;
Colour BrushColor = White;
std::int32_t Tool = BrushToggle;
std::int32_t LineStartX = 0;
std::int32_t LineStartY = 0;
std::int32_t LastFrqFrom = 90;
std::int32_t LastFrqTo = 9000;
std::int32_t RepeatFlag = 0;
std::int32_t QuitFlag = 0;
int BandLevelEditorNumber = -1;

void ResetGlobals() {
  SynthSettings = SynthSettingsRecord{};
  SynthSettings.SampleCount = ComputeSampleCount(SynthSettings.SampleRate, SynthSettings.Duration);
  BrushColor = White;
  Tool = BrushToggle;
  LineStartX = 0;
  LineStartY = 0;
  LastFrqFrom = SynthSettings.FrqFrom;
  LastFrqTo = SynthSettings.FrqTo;
  RepeatFlag = 0;
  QuitFlag = 0;
  BandLevelEditorNumber = -1;
}

// std::nearbyint rounds half to even in the default rounding mode.
std::int32_t ComputeSampleCount(std::int32_t sampleRate, float duration) {
  return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(sampleRate) * static_cast<double>(duration)));
}

float DurationFromMilliseconds(int milliseconds) { return static_cast<float>(milliseconds / 1000.0); }

float FractionFromPosition(int position) { return static_cast<float>(position / 100.0); }
