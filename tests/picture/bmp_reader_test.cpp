// Decoding every bitmap variant the reader supports, each file built byte by byte here.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "picture/bmp_reader.h"

namespace {

constexpr Colour Red = MakeColour(255, 0, 0);
constexpr Colour Green = MakeColour(0, 255, 0);
constexpr Colour Blue = MakeColour(0, 0, 255);

Raster Decoded(const std::string& file) {
  auto result = DecodeBmp(file);
  EXPECT_TRUE(result.image) << result.reason;
  return result.image.value_or(Raster());
}

// Pixel rows as the test writes them: top row first.
void ExpectPicture(const Raster& picture, const std::vector<std::vector<Colour>>& rows) {
  ASSERT_EQ(picture.height, static_cast<int>(rows.size()));
  ASSERT_EQ(picture.width, static_cast<int>(rows[0].size()));
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      EXPECT_EQ(picture.At(x, y), rows[y][x]) << "pixel " << x << "," << y;
}

TEST(BmpReader, TwentyFourBitsBottomUpWithPadding) {
  BmpLayout layout;
  layout.width = 2;
  layout.height = 2;
  // Stored bottom row first: bottom = red, green; top = blue, white.
  layout.pixels = PaddedRow(Bytes({0, 0, 255, 0, 255, 0})) + PaddedRow(Bytes({255, 0, 0, 255, 255, 255}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Blue, White}, {Red, Green}});
}

TEST(BmpReader, NegativeHeightMeansTopRowFirst) {
  BmpLayout layout;
  layout.width = 2;
  layout.height = -2;
  layout.pixels = PaddedRow(Bytes({0, 0, 255, 0, 255, 0})) + PaddedRow(Bytes({255, 0, 0, 255, 255, 255}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red, Green}, {Blue, White}});
}

TEST(BmpReader, OneBitUsesThePaletteMostSignificantBitFirst) {
  BmpLayout layout;
  layout.width = 10;
  layout.height = 1;
  layout.bitsPerPixel = 1;
  layout.palette = {{0, 0, 0}, {10, 20, 30}};
  layout.pixels = PaddedRow(Bytes({0b10110000, 0b01000000}));
  const Colour on = MakeColour(10, 20, 30);
  ExpectPicture(Decoded(BuildBmp(layout)), {{on, Black, on, on, Black, Black, Black, Black, Black, on}});
}

TEST(BmpReader, FourBitHighNibbleFirst) {
  BmpLayout layout;
  layout.width = 3;
  layout.height = 1;
  layout.bitsPerPixel = 4;
  layout.coloursUsed = 3;
  layout.palette = {{1, 1, 1}, {255, 0, 0}, {0, 0, 255}};
  layout.pixels = PaddedRow(Bytes({0x12, 0x00}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red, Blue, MakeColour(1, 1, 1)}});
}

TEST(BmpReader, EightBitWithFullPalette) {
  BmpLayout layout;
  layout.width = 3;
  layout.height = 2;
  layout.bitsPerPixel = 8;
  for (int i = 0; i < 256; ++i)
    layout.palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7});
  layout.pixels = PaddedRow(Bytes({0, 1, 2})) + PaddedRow(Bytes({253, 254, 255}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{MakeColour(253, 2, 7), MakeColour(254, 1, 7), MakeColour(255, 0, 7)},
                                          {MakeColour(0, 255, 7), MakeColour(1, 254, 7), MakeColour(2, 253, 7)}});
}

TEST(BmpReader, IndexBeyondAShortPaletteIsBlack) {
  BmpLayout layout;
  layout.width = 3;
  layout.height = 1;
  layout.bitsPerPixel = 8;
  layout.coloursUsed = 2;
  layout.palette = {{9, 9, 9}, {255, 0, 0}};
  layout.pixels = PaddedRow(Bytes({1, 200, 0}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red, Black, MakeColour(9, 9, 9)}});
}

TEST(BmpReader, PaletteShorterThanClaimedUsesOnlyTheEntriesPresent) {
  BmpLayout layout;
  layout.width = 3;
  layout.height = 1;
  layout.bitsPerPixel = 4;
  layout.coloursUsed = 16;  // but only two entries stand before the pixel data
  layout.palette = {{0, 255, 0}, {255, 0, 0}};
  layout.pixels = PaddedRow(Bytes({0x10, 0x50}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red, Green, Black}});
}

TEST(BmpReader, SixteenBitDefaultIsFiveFiveFive) {
  BmpLayout layout;
  layout.width = 3;
  layout.height = 1;
  layout.bitsPerPixel = 16;
  // 0x7C00 red, 0x03E0 green, 0x0421 = 1,1,1 (1/31 of full scale rounds to 8).
  layout.pixels = PaddedRow(Bytes({0x00, 0x7C, 0xE0, 0x03, 0x21, 0x04}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red, Green, MakeColour(8, 8, 8)}});
}

TEST(BmpReader, SixteenBitFiveSixFiveBitFields) {
  BmpLayout layout;
  layout.width = 3;
  layout.height = 1;
  layout.bitsPerPixel = 16;
  layout.compression = 3;
  layout.masks = {0xF800, 0x07E0, 0x001F};
  // 0xF800 red; 0x07E0 green; 0x0020 = green 1 of 63 -> 4.
  layout.pixels = PaddedRow(Bytes({0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red, Green, MakeColour(0, 4, 0)}});
}

TEST(BmpReader, ThirtyTwoBitDropsTheFourthByte) {
  BmpLayout layout;
  layout.width = 2;
  layout.height = 1;
  layout.bitsPerPixel = 32;
  layout.pixels = Bytes({0x30, 0x20, 0x10, 0xAA, 0xFF, 0x00, 0x00, 0x55});
  ExpectPicture(Decoded(BuildBmp(layout)), {{MakeColour(0x10, 0x20, 0x30), Blue}});
}

