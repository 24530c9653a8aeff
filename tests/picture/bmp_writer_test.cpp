// The saved bitmap: exact size and header, bottom row first, and reading it back gives the same picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "picture/bmp_writer.h"
#include "picture/image_file.h"
#include "test_files.h"

namespace {

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}
std::uint16_t Le16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) | (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

Raster NoisePicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  Raster picture(width, height);
  for (Colour& pixel : picture.pixels) pixel = random() & ColourMask;
  return picture;
}

TEST(BmpWriter, CanvasFileHasTheExactHeader) {
  const std::string file = EncodeBmp24(Raster(380, 380, White));
  ASSERT_EQ(file.size(), 433254u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  struct Field { std::size_t offset; int size; std::uint32_t value; };
  const Field fields[] = {{2, 4, 433254}, {6, 2, 0},  {8, 2, 0},  {10, 4, 54}, {14, 4, 40}, {18, 4, 380},
                          {22, 4, 380},   {26, 2, 1}, {28, 2, 24}, {30, 4, 0}, {34, 4, 433200}, {38, 4, 0},
                          {42, 4, 0},     {46, 4, 0}, {50, 4, 0}};
  for (const Field& field : fields) {
    const std::uint32_t actual = field.size == 4 ? Le32(file, field.offset) : Le16(file, field.offset);
    EXPECT_EQ(actual, field.value) << "offset " << field.offset;
  }
}

TEST(BmpWriter, PixelDataStartsWithTheBottomLeftPixelInBlueGreenRed) {
  Raster picture(380, 380, Black);
  picture.At(0, 379) = MakeColour(0x11, 0x22, 0x33);  // bottom-left
  picture.At(1, 379) = MakeColour(0x44, 0x55, 0x66);
  picture.At(0, 0) = MakeColour(0x77, 0x88, 0x99);     // top-left: the last row stored
  const std::string file = EncodeBmp24(picture);
  EXPECT_EQ(static_cast<std::uint8_t>(file[54]), 0x33);
  EXPECT_EQ(static_cast<std::uint8_t>(file[55]), 0x22);
  EXPECT_EQ(static_cast<std::uint8_t>(file[56]), 0x11);
  EXPECT_EQ(static_cast<std::uint8_t>(file[57]), 0x66);
  const std::size_t lastRow = 54 + 1140 * 379;
  EXPECT_EQ(static_cast<std::uint8_t>(file[lastRow]), 0x99);
  EXPECT_EQ(static_cast<std::uint8_t>(file[lastRow + 2]), 0x77);
}

TEST(BmpWriter, OddWidthRowsArePaddedWithZeros) {
  const std::string file = EncodeBmp24(Raster(3, 2, White));
  ASSERT_EQ(file.size(), 54u + 2 * 12);
  EXPECT_EQ(Le32(file, 34), 24u);
  for (std::size_t row = 0; row < 2; ++row) {
    for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(static_cast<std::uint8_t>(file[54 + row * 12 + i]), 0xFF);
    for (std::size_t i = 9; i < 12; ++i) EXPECT_EQ(file[54 + row * 12 + i], '\0');
  }
}

TEST(BmpWriter, SavedFileReadsBackIdentically) {
  ScratchFolder folder;
  const Raster picture = NoisePicture(380, 380, 11);
  const std::string path = folder.File("pic.jpg");  // the name plays no part in reading
  ASSERT_TRUE(WriteBmpFile(path, picture).ok);
  EXPECT_EQ(std::filesystem::file_size(path), 433254u);
  const auto loaded = ReadImageFileAt(path);
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(*loaded == picture);
}

}  // namespace
