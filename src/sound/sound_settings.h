// The record synthesis reads the sound settings from, made from the values the controls and the settings
// file hold.
#pragma once

#include <cstdint>

#include "picture/settings_file.h"

// A slider's milliseconds as seconds, stored as a 32-bit float.
constexpr float DurationFromMilliseconds(int milliseconds) { return static_cast<float>(milliseconds / 1000.0); }
// A distribution slider's position as a fraction, stored as a 32-bit float.
constexpr float FractionFromPosition(int position) { return static_cast<float>(position / 100.0); }

struct SynthSettingsRecord {
  std::int32_t SampleRate = SoundSettingRanges[SampleRateSetting].start;  // Hz
  float Duration = DurationFromMilliseconds(SoundSettingRanges[DurationSetting].start);  // seconds
  std::int32_t SampleCount = 0;  // SampleRate x Duration, rounded half to even
  std::int32_t FrqFrom = SoundSettingRanges[FrqFromSetting].start;  // Hz
  std::int32_t FrqTo = SoundSettingRanges[FrqToSetting].start;      // Hz
  std::int32_t FrqDistribution = SoundSettingRanges[DistributionSetting].start;
  float DistA = FractionFromPosition(SoundSettingRanges[DistASetting].start);
  float DistB = FractionFromPosition(SoundSettingRanges[DistBSetting].start);
  float DistC = FractionFromPosition(SoundSettingRanges[DistCSetting].start);
  float DistD = FractionFromPosition(SoundSettingRanges[DistDSetting].start);
  std::int32_t BandCurveEdited = 0;  // 1 once the user has changed the band level curve
  std::int32_t PhaseFactor = 6;      // the oscillator's stand-in for 2 pi
};

// SampleRate x Duration (the stored 32-bit float) in double precision, rounded half to even.
std::int32_t ComputeSampleCount(std::int32_t sampleRate, float duration);
// The settings the values stand for, each clamped first (BandCurveEdited and PhaseFactor at start values).
SynthSettingsRecord SynthSettingsFromValues(const SoundSettingValues& values);
// The start settings, with SampleCount computed.
SynthSettingsRecord StartSynthSettings();
