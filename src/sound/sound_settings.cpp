// Turning the controls' values into the sound settings synthesis reads.
#include "sound/sound_settings.h"

#include <cmath>

// std::nearbyint rounds half to even in the default rounding mode.
std::int32_t ComputeSampleCount(std::int32_t sampleRate, float duration) {
  return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(sampleRate) * static_cast<double>(duration)));
}

SynthSettingsRecord SynthSettingsFromValues(const SoundSettingValues& values) {
  auto value = [&values](int setting) { return ClampedSettingValue(setting, values[setting]); };
  SynthSettingsRecord settings;
  settings.SampleRate = value(SampleRateSetting);
  settings.Duration = DurationFromMilliseconds(value(DurationSetting));
  settings.SampleCount = ComputeSampleCount(settings.SampleRate, settings.Duration);
  settings.FrqFrom = value(FrqFromSetting);
  settings.FrqTo = value(FrqToSetting);
  settings.FrqDistribution = value(DistributionSetting);
  settings.DistA = FractionFromPosition(value(DistASetting));
  settings.DistB = FractionFromPosition(value(DistBSetting));
  settings.DistC = FractionFromPosition(value(DistCSetting));
  settings.DistD = FractionFromPosition(value(DistDSetting));
  return settings;
}

SynthSettingsRecord StartSynthSettings() { return SynthSettingsFromValues(StartSoundSettingValues()); }
