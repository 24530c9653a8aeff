// SPDX-License-Identifier: GPL-3.0-or-later
// The settings text format: lines parsed and laid out again with the byte-order mark and encoding
// handled at the edges, and the settings store over one file (open, read and write keys, close).
#include "picture/key_value_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

#include "picture/file_io.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view KeySeparator = " = ";
constexpr std::string_view CommentStart = "; ";
constexpr unsigned DecimalBase = 10;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view SkipBlanks(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

SettingsEntry ParseLine(std::string_view line) {
  SettingsEntry entry;
  if (line.front() == ';') {
    entry.kind = SettingsEntryKind::Comment;
    line.remove_prefix(1);
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    entry.name = line;
  } else if (line.front() == '[') {
    entry.kind = SettingsEntryKind::Group;
    line.remove_prefix(1);
    entry.name = line.substr(0, line.find(']'));
  } else {
    const std::size_t equals = line.find('=');
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    entry.name = key;
    if (equals != std::string_view::npos) entry.value = SkipBlanks(line.substr(equals + 1));
  }
  return entry;
}

// Latin-1 letter case: ASCII letters and the accented letters 0xC0..0xDE except the multiplication sign.
unsigned char FoldCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + ('a' - 'A'));
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
  return c;
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string OneLine(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (IsLineBreak(c)) c = ' ';
  return out;
}

std::string ToFileText(const SettingsDocument& document, std::string_view text) {
  return document.utf8 ? Latin1ToUtf8(OneLine(text)) : OneLine(text);
}

std::string FromFileText(const SettingsDocument& document, std::string_view text) {
  return document.utf8 ? Utf8ToLatin1(text) : std::string(text);
}

}  // namespace

SettingsDocument ParseSettingsDocument(std::string_view bytes) {
  SettingsDocument document;
  if (bytes.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
    document.utf8 = true;
    bytes.remove_prefix(ByteOrderMark.size());
  }
  // Splitting at every CR and LF gives the same lines as splitting at CR, LF or CR LF once empty lines go.
  while (!bytes.empty()) {
    std::size_t end = 0;
    while (end < bytes.size() && !IsLineBreak(bytes[end])) ++end;
    const std::string_view line = SkipBlanks(bytes.substr(0, end));
    if (!line.empty()) document.entries.push_back(ParseLine(line));
    bytes.remove_prefix(end < bytes.size() ? end + 1 : end);
  }
  return document;
}

std::string SerialiseSettingsDocument(const SettingsDocument& document) {
  std::string out;
  if (document.utf8) {
    out += ByteOrderMark;
    out += LineEnd;
  } else if (!document.entries.empty() && document.entries.front().kind == SettingsEntryKind::Key &&
             document.entries.front().name.starts_with(ByteOrderMark)) {
    // A Latin-1 file whose first line starts with the mark's three bytes would read back as UTF-8;
    // an empty first line (dropped when read) keeps it Latin-1.
    out += LineEnd;
  }
  for (const SettingsEntry& entry : document.entries) {
    switch (entry.kind) {
      case SettingsEntryKind::Key: out.append(entry.name).append(KeySeparator).append(entry.value); break;
      case SettingsEntryKind::Group: out.append("[").append(entry.name).append("]"); break;
      case SettingsEntryKind::Comment: out.append(CommentStart).append(entry.name); break;
    }
    out += LineEnd;
  }
  return out;
}

