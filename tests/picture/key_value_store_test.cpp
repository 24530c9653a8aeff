// The settings text format: line splitting, entry kinds, lookups, insertion and the UTF-8 mark.
#include <gtest/gtest.h>

#include "picture/key_value_store.h"
#include "picture/text_encoding.h"

namespace {

using Kind = SettingsEntryKind;

TEST(KeyValueStore, ReadsKeyGroupAndCommentLines) {
  const auto document = ParseSettingsDocument(
      "  SampleRate = 8000  \r\n\t;  two spaces\r\n;tight\r\n[Group] dropped\r\n[open\r\nNoEquals\r\nKey\t =\t value = x\r\n");
  const std::vector<SettingsEntry> expected = {
      {Kind::Key, "SampleRate", "8000  "}, {Kind::Comment, " two spaces", ""}, {Kind::Comment, "tight", ""},
      {Kind::Group, "Group", ""},         {Kind::Group, "open", ""},          {Kind::Key, "NoEquals", ""},
      {Kind::Key, "Key", "value = x"}};
  EXPECT_EQ(document.entries, expected);
  EXPECT_FALSE(document.utf8);
}

TEST(KeyValueStore, LinesSplitAtCrLfOrBothAndEmptyLinesGo) {
  const std::vector<SettingsEntry> expected = {{Kind::Key, "a", "1"}, {Kind::Key, "b", "2"}, {Kind::Key, "c", "3"}};
  for (const char* text : {"a=1\rb=2\rc=3", "a=1\nb=2\nc=3\n", "a=1\r\nb=2\r\n\r\n  \t \r\nc=3\r\n", "\n\ra=1\n\rb=2\r\r\nc=3"})
    EXPECT_EQ(ParseSettingsDocument(text).entries, expected) << text;
}

TEST(KeyValueStore, WritesEveryKindOfLineWithCrLf) {
  SettingsDocument document;
  document.entries = {{Kind::Comment, "note", ""}, {Kind::Key, "A", "1"}, {Kind::Group, "g", ""}, {Kind::Key, "B", ""}};
  EXPECT_EQ(SerialiseSettingsDocument(document), "; note\r\nA = 1\r\n[g]\r\nB = \r\n");
  document.utf8 = true;
  EXPECT_EQ(SerialiseSettingsDocument(document), "\xEF\xBB\xBF\r\n; note\r\nA = 1\r\n[g]\r\nB = \r\n");
}

TEST(KeyValueStore, WrittenTextReadsBackAsTheSameEntries) {
  const auto document = ParseSettingsDocument(";c\n[x\nk=v\n\xEF\xBB\xBF\n");
  EXPECT_EQ(ParseSettingsDocument(SerialiseSettingsDocument(document)), document);
}

TEST(KeyValueStore, KeysMatchInAnyLetterCaseOnlyBeforeTheFirstGroup) {
  const auto document = ParseSettingsDocument("samplerate=8000\nSAMPLERATE=1\n[g]\nFrqTo = 5\n");
  EXPECT_EQ(LookupSetting(document, "SampleRate"), "8000");  // the first match counts
  EXPECT_EQ(LookupSetting(document, "FrqTo"), std::nullopt);
  EXPECT_EQ(LookupSetting(document, "g"), std::nullopt);
}

TEST(KeyValueStore, CommentsAndGroupsAreNotKeys) {
  const auto document = ParseSettingsDocument("; SampleRate = 1\nOther = 2\n");
  EXPECT_EQ(LookupSetting(document, "SampleRate"), std::nullopt);
  EXPECT_EQ(LookupSetting(document, "; SampleRate"), std::nullopt);
  EXPECT_EQ(LookupSetting(document, "other"), "2");
}

TEST(KeyValueStore, SettingReplacesInPlaceOrInsertsBeforeTheFirstGroup) {
  auto document = ParseSettingsDocument("; keep me\nMine = 1\nForeign = x\n[g]\nLater = 2\n");
  SetSetting(document, "MINE", "7");
  SetSetting(document, "New", "8");
  SetSetting(document, "Later", "9");  // after the group it is not found, so a new line goes in
  EXPECT_EQ(SerialiseSettingsDocument(document),
            "; keep me\r\nMine = 7\r\nForeign = x\r\nNew = 8\r\nLater = 9\r\n[g]\r\nLater = 2\r\n");
}

TEST(KeyValueStore, NewKeysGoAtTheEndWithoutGroupsAndFirstWhenTheFileStartsWithOne) {
  auto plain = ParseSettingsDocument("A=1\n");
  SetSetting(plain, "B", "2");
  EXPECT_EQ(SerialiseSettingsDocument(plain), "A = 1\r\nB = 2\r\n");
  auto grouped = ParseSettingsDocument("[g]\nA=1\n");
  SetSetting(grouped, "B", "2");
  EXPECT_EQ(SerialiseSettingsDocument(grouped), "B = 2\r\n[g]\r\nA = 1\r\n");
}

TEST(KeyValueStore, LineBreaksInWrittenTextCannotSplitAnEntry) {
  SettingsDocument document;
  SetSetting(document, "Key", "one\r\n[two]");
  EXPECT_EQ(SerialiseSettingsDocument(document), "Key = one  [two]\r\n");
}

TEST(KeyValueStore, Utf8FileConvertsToAndFromTheProgramsText) {
  // "Größe" with the key in UTF-8, value "Ä1".
  auto document = ParseSettingsDocument("\xEF\xBB\xBFGr\xC3\xB6\xC3\x9F" "e = \xC3\x84" "1\r\n");
  ASSERT_TRUE(document.utf8);
  EXPECT_EQ(LookupSetting(document, "Gr\xF6\xDF" "e"), "\xC4" "1");
  EXPECT_EQ(LookupSetting(document, "GR\xD6\xDF" "E"), "\xC4" "1");  // Latin-1 letter case too
  SetSetting(document, "\xC9t\xE9", "caf\xE9");
  EXPECT_EQ(SerialiseSettingsDocument(document),
            "\xEF\xBB\xBF\r\nGr\xC3\xB6\xC3\x9F" "e = \xC3\x84" "1\r\n\xC3\x89t\xC3\xA9 = caf\xC3\xA9\r\n");
}

TEST(KeyValueStore, EightBitFileIsTakenAsItStands) {
  auto document = ParseSettingsDocument("K = caf\xE9\r\n");
  EXPECT_FALSE(document.utf8);
  EXPECT_EQ(LookupSetting(document, "k"), "caf\xE9");
}

TEST(TextEncoding, Latin1AndUtf8) {
  EXPECT_EQ(Latin1ToUtf8("A\xE9\xFF"), "A\xC3\xA9\xC3\xBF");
  EXPECT_EQ(Utf8ToLatin1("A\xC3\xA9\xC3\xBF"), "A\xE9\xFF");
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82\xAC"), "?");    // the euro sign has no Latin-1 form
  EXPECT_EQ(Utf8ToLatin1("\xF0\x9F\x99\x82x"), "?x");
  EXPECT_EQ(Utf8ToLatin1("\xC3"), "?");            // cut off
  EXPECT_EQ(Utf8ToLatin1("\xC0\x81"), "?");        // overlong
  EXPECT_EQ(Utf8ToLatin1("\xFF" "a"), "?a");
  EXPECT_EQ(Utf8ToLatin1("\xC3(" ), "?(");
}

struct IntCase {
  const char* text;
  std::int32_t value;
};

TEST(KeyValueStore, IntegerValues) {
  const IntCase cases[] = {
      {"8000", 8000},     {"  42abc", 42},   {"\t-17", -17},           {"+5", 5},
      {"", 0},            {"abc", 0},        {"-", 0},                 {"- 5", 0},
      {"12 34", 12},      {"007", 7},        {"2147483647", 2147483647}, {"2147483648", 2147483647},
      {"-2147483648", INT32_MIN}, {"-2147483649", INT32_MIN}, {"99999999999999999999999", 2147483647},
      {"-99999999999999999999999", INT32_MIN}, {"$10", 0}, {"0x10", 0},
  };
  for (const IntCase& c : cases) EXPECT_EQ(ParseSettingInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(KeyValueStore, Trimming) {
  EXPECT_EQ(TrimSpacesAndTabs(" \t40,$10 \t"), "40,$10");
  EXPECT_EQ(TrimSpacesAndTabs("  "), "");
}

}  // namespace
