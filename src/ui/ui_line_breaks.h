// How the program's texts are broken into lines for display.
#pragma once

#include <string>

// The text with every line end ("\n", "\r\n" or a lone "\r") turned into "\n". A line end at the
// very end closes the last line and starts no empty one.
std::string DisplayLines(const std::string& text);