TEST(BmpReader, ThirtyTwoBitFieldsInAnyOrder) {
  BmpLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bitsPerPixel = 32;
  layout.compression = 3;
  layout.masks = {0x000000FF, 0x0000FF00, 0xFF000000};  // red low, green next, blue at the top
  layout.pixels = Bytes({0x12, 0x34, 0x00, 0x56});
  ExpectPicture(Decoded(BuildBmp(layout)), {{MakeColour(0x12, 0x34, 0x56)}});
}

TEST(BmpReader, TenBitFieldsScaleToEightBits) {
  BmpLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bitsPerPixel = 32;
  layout.compression = 3;
  layout.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
  const std::uint32_t pixel = (1023u << 20) | (512u << 10) | 0u;  // 512/1023 of 255 = 127.6 -> 128
  layout.pixels = Bytes({static_cast<int>(pixel & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                       static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>(pixel >> 24)});
  ExpectPicture(Decoded(BuildBmp(layout)), {{MakeColour(255, 128, 0)}});
}

TEST(BmpReader, AlphaBitFieldsAfterShortHeader) {
  BmpLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bitsPerPixel = 32;
  layout.compression = 6;
  layout.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  layout.pixels = Bytes({0x03, 0x02, 0x01, 0x80});
  ExpectPicture(Decoded(BuildBmp(layout)), {{MakeColour(1, 2, 3)}});
}

TEST(BmpReader, VersionFourAndFiveHeadersCarryTheirMasksInside) {
  for (std::uint32_t headerSize : {52u, 56u, 108u, 124u}) {
    BmpLayout layout;
    layout.headerSize = headerSize;
    layout.width = 2;
    layout.height = -1;
    layout.bitsPerPixel = 16;
    layout.compression = 3;
    layout.masks = {0xF800, 0x07E0, 0x001F, 0};
    layout.pixels = Bytes({0x00, 0xF8, 0x1F, 0x00});
    ExpectPicture(Decoded(BuildBmp(layout)), {{Red, Blue}});
  }
}

TEST(BmpReader, VersionFiveHeaderTwentyFourBits) {
  BmpLayout layout;
  layout.headerSize = 124;
  layout.width = 1;
  layout.height = 1;
  layout.pixels = PaddedRow(Bytes({1, 2, 3}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{MakeColour(3, 2, 1)}});
}

TEST(BmpReader, CoreHeaderWithThreeBytePalette) {
  BmpLayout layout;
  layout.headerSize = 12;
  layout.width = 2;
  layout.height = 2;
  layout.bitsPerPixel = 8;
  for (int i = 0; i < 256; ++i) layout.palette.push_back({static_cast<std::uint8_t>(i), 0, 0});
  layout.pixels = PaddedRow(Bytes({10, 20})) + PaddedRow(Bytes({30, 40}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{MakeColour(30, 0, 0), MakeColour(40, 0, 0)},
                                          {MakeColour(10, 0, 0), MakeColour(20, 0, 0)}});
}

TEST(BmpReader, CoreHeaderTwentyFourBits) {
  BmpLayout layout;
  layout.headerSize = 12;
  layout.width = 1;
  layout.height = 2;
  layout.pixels = PaddedRow(Bytes({255, 0, 0})) + PaddedRow(Bytes({0, 0, 255}));
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red}, {Blue}});
}

TEST(BmpReader, RunLengthEightBit) {
  BmpLayout layout;
  layout.width = 4;
  layout.height = 3;
  layout.bitsPerPixel = 8;
  layout.compression = 1;
  layout.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  layout.pixels = Bytes({
      4, 1, 0, 0,           // bottom row: four reds, end of line
      0, 3, 2, 3, 1, 0,     // middle row: literal green, blue, red (padded), then the fourth stays black
      0, 0,                 // end of line
      0, 2, 2, 0,           // jump two to the right on the top row
      2, 3,                 // two blues
      0, 1});               // end of bitmap
  ExpectPicture(Decoded(BuildBmp(layout)),
                {{Black, Black, Blue, Blue}, {Green, Blue, Red, Black}, {Red, Red, Red, Red}});
}

TEST(BmpReader, RunLengthFourBit) {
  BmpLayout layout;
  layout.width = 5;
  layout.height = 2;
  layout.bitsPerPixel = 4;
  layout.compression = 2;
  layout.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}};
  layout.pixels = Bytes({
      5, 0x12, 0, 0,           // bottom: red green red green red
      0, 3, 0x21, 0x20, 0, 0,  // top: literal green red green, padded to a whole word
      0, 1});
  ExpectPicture(Decoded(BuildBmp(layout)),
                {{Green, Red, Green, Black, Black}, {Red, Green, Red, Green, Red}});
}

TEST(BmpReader, RunLengthEndingAfterTheLastRowNeedsNoEndMarker) {
  BmpLayout layout;
  layout.width = 1;
  layout.height = 1;
  layout.bitsPerPixel = 8;
  layout.compression = 1;
  layout.palette = {{0, 0, 0}, {0, 0, 255}};
  layout.pixels = Bytes({1, 1, 0, 0});
  ExpectPicture(Decoded(BuildBmp(layout)), {{Blue}});
}

TEST(BmpReader, LastRowMayLackItsPadding) {
  BmpLayout layout;
  layout.width = 1;
  layout.height = 2;
  layout.pixels = PaddedRow(Bytes({255, 0, 0})) + Bytes({0, 0, 255});
  ExpectPicture(Decoded(BuildBmp(layout)), {{Red}, {Blue}});
}

}  // namespace
