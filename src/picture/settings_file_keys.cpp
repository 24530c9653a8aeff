// Band point texts and settings file names.
#include "picture/settings_file_keys.h"

#include "picture/saturating_number.h"

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
