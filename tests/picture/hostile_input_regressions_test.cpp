// Regressions for what fuzzing the readers found, each named after the input that caught it.
#include <gtest/gtest.h>

#include <string>

#include "picture/key_value_store.h"

namespace {

// A Latin-1 settings file whose first key line starts with the bytes of the UTF-8 byte-order mark (here after
// an empty line) was written back starting with those bytes, so the saved file read back as UTF-8: the first
// key lost its first three characters and every Latin-1 letter in the file turned into "?".
TEST(SettingsFuzzFinding, LatinFileWhoseFirstKeyStartsWithTheMarkBytesStaysLatinWhenSaved) {
  const std::string file = "\n\xEF\xBB\xBFSoundDuration = 5000\r\nOwner = Ren\xE9\r\n";
  const SettingsDocument read = ParseSettingsDocument(file);
  ASSERT_FALSE(read.utf8);
  const SettingsDocument reread = ParseSettingsDocument(SerialiseSettingsDocument(read));
  EXPECT_EQ(reread, read);
  EXPECT_FALSE(reread.utf8);
  EXPECT_EQ(LookupSetting(reread, "Owner"), "Ren\xE9");
  EXPECT_EQ(LookupSetting(reread, "\xEF\xBB\xBFSoundDuration"), "5000");
}

}  // namespace
