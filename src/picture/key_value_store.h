// The key/value text format of settings files: parsing, writing back, looking up and setting keys.
// Pure functions on a document held in memory; the file handling is in settings_store.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class SettingsEntryKind { Key, Group, Comment };

// One line of the file. Names and values are kept in the file's own encoding (UTF-8 or Latin-1).
struct SettingsEntry {
  SettingsEntryKind kind = SettingsEntryKind::Key;
  std::string name;   // the key, the group name or the comment text
  std::string value;  // keys only
  bool operator==(const SettingsEntry&) const = default;
};

struct SettingsDocument {
  bool utf8 = false;  // the file started with the UTF-8 byte-order mark
  std::vector<SettingsEntry> entries;
  bool operator==(const SettingsDocument&) const = default;
};

// Splits at CR, LF or both, skips leading spaces and tabs, drops empty lines, and reads comment (";"),
// group ("[") and key lines; a UTF-8 byte-order mark is skipped and remembered.
SettingsDocument ParseSettingsDocument(std::string_view bytes);
// Lays the entries out as "key = value", "[group]" and "; comment" lines ending in CR LF; a UTF-8
// document starts with the byte-order mark and CR LF.
std::string SerialiseSettingsDocument(const SettingsDocument& document);

// Index of the first key entry before the first group whose name matches key (Latin-1, any letter case).
std::optional<std::size_t> FindSettingKey(const SettingsDocument& document, std::string_view key);
// The value of key as Latin-1 text, none when the key is not found.
std::optional<std::string> LookupSetting(const SettingsDocument& document, std::string_view key);
// Replaces the value of key, or inserts "key = value" after the last entry before the first group.
// Line breaks in key or value become spaces, so one entry always stays one line.
void SetSetting(SettingsDocument& document, std::string_view key, std::string_view value);

// Optional white space, optional sign, decimal digits up to the first other character; no digits give 0
// and values beyond 32 bits saturate.
std::int32_t ParseSettingInt(std::string_view value);
// The text without leading and trailing spaces and tabs.
std::string TrimSpacesAndTabs(std::string_view text);
