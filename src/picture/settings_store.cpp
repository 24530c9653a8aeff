// The global settings store and its file handling; the text format itself is in key_value_store.
#include "picture/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "picture/atomic_file.h"
#include "picture/file_read.h"

namespace {

SettingsStore current;

}  // namespace

SettingsStore StoreForContent(std::string name, const std::optional<std::string>& content, bool readOnly) {
  SettingsStore store;
  store.name = std::move(name);
  store.open = true;
  store.exists = content.has_value();
  store.readOnly = readOnly;
  if (content) store.document = ParseSettingsDocument(*content);
  return store;
}

SettingsStore LoadSettingsStore(const std::string& name) {
  bool readOnly = false;
  int fd = open(name.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    readOnly = true;
  }
  if (fd < 0) {
    // Something that is there but cannot be opened is not replaced by a fresh file.
    struct stat info {};
    return StoreForContent(name, std::nullopt, lstat(name.c_str(), &info) == 0);
  }
  const auto content = ReadOpenFile(fd, MaxSettingsFileBytes);
  close(fd);
  // A folder, a device or an oversized file counts as no file, and is never written over.
  return StoreForContent(name, content, readOnly || !content);
}

std::optional<std::string> PendingSettingsOutput(const SettingsStore& store) {
  if (!store.open || !store.written || store.readOnly) return std::nullopt;
  return SerialiseSettingsDocument(store.document);
}

int OpenSettings(const std::string& name) { return OpenSettingsStore(LoadSettingsStore(name)); }

int OpenSettingsStore(SettingsStore store) {
  CloseSettings();
  current = std::move(store);
  current.open = true;
  return current.exists ? 1 : 0;
}

void WriteSettingInt(const std::string& key, std::int32_t value) { WriteSettingText(key, std::to_string(value)); }

void WriteSettingText(const std::string& key, const std::string& text) {
  if (!current.open) return;
  SetSetting(current.document, key, text);
  current.written = true;
}

std::int32_t ReadSettingInt(const std::string& key, std::int32_t defaultValue) {
  const auto value = LookupSetting(current.document, key);
  return value ? ParseSettingInt(*value) : defaultValue;
}

std::string ReadSettingText(const std::string& key, const std::string& defaultValue) {
  const auto value = LookupSetting(current.document, key);
  return value ? TrimSpacesAndTabs(*value) : defaultValue;
}

bool CloseSettings() {
  const auto output = PendingSettingsOutput(current);
  bool ok = true;
  if (output) ok = ReplaceFileContents(current.name, *output).ok;
  current = SettingsStore{};
  return ok;
}
