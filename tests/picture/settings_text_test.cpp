// SPDX-License-Identifier: GPL-3.0-or-later
// The settings text: lines, lookups and insertion, numbers, band points, and the values a settings file stands for.
#include <gtest/gtest.h>
#include <climits>
#include "picture/settings_file.h"

using Kind = SettingsEntryKind;

TEST(SettingsDocument, ParsesLinesAtCrLfOrBothAndReadsBackWhatItWrites) {
  const std::vector<SettingsEntry> abc = {{Kind::Key, "a", "1"}, {Kind::Key, "b", "2"}, {Kind::Key, "c", "3"}};
  const std::pair<std::string, SettingsDocument> cases[] = {
      {"  Rate = 8000  \r\n\t;  two\r\n;tight\r\n[Group] x\r\n[open\nNoEquals\nKey\t =\t v = x\n",
       {false, {{Kind::Key, "Rate", "8000  "}, {Kind::Comment, " two", ""}, {Kind::Comment, "tight", ""}, {Kind::Group, "Group", ""},
                {Kind::Group, "open", ""}, {Kind::Key, "NoEquals", ""}, {Kind::Key, "Key", "v = x"}}}},
      {"a=1\rb=2\rc=3", {false, abc}}, {"\n\ra=1\r\nb=2\r\n\r\n  \t \r\nc=3\n", {false, abc}},
      {"\xEF\xBB\xBF\r\n a = 1\nb=2\nc=3", {true, abc}},
      // Found by fuzzing: a Latin-1 file whose first key starts with the mark's bytes was saved starting with them.
      {"\n\xEF\xBB\xBFK = 5000\r\nOwner = Ren\xE9\r\n", {false, {{Kind::Key, "\xEF\xBB\xBFK", "5000"}, {Kind::Key, "Owner", "Ren\xE9"}}}}};
  for (const auto& [text, document] : cases) {
    EXPECT_EQ(ParseSettingsDocument(text), document) << text;
    EXPECT_EQ(ParseSettingsDocument(SerialiseSettingsDocument(document)), document) << text;
  }
}
TEST(SettingsDocument, KeysAreTheProgramsBeforeTheFirstGroupAndNewOnesGoThere) {
  const std::tuple<const char*, const char*, std::optional<std::string>> cases[] = {
      {"samplerate=8000\nSAMPLERATE=1\n[g]\nFrqTo = 5\n", "SampleRate", "8000"}, {"A=1\n[g]\nFrqTo = 5\n", "FrqTo", std::nullopt},
      {"[g]\nA = 1", "g", std::nullopt}, {"; A = 1\n", "A", std::nullopt}, {"K = caf\xE9\r\n", "k", "caf\xE9"},
      {"\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e = \xC3\x84" "1\r\n", "GR\xD6\xDF" "E", "\xC4" "1"}};
  for (const auto& [text, key, value] : cases) EXPECT_EQ(LookupSetting(ParseSettingsDocument(text), key), value) << text;
  const std::tuple<const char*, const char*, const char*, const char*> sets[] = {
      {"; keep\nMine = 1\nForeign = x\n[g]\nB = 2\n", "MINE", "7", "; keep\r\nMine = 7\r\nForeign = x\r\n[g]\r\nB = 2\r\n"},
      {"Mine = 1\n[g]\nLater = 2\n", "Later", "9", "Mine = 1\r\nLater = 9\r\n[g]\r\nLater = 2\r\n"},
      {"[g]\nA=1\n", "B", "2", "B = 2\r\n[g]\r\nA = 1\r\n"}, {"", "Key", "one\r\n[two]", "Key = one  [two]\r\n"},
      {"\xEF\xBB\xBFK = 1", "\xC9t\xE9", "caf\xE9", "\xEF\xBB\xBF\r\nK = 1\r\n\xC3\x89t\xC3\xA9 = caf\xC3\xA9\r\n"}};
  for (auto [text, key, value, expected] : sets) {
    SettingsDocument document = ParseSettingsDocument(text);
    SetSetting(document, key, value);
    EXPECT_EQ(SerialiseSettingsDocument(document), expected) << text;
  }
}
// Latin-1 holds U+0000 to U+00FF; anything else, and every byte that is not well-formed UTF-8 (overlong, cut
// short, a stray continuation, past U+10FFFF), is "?", and the text around it stays as it was.
TEST(SettingsText, Utf8BecomesLatin1AndWhatLatin1CannotHoldIsAQuestionMark) {
  for (auto [text, latin1] : {std::pair{"x\xC3\xA9y", "x\xE9y"}, {"\xC2\x80\xC3\xBF", "\x80\xFF"}, {"x\xC3", "x?"}})
    EXPECT_EQ(Utf8ToLatin1(text), latin1) << text;
  for (const char* text : {"x\xC1\x81y", "x\xE0\x81\x81y", "x\xF0\x80\x81\x81y", "x\xC3y", "x\x80y", "x\xF4\x90\x80\x80y",
                           "x\xE2\x82\xACy", "x\xFFy"}) {
    const std::string out = Utf8ToLatin1(text);
    EXPECT_TRUE(out.size() > 2 && out.front() == 'x' && out.back() == 'y' && out.find_first_not_of('?', 1) == out.size() - 1) << out;
  }
}
TEST(SettingsNumbers, IntegersAndBandPointsSaturate) {
  const std::pair<const char*, std::int32_t> integers[] = {{"8000", 8000}, {"  42abc", 42}, {"\t-17", -17}, {"+5", 5},
      {"", 0}, {"- 5", 0}, {"2147483648", INT_MAX}, {"-2147483648", INT_MIN}, {"-99999999999999999999", INT_MIN}, {"$10", 0}};
  for (auto [text, value] : integers) EXPECT_EQ(ParseSettingInt(text), value) << text;
  const std::pair<const char*, StoredBandPoint> points[] = {{"40", {40, 0}}, {" 40,$10", {40, 16}}, {"-$fF,%101", {-255, 5}},
      {"%102,-%11", {2, -3}}, {",7", {0, 7}}, {"$g,1 2", {0, 1}}, {"2147483648,-2147483649", {INT_MAX, INT_MIN}},
      {"$FFFFFFFFFF,%111111111111111111111111111111111", {INT_MAX, INT_MAX}}};
  for (auto [text, point] : points) EXPECT_EQ(ParseBandPoint(text), point) << text;
}
TEST(SettingsValues, AreClampedIntoTheirSlidersRangesAndOnlyOneTicksTheDistribution) {
  const std::array<int, 3> cases[] = {{DistributionSetting, 1, 1}, {DistributionSetting, 2, 0}, {DistributionSetting, -1, 0},
      {DistASetting, 500, 99}, {DistBSetting, -3, 1}, {SampleRateSetting, 100, 2000}, {SampleRateSetting, 30000, 22050},
      {DurationSetting, 7500, 7500}, {FrqFromSetting, 0, 70}, {FrqToSetting, 9001, 9000}};
  for (auto [setting, value, clamped] : cases) EXPECT_EQ(ClampedSettingValue(setting, value), clamped) << setting << " " << value;
}