std::optional<std::size_t> FindSettingKey(const SettingsDocument& document, std::string_view key) {
  for (std::size_t i = 0; i < document.entries.size(); ++i) {
    const SettingsEntry& entry = document.entries[i];
    if (entry.kind == SettingsEntryKind::Group) break;
    if (entry.kind == SettingsEntryKind::Key && SameKey(FromFileText(document, entry.name), key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> LookupSetting(const SettingsDocument& document, std::string_view key) {
  const auto found = FindSettingKey(document, key);
  if (!found) return std::nullopt;
  return FromFileText(document, document.entries[*found].value);
}

void SetSetting(SettingsDocument& document, std::string_view key, std::string_view value) {
  if (const auto found = FindSettingKey(document, key)) {
    document.entries[*found].value = ToFileText(document, value);
    return;
  }
  std::size_t insertAt = 0;
  while (insertAt < document.entries.size() && document.entries[insertAt].kind != SettingsEntryKind::Group) ++insertAt;
  SettingsEntry entry{SettingsEntryKind::Key, ToFileText(document, key), ToFileText(document, value)};
  document.entries.insert(document.entries.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(entry));
}

std::int32_t ParseSettingInt(std::string_view value) {
  std::size_t i = 0;
  while (i < value.size() && (IsBlank(value[i]) || value[i] == '\v' || value[i] == '\f')) ++i;
  SaturatingNumber number;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) number.negative = value[i++] == '-';
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i)
    number.AddDigit(static_cast<unsigned>(value[i] - '0'), DecimalBase);
  return number.Value();
}

std::string TrimSpacesAndTabs(std::string_view text) {
  text = SkipBlanks(text);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

namespace {

constexpr char Unrepresentable = '?';
constexpr std::uint8_t AsciiLimit = 0x80;

bool IsContinuation(std::uint8_t byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte < AsciiLimit) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return out;
}

std::string Utf8ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    if (lead < AsciiLimit) {
      out.push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    int length = 0;
    std::uint32_t code = 0;
    std::uint32_t smallest = 0;  // overlong forms are malformed
    if ((lead & 0xE0) == 0xC0) { length = 2; code = lead & 0x1F; smallest = 0x80; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; code = lead & 0x0F; smallest = 0x800; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; code = lead & 0x07; smallest = 0x10000; }
    int taken = 1;
    bool valid = length > 0;
    while (valid && taken < length) {
      if (i + taken >= text.size() || !IsContinuation(static_cast<std::uint8_t>(text[i + taken]))) {
        valid = false;
        break;
      }
      code = (code << 6) | (static_cast<std::uint8_t>(text[i + taken]) & 0x3F);
      ++taken;
    }
    valid = valid && code >= smallest && code <= 0x10FFFF;
    out.push_back(valid && code <= 0xFF ? static_cast<char>(code) : Unrepresentable);
    i += static_cast<std::size_t>(taken);
  }
  return out;
}

SettingsStore StoreForContent(std::string name, const std::optional<std::string>& content, bool readOnly) {
  SettingsStore store;
  store.name = std::move(name);
  store.exists = content.has_value();
  store.readOnly = readOnly;
  if (content) store.document = ParseSettingsDocument(*content);
  return store;
}

SettingsStore OpenSettings(const std::string& name) {
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
  if (!store.written || store.readOnly) return std::nullopt;
  return SerialiseSettingsDocument(store.document);
}

void WriteSettingInt(SettingsStore& store, const std::string& key, std::int32_t value) {
  WriteSettingText(store, key, std::to_string(value));
}

void WriteSettingText(SettingsStore& store, const std::string& key, const std::string& text) {
  SetSetting(store.document, key, text);
  store.written = true;
}

std::int32_t ReadSettingInt(const SettingsStore& store, const std::string& key, std::int32_t defaultValue) {
  const auto value = LookupSetting(store.document, key);
  return value ? ParseSettingInt(*value) : defaultValue;
}

std::string ReadSettingText(const SettingsStore& store, const std::string& key, const std::string& defaultValue) {
  const auto value = LookupSetting(store.document, key);
  return value ? TrimSpacesAndTabs(*value) : defaultValue;
}

bool CloseSettings(SettingsStore& store) {
  const auto output = PendingSettingsOutput(store);
  const bool ok = !output || ReplaceFileContents(store.name, *output).ok;
  store = SettingsStore{};
  return ok;
}
