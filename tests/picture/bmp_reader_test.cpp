// Decoding every bitmap variant the reader supports, each file built byte by byte here.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "picture/bmp_reader.h"

namespace {

constexpr Colour Red = MakeColour(255, 0, 0);
constexpr Colour Green = MakeColour(0, 255, 0);
constexpr Colour Blue = MakeColour(0, 0, 255);

// A full 256-entry palette whose entry i is (i, green(i), blue).
std::vector<std::array<std::uint8_t, 3>> FullPalette(bool greenFalls, std::uint8_t blue) {
  std::vector<std::array<std::uint8_t, 3>> palette;
  for (int i = 0; i < 256; ++i)
    palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(greenFalls ? 255 - i : 0), blue});
  return palette;
}

std::string Le32Bytes(std::uint32_t value) {
  std::string out;
  AppendLe(out, value, 4);
  return out;
}

struct DecodeCase {
  const char* variant;
  BmpLayout layout;
  std::vector<std::vector<Colour>> rows;  // the expected picture, top row first
};

TEST(BmpReader, DecodesEveryVariant) {
  const Colour on = MakeColour(10, 20, 30);
  // Stored bottom row first: red, green; then blue, white.
  const std::string twoRows = PaddedRow(Bytes({0, 0, 255, 0, 255, 0})) + PaddedRow(Bytes({255, 0, 0, 255, 255, 255}));
  const std::vector<DecodeCase> cases = {
      {"24 bits bottom-up with padding", {.width = 2, .height = 2, .pixels = twoRows}, {{Blue, White}, {Red, Green}}},
      {"negative height: top row first", {.width = 2, .height = -2, .pixels = twoRows}, {{Red, Green}, {Blue, White}}},
      {"1 bit, most significant bit first",
       {.width = 10, .bitsPerPixel = 1, .palette = {{0, 0, 0}, {10, 20, 30}}, .pixels = PaddedRow(Bytes({0xB0, 0x40}))},
       {{on, Black, on, on, Black, Black, Black, Black, Black, on}}},
      {"4 bits, high nibble first",
       {.width = 3, .bitsPerPixel = 4, .coloursUsed = 3, .palette = {{1, 1, 1}, {255, 0, 0}, {0, 0, 255}},
        .pixels = PaddedRow(Bytes({0x12, 0x00}))},
       {{Red, Blue, MakeColour(1, 1, 1)}}},
      {"8 bits with a full palette",
       {.width = 3, .height = 2, .bitsPerPixel = 8, .palette = FullPalette(true, 7),
        .pixels = PaddedRow(Bytes({0, 1, 2})) + PaddedRow(Bytes({253, 254, 255}))},
       {{MakeColour(253, 2, 7), MakeColour(254, 1, 7), MakeColour(255, 0, 7)},
        {MakeColour(0, 255, 7), MakeColour(1, 254, 7), MakeColour(2, 253, 7)}}},
      {"index beyond a short palette is black",
       {.width = 3, .bitsPerPixel = 8, .coloursUsed = 2, .palette = {{9, 9, 9}, {255, 0, 0}},
        .pixels = PaddedRow(Bytes({1, 200, 0}))},
       {{Red, Black, MakeColour(9, 9, 9)}}},
      {"palette shorter than claimed: only the entries present",
       {.width = 3, .bitsPerPixel = 4, .coloursUsed = 16, .palette = {{0, 255, 0}, {255, 0, 0}},
        .pixels = PaddedRow(Bytes({0x10, 0x50}))},
       {{Red, Green, Black}}},
      // 0x7C00 red, 0x03E0 green, 0x0421 = 1,1,1 (1/31 of full scale rounds to 8).
      {"16 bits default 5-5-5",
       {.width = 3, .bitsPerPixel = 16, .pixels = PaddedRow(Bytes({0x00, 0x7C, 0xE0, 0x03, 0x21, 0x04}))},
       {{Red, Green, MakeColour(8, 8, 8)}}},
      // 0x0020 = green 1 of 63 -> 4.
      {"16 bits 5-6-5 bit fields",
       {.width = 3, .bitsPerPixel = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F},
        .pixels = PaddedRow(Bytes({0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00}))},
       {{Red, Green, MakeColour(0, 4, 0)}}},
      {"32 bits drop the fourth byte",
       {.width = 2, .bitsPerPixel = 32, .pixels = Bytes({0x30, 0x20, 0x10, 0xAA, 0xFF, 0x00, 0x00, 0x55})},
       {{MakeColour(0x10, 0x20, 0x30), Blue}}},
      {"32-bit fields in any order",
       {.bitsPerPixel = 32, .compression = 3, .masks = {0x000000FF, 0x0000FF00, 0xFF000000},
        .pixels = Bytes({0x12, 0x34, 0x00, 0x56})},
       {{MakeColour(0x12, 0x34, 0x56)}}},
      // 512/1023 of 255 = 127.6 -> 128.
      {"10-bit fields scale to 8 bits",
       {.bitsPerPixel = 32, .compression = 3, .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
        .pixels = Le32Bytes((1023u << 20) | (512u << 10))},
       {{MakeColour(255, 128, 0)}}},
      {"alpha bit fields after a short header",
       {.bitsPerPixel = 32, .compression = 6, .masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
        .pixels = Bytes({0x03, 0x02, 0x01, 0x80})},
       {{MakeColour(1, 2, 3)}}},
      {"version 5 header, 24 bits", {.headerSize = 124, .pixels = PaddedRow(Bytes({1, 2, 3}))}, {{MakeColour(3, 2, 1)}}},
      {"core header with a three-byte palette",
       {.headerSize = 12, .width = 2, .height = 2, .bitsPerPixel = 8, .palette = FullPalette(false, 0),
        .pixels = PaddedRow(Bytes({10, 20})) + PaddedRow(Bytes({30, 40}))},
       {{MakeColour(30, 0, 0), MakeColour(40, 0, 0)}, {MakeColour(10, 0, 0), MakeColour(20, 0, 0)}}},
      {"core header, 24 bits",
       {.headerSize = 12, .height = 2, .pixels = PaddedRow(Bytes({255, 0, 0})) + PaddedRow(Bytes({0, 0, 255}))},
       {{Red}, {Blue}}},
      // Bottom row: four reds, end of line. Middle: literal green, blue, red (padded), the fourth stays black,
      // end of line. Then a jump two to the right on the top row, two blues, end of bitmap.
      {"RLE8",
       {.width = 4, .height = 3, .bitsPerPixel = 8, .compression = 1,
        .palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}},
        .pixels = Bytes({4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1})},
       {{Black, Black, Blue, Blue}, {Green, Blue, Red, Black}, {Red, Red, Red, Red}}},
      // Bottom: red green red green red; top: literal green red green, padded to a whole word.
      {"RLE4",
       {.width = 5, .height = 2, .bitsPerPixel = 4, .compression = 2, .palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}},
        .pixels = Bytes({5, 0x12, 0, 0, 0, 3, 0x21, 0x20, 0, 0, 0, 1})},
       {{Green, Red, Green, Black, Black}, {Red, Green, Red, Green, Red}}},
      {"RLE ending after the last row needs no end marker",
       {.bitsPerPixel = 8, .compression = 1, .palette = {{0, 0, 0}, {0, 0, 255}}, .pixels = Bytes({1, 1, 0, 0})},
       {{Blue}}},
      {"last row may lack its padding",
       {.height = 2, .pixels = PaddedRow(Bytes({255, 0, 0})) + Bytes({0, 0, 255})}, {{Red}, {Blue}}},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.variant);
    const auto result = DecodeBmp(BuildBmp(c.layout));
    ASSERT_TRUE(result.image) << result.reason;
    const Raster& picture = *result.image;
    ASSERT_EQ(picture.height, static_cast<int>(c.rows.size()));
    ASSERT_EQ(picture.width, static_cast<int>(c.rows[0].size()));
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) EXPECT_EQ(picture.At(x, y), c.rows[y][x]) << "pixel " << x << "," << y;
  }
}

TEST(BmpReader, VersionFourAndFiveHeadersCarryTheirMasksInside) {
  for (std::uint32_t headerSize : {52u, 56u, 108u, 124u}) {
    const BmpLayout layout{.headerSize = headerSize, .width = 2, .height = -1, .bitsPerPixel = 16, .compression = 3,
                           .masks = {0xF800, 0x07E0, 0x001F, 0}, .pixels = Bytes({0x00, 0xF8, 0x1F, 0x00})};
    const auto result = DecodeBmp(BuildBmp(layout));
    ASSERT_TRUE(result.image) << headerSize << ": " << result.reason;
    EXPECT_EQ(result.image->pixels, (std::vector<Colour>{Red, Blue})) << headerSize;
  }
}

}  // namespace
