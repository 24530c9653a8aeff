// SPDX-License-Identifier: GPL-3.0-or-later
// The key/value text format of settings files: a document of lines held in memory, and the settings
// store that opens one file into such a document and writes it back on close.
#pragma once

#include <cstdint>
#include <limits>
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

// The program's 8-bit text is Latin-1; settings files that start with a byte-order mark are UTF-8.
// Every Latin-1 byte becomes its UTF-8 sequence (bytes below 0x80 stay as they are).
std::string Latin1ToUtf8(std::string_view text);
// UTF-8 back to Latin-1; characters beyond U+00FF and malformed sequences become "?".
std::string Utf8ToLatin1(std::string_view text);

// A 32-bit integer built from text digits without overflow: values beyond the range saturate.
struct SaturatingNumber {
  bool negative = false;
  std::uint64_t magnitude = 0;  // held at most one past the largest magnitude a result can have

  void AddDigit(unsigned digit, unsigned base) {
    constexpr std::uint64_t cap = std::uint64_t{1} << 31;  // |INT32_MIN|; anything larger saturates
    magnitude = magnitude * base + digit;
    if (magnitude > cap) magnitude = cap + 1;
  }
  std::int32_t Value() const {
    constexpr std::uint64_t largest = std::numeric_limits<std::int32_t>::max();
    if (negative) return magnitude > largest ? std::numeric_limits<std::int32_t>::min()
                                             : -static_cast<std::int32_t>(magnitude);
    return magnitude > largest ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
  }
};

// Settings files larger than this are not read (and, as they cannot be read, never overwritten).
constexpr std::size_t MaxSettingsFileBytes = 1024 * 1024;

// One settings file opened into memory.
struct SettingsStore {
  std::string name;
  bool exists = false;    // an existing file was read
  bool readOnly = false;  // never written back: opened for reading only, or there but unreadable
  bool written = false;   // something was written since it was opened
  SettingsDocument document;
};

// The store for a file's content as it was opened (content none: there is no file).
SettingsStore StoreForContent(std::string name, const std::optional<std::string>& content, bool readOnly);
// Opens the file at name read-write, else read-only; without a file the store starts empty and keeps the
// name, so writing and closing creates it. exists tells which.
SettingsStore OpenSettings(const std::string& name);
// The bytes CloseSettings writes for this store; none when nothing was written or the file is read-only.
std::optional<std::string> PendingSettingsOutput(const SettingsStore& store);
// Sets the key to the integer in decimal, or to the text.
void WriteSettingInt(SettingsStore& store, const std::string& key, std::int32_t value);
void WriteSettingText(SettingsStore& store, const std::string& key, const std::string& text);
// The key's value scanned as an integer (saturating; no number gives 0), or defaultValue when absent.
std::int32_t ReadSettingInt(const SettingsStore& store, const std::string& key, std::int32_t defaultValue);
// The key's value without surrounding spaces and tabs, or defaultValue when absent.
std::string ReadSettingText(const SettingsStore& store, const std::string& key, const std::string& defaultValue);
// Replaces the file with the entries when something was written and it is not read-only, then empties the
// store. True unless a needed write failed (the old file then stays as it was).
bool CloseSettings(SettingsStore& store);
