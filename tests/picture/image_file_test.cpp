// SPDX-License-Identifier: GPL-3.0-or-later
// Image files: every bitmap variant, hostile bitmaps, the saved 24-bit layout, and JPEG through libjpeg.
#include <gtest/gtest.h>
#include "picture/image_file.h"
#include "support/image_builders.h"

constexpr Colour R = MakeColour(255, 0, 0), G = MakeColour(0, 255, 0), B = MakeColour(0, 0, 255), K = Black;
static const std::vector<std::array<std::uint8_t, 3>> Palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

TEST(DecodeBmp, EveryVariant) {
  const std::string twoRows = PaddedRow(Bytes({0, 0, 255, 0, 255, 0})) + PaddedRow(Bytes({255, 0, 0, 255, 255, 255}));
  const Colour c = MakeColour(10, 20, 30);
  struct Case { const char* variant; BmpLayout layout; std::vector<Colour> pixels; } const cases[] = {
      {"24 bits bottom-up, padded", {.width = 2, .height = 2, .pixels = twoRows}, {B, White, R, G}},
      {"top-down", {.width = 2, .height = -2, .pixels = twoRows}, {R, G, B, White}},
      {"last row unpadded", {.height = 2, .pixels = PaddedRow(Bytes({255, 0, 0})) + Bytes({0, 0, 255})}, {R, B}},
      {"1 bit", {.width = 10, .bitsPerPixel = 1, .palette = {{}, {10, 20, 30}}, .pixels = Bytes({0xB0, 0x40, 0, 0})},
       {c, K, c, c, K, K, K, K, K, c}},
      {"4 bits, high nibble first", {.width = 3, .bitsPerPixel = 4, .palette = Palette, .pixels = Bytes({0x13, 0x20, 0, 0})}, {R, B, G}},
      {"8 bits, past the palette", {.width = 3, .bitsPerPixel = 8, .palette = {{}, {255, 0, 0}}, .pixels = Bytes({1, 9, 2, 0})}, {R, K, K}},
      {"16 bits", {.width = 3, .bitsPerPixel = 16, .pixels = PaddedRow(Bytes({0, 0x7C, 0xE0, 3, 0x21, 4}))}, {R, G, 0x080808}},
      {"16-bit fields", {.width = 2, .bitsPerPixel = 16, .compression = 3, .masks = {0xF800, 0x7E0, 0x1F},
       .pixels = Bytes({0, 0xF8, 0x20, 0})}, {R, 0x0400}},
      {"32 bits", {.width = 2, .bitsPerPixel = 32, .pixels = Bytes({0x30, 0x20, 0x10, 0xAA, 255, 0, 0, 0x55})}, {0x302010, B}},
      {"32-bit fields, ten bits", {.bitsPerPixel = 32, .compression = 3, .masks = {0x3FF00000, 0xFFC00, 0x3FF},
       .pixels = Bytes({0, 0, 0xF8, 0x3F})}, {MakeColour(255, 128, 0)}},
      {"core header", {.headerSize = 12, .width = 2, .bitsPerPixel = 8, .palette = Palette, .pixels = Bytes({3, 2, 0, 0})}, {B, G}},
      // Bottom row four reds; middle row an odd literal (padded), the last pixel black; a jump, two blues.
      {"RLE8", {.width = 4, .height = 3, .bitsPerPixel = 8, .compression = 1, .palette = Palette,
       .pixels = Bytes({4, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 2, 0, 2, 3, 0, 1})}, {K, K, B, B, G, B, R, K, R, R, R, R}},
      // A literal of five pixels (three bytes and a padding byte), then a run of two alternating.
      {"RLE4", {.width = 7, .bitsPerPixel = 4, .compression = 2, .palette = Palette,
       .pixels = Bytes({0, 5, 0x12, 0x31, 0x20, 0, 2, 0x31, 0, 1})}, {R, G, B, R, G, B, R}}};
  for (const Case& c : cases) {
    const auto result = DecodeBmp(BuildBmp(c.layout));
    ASSERT_TRUE(result.image) << c.variant << ": " << result.reason;
    EXPECT_EQ(std::tuple(result.image->width, result.image->pixels), std::tuple(c.layout.width, c.pixels)) << c.variant;
  }
}
// Broken and hostile files give no picture and a reason, and are refused before allocating for their claim.
TEST(DecodeBmp, RefusesBrokenAndHostileFiles) {
  const BmpLayout eight{.width = 4, .height = 4, .bitsPerPixel = 8, .palette = Palette, .pixels = std::string(16, 1)};
  const BmpLayout fields{.width = 2, .bitsPerPixel = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x1F}, .pixels = "1234"};
  auto with = [](BmpLayout l, auto change) { change(l); return BuildBmp(l); };
