// The file dialogs' filter list and the name Save writes under.
#pragma once

#include <string>

// The filter list of both file dialogs: index 0 is the bitmap filter, index 1 the JPG filter.
constexpr const char* ImageFileFilters = "Bitmap (*.bmp)|*.bmp|JPG (*.jpg)|*.jpg";

// The name Save writes: ".bmp" appended for filter 0 and ".jpg" for any other, unless the name already
// ends in exactly that (letter case counts). Names of any length are kept whole.
std::string NameWithSaveExtension(const std::string& name, int filterIndex);
// The name with the extension appended unless it already ends in exactly that (letter case counts).
std::string NameWithExtension(const std::string& name, const std::string& extension);
