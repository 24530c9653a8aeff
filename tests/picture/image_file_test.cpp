// Reading image files by their content: bitmaps, JPEGs, and everything else refused.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "picture/bmp_writer.h"
#include "picture/file_read.h"
#include "picture/image_file.h"
#include "test_files.h"

namespace {

TEST(ImageFile, BitmapIsRecognisedByContent) {
  const Raster picture(7, 5, MakeColour(1, 2, 3));
  const auto read = ReadImageFile(EncodeBmp24(picture));
  ASSERT_TRUE(read);
  EXPECT_TRUE(*read == picture);
}

TEST(ImageFile, OtherFormatsAndTextGiveNoImage) {
  const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR";
  EXPECT_FALSE(ReadImageFile(png));
  EXPECT_FALSE(ReadImageFile("just some text that is called pic.bmp"));
  EXPECT_FALSE(ReadImageFile(""));
  EXPECT_FALSE(ReadImageFile("BM"));
  EXPECT_FALSE(ReadImageFile(std::string("BM") + std::string(100, '\0')));
}

TEST(ImageFile, MissingUnreadableOrTextPathGivesNoImage) {
  ScratchFolder folder;
  WriteWholeFile(folder.File("notes.bmp"), "hello");
  EXPECT_FALSE(ReadImageFileAt(folder.File("notes.bmp")));
  EXPECT_FALSE(ReadImageFileAt(folder.File("nothing.bmp")));
  EXPECT_FALSE(ReadImageFileAt(folder.Path()));  // a folder
  EXPECT_FALSE(ReadImageFileAt(""));
}

TEST(FileRead, SizeLimitIsObeyed) {
  ScratchFolder folder;
  const std::string path = folder.File("ten.bin");
  WriteWholeFile(path, "0123456789");
  EXPECT_EQ(ReadFileBytes(path, 10).bytes, "0123456789");
  const auto tooBig = ReadFileBytes(path, 9);
  EXPECT_FALSE(tooBig.bytes);
  EXPECT_TRUE(tooBig.exists);
  const auto missing = ReadFileBytes(folder.File("none"), 100);
  EXPECT_FALSE(missing.bytes);
  EXPECT_FALSE(missing.exists);
  const auto dir = ReadFileBytes(folder.Path(), 100);
  EXPECT_FALSE(dir.bytes);
  EXPECT_TRUE(dir.exists);
}

}  // namespace
