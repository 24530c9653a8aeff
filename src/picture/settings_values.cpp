// Reading and writing the settings keys as values, and turning them into sound settings.
#include "picture/settings_values.h"

#include <algorithm>

#include "app/control_table.h"
#include "picture/settings_store.h"

namespace {

constexpr int DistributionTicked = 1;

}  // namespace

SettingsValues ReadOpenSettingsValues() {
  SettingsValues values;
  for (std::size_t i = 0; i < IntSettingKeys.size(); ++i)
    values.integers[i] = ReadSettingInt(IntSettingKeys[i].key, IntSettingKeys[i].defaultValue);
  for (int i = 1; i <= SettingsBandPointCount; ++i)
    values.bandPoints.push_back(ParseBandPoint(ReadSettingText(BandPointKey(i), DefaultBandPointText)));
  return values;
}

void WriteOpenSettingsValues(const SettingsValues& values) {
  for (std::size_t i = 0; i < IntSettingKeys.size(); ++i) WriteSettingInt(IntSettingKeys[i].key, values.integers[i]);
  // Without band points no band keys are written, so those already in the file stay as they are.
  for (int i = 0; i < SettingsBandPointCount && i < static_cast<int>(values.bandPoints.size()); ++i)
    WriteSettingText(BandPointKey(i + 1), FormatBandPoint(values.bandPoints[static_cast<std::size_t>(i)]));
}

std::optional<SettingsValues> ReadSettingsValuesFile(const std::string& path) {
  std::optional<SettingsValues> values;
  if (OpenSettings(path) != 0) values = ReadOpenSettingsValues();
  CloseSettings();
  return values;
}

bool WriteSettingsValuesFile(const std::string& path, const SettingsValues& values) {
  OpenSettings(path);
  WriteOpenSettingsValues(values);
  return CloseSettings();
}

std::int32_t ClampedSettingValue(std::size_t keyIndex, std::int32_t value) {
  if (keyIndex >= IntSettingKeys.size()) return value;
  const int control = IntSettingKeys[keyIndex].control;
  if (control == DistributionCheckbox) return value == DistributionTicked ? 1 : 0;
  const ControlEntry* entry = FindControlEntry(control);
  return entry ? std::clamp(value, entry->minimum, entry->maximum) : value;
}

SynthSettingsRecord SynthSettingsFromValues(const SettingsValues& values) {
  auto value = [&values](int control) {
    const std::size_t index = IntSettingKeyIndex(control);
    return ClampedSettingValue(index, values.integers[index]);
  };
  SynthSettingsRecord settings;
  settings.SampleRate = value(SampleRateSlider);
  settings.Duration = DurationFromMilliseconds(value(SoundDurationSlider));
  settings.SampleCount = ComputeSampleCount(settings.SampleRate, settings.Duration);
  settings.FrqFrom = value(FrqFromSlider);
  settings.FrqTo = value(FrqToSlider);
  settings.FrqDistribution = value(DistributionCheckbox);
  settings.DistA = FractionFromPosition(value(DistASlider));
  settings.DistB = FractionFromPosition(value(DistBSlider));
  settings.DistC = FractionFromPosition(value(DistCSlider));
  settings.DistD = FractionFromPosition(value(DistDSlider));
  return settings;
}