#define WITH(base, change) with(base, [](BmpLayout& l) { change; })
  std::string offsetBeyond = BuildBmp(eight), offsetInside = offsetBeyond, badSignature = offsetBeyond;
  offsetBeyond[12] = 1, offsetInside[10] = 20, badSignature[1] = 'A';
  const std::string files[] = {"", "BM", badSignature, offsetBeyond, offsetInside, BuildBmp(eight).substr(0, 30),
      WITH(eight, l.width = 0), WITH(eight, l.height = 0), WITH(eight, l.width = -4), WITH(eight, l.height = INT32_MIN),
      WITH(eight, l.width = 16385), WITH(eight, l.width = l.height = 100000), WITH(eight, l.width = l.height = 16384),
      WITH(eight, l.width = l.height = 8192), WITH(eight, l.headerSize = 64), WITH(eight, l.headerSize = 0xFFFFFFF0u),
      WITH(eight, l.bitsPerPixel = 2), WITH(eight, l.compression = 4), WITH(eight, l.palette.clear()), WITH(fields, l.masks[0] = 0),
      WITH(fields, l.masks[1] = 0x0FE0), WITH(fields, l.masks[2] = 0x15), WITH(fields, l.masks[0] = 0x1F0000),
      WITH(fields, l.masks.clear(); l.pixels.clear()), WITH(fields, l.bitsPerPixel = 24), WITH(eight, l.compression = 2),
      WITH(eight, l.height = -4; l.compression = 1), WITH(BmpLayout{.headerSize = 12}, l.bitsPerPixel = 16),
      WITH(eight, l.compression = 1; l.pixels = Bytes({4, 1, 0, 0, 4})), WITH(eight, l.compression = 1; l.pixels = Bytes({0, 4, 1, 1})),
      WITH(eight, l.compression = 1; l.pixels = Bytes({0, 2, 1})), WITH(BmpLayout{.width = 16384}, l.height = -4096; l.palette = Palette)};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    const auto result = DecodeBmp(files[i]);
    EXPECT_TRUE(!result.image && result.reason != "" && result.reason != "out of memory") << i << ": " << result.reason;
  }
  const std::string file = WITH(eight, l.width = 3);  // rows of three bytes padded to four: only the last may lack it
  for (std::size_t length = 0; length <= file.size(); ++length)
    EXPECT_EQ(DecodeBmp(file.substr(0, length)).image.has_value(), length + 1 >= file.size()) << length;
}
TEST(EncodeBmp24, HeaderBottomRowFirstAndPadding) {
  Raster picture(3, 2, White);
  picture.At(0, 1) = MakeColour(0x11, 0x22, 0x33);  // bottom-left: stored first
  const std::string file = EncodeBmp24(picture), row = std::string(9, '\xFF') + std::string(3, 0);  // white, padded
  EXPECT_EQ(std::tuple(file, file.substr(54), SavedBmpLayout(Raster(380, 380)).size()),  // the layout and two worked values
            std::tuple(SavedBmpLayout(picture), "\x33\x22\x11" + row.substr(3) + row, 433254u));
}
// Flat halves survive compression almost exactly. A file whose writer stopped before the end marker is the complete
// picture; a cut anywhere else, between two scans (where libjpeg notices nothing) or inside the entropy data, gives none.
TEST(DecodeJpeg, ColourGreyAndProgressiveFilesWithoutTheirEndOrCut) {
  for (auto [grey, progressive] : {std::pair{false, false}, {false, true}, {true, false}}) {
    const Colour left = grey ? 0x1E1E1E : MakeColour(200, 40, 10), right = grey ? 0xDCDCDC : MakeColour(20, 40, 230);
    std::vector<unsigned char> samples;
    for (int i = 0; i < 64 * 32; ++i)
      for (int c = 0; c < (grey ? 1 : 3); ++c) samples.push_back((i % 64 < 16 ? left : right) >> 8 * c & 255);
    const std::string whole = EncodeTestJpeg(64, 32, grey, samples, 90, progressive);
    const auto complete = DecodeJpeg(whole), unended = DecodeJpeg(whole.substr(0, whole.size() - 2));
    ASSERT_TRUE(complete.image && unended.image) << unended.reason;
    EXPECT_EQ(*unended.image, *complete.image);
    for (int shift : {0, 8, 16})
      for (auto [x, y, colour] : {std::tuple{2, 2, left}, {62, 30, right}})
        EXPECT_NEAR(int(complete.image->At(x, y) >> shift & 255), int(colour >> shift & 255), 4) << grey << progressive;
    for (Colour pixel : complete.image->pixels) ASSERT_TRUE(!grey || pixel == (pixel & 0xFF) * 0x010101u);
    std::vector<std::size_t> cuts = {whole.size() * 3 / 8, whole.size() * 5 / 8, whole.size() * 7 / 8};
    for (std::size_t at = whole.find("\xFF\xDA"); at != std::string::npos; at = whole.find("\xFF\xDA", at + 1)) cuts.push_back(at);
    for (std::size_t cut : cuts) EXPECT_FALSE(DecodeJpeg(whole.substr(0, cut)).image) << progressive << " cut at " << cut;
  }
}
