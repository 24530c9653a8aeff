// The extension rule of Save.
#include "picture/save_name.h"

namespace {

constexpr int BitmapFilter = 0;
constexpr const char* BitmapExtension = ".bmp";
constexpr const char* JpgExtension = ".jpg";

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

}  // namespace

std::string NameWithSaveExtension(const std::string& name, int filterIndex) {
  const std::string extension = filterIndex == BitmapFilter ? BitmapExtension : JpgExtension;
  return EndsWith(name, extension) ? name : name + extension;
}
