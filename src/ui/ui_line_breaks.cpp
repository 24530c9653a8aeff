// How the program's texts are broken into lines for display.
#include "ui/ui_line_breaks.h"

std::string DisplayLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines += '\n';
    } else {
      lines += c;
    }
  }
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  return lines;
}
