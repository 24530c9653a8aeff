// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file's keys: band point texts, and the values read from and written to a store.
#include "picture/settings_file.h"

#include <algorithm>

namespace {

constexpr const char* BandPointPrefix = "FrqBandP";
constexpr char FieldSeparator = ',';
constexpr char HexMark = '$';
constexpr char BinaryMark = '%';
constexpr unsigned DecimalBase = 10;
constexpr unsigned HexBase = 16;
constexpr unsigned BinaryBase = 2;

// The value of c as a digit of base, or -1.
int DigitValue(char c, unsigned base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

}  // namespace

std::int32_t ClampedSettingValue(int setting, std::int32_t value) {
  if (setting < 0 || setting >= SoundSettingCount) return value;
  // The checkbox is ticked only by exactly 1, whatever else a file holds.
  if (setting == DistributionSetting) return value == 1 ? 1 : 0;
  return std::clamp(value, SoundSettingRanges[setting].minimum, SoundSettingRanges[setting].maximum);
}

std::string SettingsFileName(const std::string& imageName) { return imageName + SettingsFileSuffix; }

std::string BandPointKey(int number) { return BandPointPrefix + std::to_string(number); }

std::string FormatBandPoint(const StoredBandPoint& point) {
  return std::to_string(point.x) + FieldSeparator + std::to_string(point.y);
}

std::int32_t ParseBandPointField(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && (field[i] == ' ' || field[i] == '\t')) ++i;
  SaturatingNumber number;
  if (i < field.size() && (field[i] == '-' || field[i] == '+')) number.negative = field[i++] == '-';
  unsigned base = DecimalBase;
  if (i < field.size() && field[i] == HexMark) {
    base = HexBase;
    ++i;
  } else if (i < field.size() && field[i] == BinaryMark) {
    base = BinaryBase;
    ++i;
  }
  for (; i < field.size(); ++i) {
    const int digit = DigitValue(field[i], base);
    if (digit < 0) break;
    number.AddDigit(static_cast<unsigned>(digit), base);
  }
  return number.Value();
}

StoredBandPoint ParseBandPoint(std::string_view text) {
  const std::size_t comma = text.find(FieldSeparator);
  StoredBandPoint point;
  point.x = ParseBandPointField(text.substr(0, comma));
  if (comma != std::string_view::npos) point.y = ParseBandPointField(text.substr(comma + 1));
  return point;
}

SettingsValues ReadSettingsValues(const SettingsStore& store) {
  SettingsValues values;
  for (int i = 0; i < SoundSettingCount; ++i)
    values.integers[i] = ReadSettingInt(store, SoundSettingRanges[i].key, SoundSettingRanges[i].start);
  for (int i = 1; i <= SettingsBandPointCount; ++i)
    values.bandPoints.push_back(ParseBandPoint(ReadSettingText(store, BandPointKey(i), DefaultBandPointText)));
  return values;
}

void WriteSettingsValues(SettingsStore& store, const SettingsValues& values) {
  for (int i = 0; i < SoundSettingCount; ++i) WriteSettingInt(store, SoundSettingRanges[i].key, values.integers[i]);
  // Without band points no band keys are written, so those already in the file stay as they are.
  for (int i = 0; i < SettingsBandPointCount && i < static_cast<int>(values.bandPoints.size()); ++i)
    WriteSettingText(store, BandPointKey(i + 1), FormatBandPoint(values.bandPoints[static_cast<std::size_t>(i)]));
}

std::optional<SettingsValues> ReadSettingsValuesFile(const std::string& path) {
  SettingsStore store = OpenSettings(path);
  if (!store.exists) return std::nullopt;
  return ReadSettingsValues(store);
}

bool WriteSettingsValuesFile(const std::string& path, const SettingsValues& values) {
  SettingsStore store = OpenSettings(path);
  WriteSettingsValues(store, values);
  return CloseSettings(store);
}
