// The program's 8-bit text is Latin-1; settings files that start with a byte-order mark are UTF-8.
#pragma once

#include <string>
#include <string_view>

// Every Latin-1 byte becomes its UTF-8 sequence (bytes below 0x80 stay as they are).
std::string Latin1ToUtf8(std::string_view text);
// UTF-8 back to Latin-1; characters beyond U+00FF and malformed sequences become "?".
std::string Utf8ToLatin1(std::string_view text);
