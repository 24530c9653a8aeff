// The one open settings file: OpenSettings .. CloseSettings over a key/value document held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "picture/key_value_store.h"

// Settings files larger than this are not read (and, as they cannot be read, never overwritten).
constexpr std::size_t MaxSettingsFileBytes = 1024 * 1024;

struct SettingsStore {
  std::string name;
  bool open = false;      // between OpenSettings and CloseSettings
  bool exists = false;    // an existing file was read
  bool readOnly = false;  // never written back: opened for reading only, or there but unreadable
  bool written = false;   // something was written since it was opened
  SettingsDocument document;
};

// The store for a file's content as it was opened (content none: there is no file).
SettingsStore StoreForContent(std::string name, const std::optional<std::string>& content, bool readOnly);
// Opens the file at name as OpenSettings does: read-write, else read-only, else none.
SettingsStore LoadSettingsStore(const std::string& name);
// The bytes CloseSettings writes for this store; none when nothing was written or the file is read-only.
std::optional<std::string> PendingSettingsOutput(const SettingsStore& store);

// Closes any open file, then opens name; non-zero when an existing file was opened, 0 when there is none
// (the store then starts empty and keeps the name, so writing and closing creates the file).
int OpenSettings(const std::string& name);
// Makes a prepared store the open one (closing any other); its result is that of OpenSettings.
int OpenSettingsStore(SettingsStore store);
// Sets the key to the integer in decimal, or to the text.
void WriteSettingInt(const std::string& key, std::int32_t value);
void WriteSettingText(const std::string& key, const std::string& text);
// The key's value scanned as an integer (saturating; no number gives 0), or defaultValue when absent.
std::int32_t ReadSettingInt(const std::string& key, std::int32_t defaultValue);
// The key's value without surrounding spaces and tabs, or defaultValue when absent.
std::string ReadSettingText(const std::string& key, const std::string& defaultValue);
// Replaces the file with the entries when something was written and it is not read-only; forgets the store.
// True unless a needed write failed (the old file then stays as it was).
bool CloseSettings();
