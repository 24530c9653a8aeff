// What the settings file holds: key table, names, band point texts and the Save name rule.
#include <gtest/gtest.h>

#include "picture/save_name.h"
#include "picture/settings_file_keys.h"

namespace {

TEST(SettingsFileKeys, IntegerKeysInFileOrderWithTheirDefaultsAndControls) {
  const std::vector<IntSettingKey> expected = {
      {"SoundDuration", SoundDurationSlider, 5000}, {"SampleRate", SampleRateSlider, 3000},
      {"FrqFrom", FrqFromSlider, 90},               {"FrqTo", FrqToSlider, 9000},
      {"FrqDistribution", DistributionCheckbox, 0}, {"FrqDistA", DistASlider, 50},
      {"FrqDistB", DistBSlider, 5},                 {"FrqDistC", DistCSlider, 75},
      {"FrqDistD", DistDSlider, 75}};
  ASSERT_EQ(IntSettingKeys.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(std::string(IntSettingKeys[i].key), expected[i].key);
    EXPECT_EQ(IntSettingKeys[i].defaultValue, expected[i].defaultValue) << expected[i].key;
    EXPECT_EQ(IntSettingKeys[i].control, expected[i].control) << expected[i].key;
  }
}

TEST(SettingsFileKeys, NamesAndBandPointKeys) {
  EXPECT_EQ(SettingsFileName("pic.bmp"), "pic.bmp.vlr");
  EXPECT_EQ(BandPointKey(1), "FrqBandP1");
  EXPECT_EQ(BandPointKey(8), "FrqBandP8");
  EXPECT_EQ(FormatBandPoint({190, 5000}), "190,5000");
  EXPECT_EQ(FormatBandPoint({-3, 0}), "-3,0");
}

struct FieldCase {
  const char* text;
  std::int32_t value;
};

TEST(SettingsFileKeys, BandPointFields) {
  const FieldCase cases[] = {
      {"40", 40},       {"  \t40", 40},   {"+40", 40},        {"-40", -40},      {"$10", 16},
      {"$fF", 255},     {"-$10", -16},    {"%101", 5},        {"%102", 2},       {"-%11", -3},
      {"", 0},          {"   ", 0},       {"x", 0},           {"$", 0},          {"%", 0},
      {"$g", 0},        {"12abc", 12},    {"1 2", 1},         {"- 4", 0},        {"$$1", 0},
      {"2147483647", 2147483647},         {"2147483648", 2147483647},          {"-2147483648", INT32_MIN},
      {"99999999999999999999", 2147483647}, {"-99999999999999999999", INT32_MIN},
      {"$FFFFFFFFFFFF", 2147483647},      {"%11111111111111111111111111111111111", 2147483647},
  };
  for (const FieldCase& c : cases) EXPECT_EQ(ParseBandPointField(c.text), c.value) << '"' << c.text << '"';
}

struct PointCase {
  const char* text;
  StoredBandPoint point;
};

TEST(SettingsFileKeys, BandPointTexts) {
  const PointCase cases[] = {
      {"40", {40, 0}},         {"40,$10", {40, 16}},  {"0,0", {0, 0}},         {"", {0, 0}},
      {",7", {0, 7}},          {"5,", {5, 0}},        {"%101, -3", {5, -3}},   {"1,2,3", {1, 2}},
      {"380,10000", {380, 10000}}, {"abc,def", {0, 0}},
  };
  for (const PointCase& c : cases) EXPECT_EQ(ParseBandPoint(c.text), c.point) << '"' << c.text << '"';
}

struct NameCase {
  const char* chosen;
  int filter;
  const char* saved;
};

TEST(SaveName, ExtensionRule) {
  const NameCase cases[] = {
      {"pic", 0, "pic.bmp"},          {"pic.bmp", 0, "pic.bmp"},   {"PIC.BMP", 0, "PIC.BMP.bmp"},
      {"pic", 1, "pic.jpg"},          {"pic.jpg", 1, "pic.jpg"},   {"pic.bmp", 1, "pic.bmp.jpg"},
      {"pic.jpg", 0, "pic.jpg.bmp"},  {"pic", 5, "pic.jpg"},       {"bmp", 0, "bmp.bmp"},
      {"a", 0, "a.bmp"},              {".bmp", 0, ".bmp"},         {"a.bmp.old", 0, "a.bmp.old.bmp"},
  };
  for (const NameCase& c : cases) EXPECT_EQ(NameWithSaveExtension(c.chosen, c.filter), c.saved) << c.chosen;
  const std::string longName = "/tmp/" + std::string(400, 'n');
  EXPECT_EQ(NameWithSaveExtension(longName, 0), longName + ".bmp");
}

TEST(SaveName, FilterList) { EXPECT_STREQ(ImageFileFilters, "Bitmap (*.bmp)|*.bmp|JPG (*.jpg)|*.jpg"); }

}  // namespace
