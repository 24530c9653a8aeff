// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file beside a saved picture: the nine sound settings as the controls and the file hold them
// (their ranges and start values), their keys, and the band points in stored units.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "picture/key_value_store.h"

// The nine settings a user sets, in the order the settings file lists them.
enum SoundSetting : int {
  DurationSetting,      // milliseconds
  SampleRateSetting,    // Hz
  FrqFromSetting,       // Hz
  FrqToSetting,         // Hz
  DistributionSetting,  // 0 or 1
  DistASetting,         // hundredths
  DistBSetting,
  DistCSetting,
  DistDSetting,
  SoundSettingCount
};

// Each setting's key in the settings file, and its control's range and start value.
struct SoundSettingRange {
  const char* key;
  std::int32_t minimum, maximum, start;
};

inline constexpr std::array<SoundSettingRange, SoundSettingCount> SoundSettingRanges = {{
    {"SoundDuration", 1000, 15000, 5000},
    {"SampleRate", 2000, 22050, 3000},
    {"FrqFrom", 70, 1500, 90},
    {"FrqTo", 70, 9000, 9000},
    {"FrqDistribution", 0, 1, 0},
    {"FrqDistA", 1, 99, 50},
    {"FrqDistB", 1, 99, 5},
    {"FrqDistC", 1, 99, 75},
    {"FrqDistD", 1, 99, 75},
}};

// One value for each setting, as the controls hold them.
using SoundSettingValues = std::array<std::int32_t, SoundSettingCount>;

// The start value of every setting.
constexpr SoundSettingValues StartSoundSettingValues() {
  SoundSettingValues values{};
  for (int i = 0; i < SoundSettingCount; ++i) values[i] = SoundSettingRanges[i].start;
  return values;
}

// A value as its control leaves it: within the setting's range, the distribution ticked only by exactly 1.
std::int32_t ClampedSettingValue(int setting, std::int32_t value);

// A band point in stored units: x as the editor has it, y measured upward from the bottom edge.
struct StoredBandPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const StoredBandPoint&) const = default;
};

constexpr int SettingsBandPointCount = 8;
constexpr const char* SettingsFileSuffix = ".vlr";
constexpr const char* DefaultBandPointText = "0,0";

// What a settings file holds, as plain values.
struct SettingsValues {
  SoundSettingValues integers = StartSoundSettingValues();  // as stored, not yet clamped
  std::vector<StoredBandPoint> bandPoints;                   // SettingsBandPointCount points, or none
};

// The settings file beside an image: its full name followed by ".vlr".
std::string SettingsFileName(const std::string& imageName);
// "FrqBandP" followed by the point number (1 .. 8) in decimal.
std::string BandPointKey(int number);
// "x,y" in decimal.
std::string FormatBandPoint(const StoredBandPoint& point);
// One field: leading spaces and tabs, an optional sign, then decimal digits, "$" and hexadecimal digits or
// "%" and binary digits, up to the first other character; nothing gives 0 and large values saturate.
std::int32_t ParseBandPointField(std::string_view field);
// "x,y" split at the first ","; a missing field gives 0.
StoredBandPoint ParseBandPoint(std::string_view text);

// The values of an open store, each missing key taking its start value ("0,0" for band points).
SettingsValues ReadSettingsValues(const SettingsStore& store);
// Writes the nine integer keys and, when there are any, the band points into the store.
void WriteSettingsValues(SettingsStore& store, const SettingsValues& values);
// Reads the settings file at path; none when there is no such file.
std::optional<SettingsValues> ReadSettingsValuesFile(const std::string& path);
// Writes the values into the settings file at path, keeping its other lines; false when writing failed.
bool WriteSettingsValuesFile(const std::string& path, const SettingsValues& values);
