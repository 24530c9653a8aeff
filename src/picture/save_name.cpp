// The extension rule of Save.
#include "picture/save_name.h"

namespace {

constexpr int BitmapFilter = 0;
constexpr const char* BitmapExtension = ".bmp";
constexpr const char* JpgExtension = ".jpg";

}  // namespace

std::string NameWithExtension(const std::string& name, const std::string& extension) {
  const bool hasIt = name.size() >= extension.size() &&
                     name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
  return hasIt ? name : name + extension;
}

std::string NameWithSaveExtension(const std::string& name, int filterIndex) {
  const std::string extension = filterIndex == BitmapFilter ? BitmapExtension : JpgExtension;
  return NameWithExtension(name, extension);
}
