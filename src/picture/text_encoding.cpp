// Conversions between the program's Latin-1 text and UTF-8.
#include "picture/text_encoding.h"

#include <cstdint>

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
