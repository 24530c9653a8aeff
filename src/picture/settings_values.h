// What a settings file holds, as plain values: read from and written to the open settings store
// without any window, so Load, Save and the command-line renderer share one reading of the file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "picture/settings_file_keys.h"

struct SettingsValues {
  std::array<std::int32_t, IntSettingKeys.size()> integers{};  // in the order of IntSettingKeys
  std::vector<StoredBandPoint> bandPoints;                      // SettingsBandPointCount points, or none
};

// The values of the open store, each missing key taking its default ("0,0" for band points).
SettingsValues ReadOpenSettingsValues();
// Writes the nine integer keys and, when there are any, the band points into the open store.
void WriteOpenSettingsValues(const SettingsValues& values);
// Reads the settings file at path; none when there is no such file.
std::optional<SettingsValues> ReadSettingsValuesFile(const std::string& path);
// Writes the values into the settings file at path, keeping its other lines; false when writing failed.
bool WriteSettingsValuesFile(const std::string& path, const SettingsValues& values);
// The value of an integer key as its control leaves it: within the control's range (0/1 for the checkbox).
std::int32_t ClampedSettingValue(std::size_t keyIndex, std::int32_t value);
// The sound settings the values stand for, as Load leaves them (BandCurveEdited and PhaseFactor at start values).
SynthSettingsRecord SynthSettingsFromValues(const SettingsValues& values);
