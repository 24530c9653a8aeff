// The settings text format, line by line, with the byte-order mark and encoding handled at the edges.
#include "picture/key_value_store.h"

#include "picture/saturating_number.h"
#include "picture/text_encoding.h"

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
