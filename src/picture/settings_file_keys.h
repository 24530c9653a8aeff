// What a settings file holds: the integer keys with their controls and defaults, and the band point texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/control_ids.h"
#include "distribution/band_level_editor.h"

struct IntSettingKey {
  const char* key;
  int control;
  std::int32_t defaultValue;
};

// The nine integer keys in file order, each with the control it is written from and read into.
inline constexpr std::array<IntSettingKey, 9> IntSettingKeys = {{
    {"SoundDuration", SoundDurationSlider, 5000},
    {"SampleRate", SampleRateSlider, 3000},
    {"FrqFrom", FrqFromSlider, 90},
    {"FrqTo", FrqToSlider, 9000},
    {"FrqDistribution", DistributionCheckbox, 0},
    {"FrqDistA", DistASlider, 50},
    {"FrqDistB", DistBSlider, 5},
    {"FrqDistC", DistCSlider, 75},
    {"FrqDistD", DistDSlider, 75},
}};

// The position in IntSettingKeys of the key written from control (every key's control is listed once).
constexpr std::size_t IntSettingKeyIndex(int control) {
  for (std::size_t i = 0; i < IntSettingKeys.size(); ++i)
    if (IntSettingKeys[i].control == control) return i;
  return IntSettingKeys.size();
}

constexpr int SettingsBandPointCount = 8;
constexpr const char* SettingsFileSuffix = ".vlr";
constexpr const char* DefaultBandPointText = "0,0";

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
