// Broken and hostile bitmaps give no image, never a crash or an allocation for the claimed size.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "bmp_builder.h"
#include "picture/bmp_reader.h"
#include "picture/bmp_writer.h"
#include "picture/image_decode.h"

namespace {

BmpLayout SmallEightBit() {
  BmpLayout layout;
  layout.width = 4;
  layout.height = 4;
  layout.bitsPerPixel = 8;
  layout.palette = {{0, 0, 0}, {255, 255, 255}};
  layout.coloursUsed = 2;
  layout.pixels = std::string(16, '\1');
  return layout;
}

BmpLayout SmallBitFields() {
  BmpLayout layout;
  layout.width = 2;
  layout.height = 1;
  layout.bitsPerPixel = 16;
  layout.compression = 3;
  layout.masks = {0xF800, 0x07E0, 0x001F};
  layout.pixels = std::string(4, '\x7F');
  return layout;
}

struct BrokenCase {
  const char* name;
  std::function<std::string()> file;
};

TEST(BmpHostile, BrokenFilesGiveNoImage) {
  const std::vector<BrokenCase> cases = {
      {"empty", [] { return std::string(); }},
      {"signature only", [] { return std::string("BM"); }},
      {"wrong signature", [] { auto f = BuildBmp(SmallEightBit()); f[1] = 'A'; return f; }},
      {"header cut off", [] { return BuildBmp(SmallEightBit()).substr(0, 30); }},
      {"pixel rows cut off", [] { auto f = BuildBmp(SmallEightBit()); return f.substr(0, f.size() - 5); }},
      {"zero width", [] { auto s = SmallEightBit(); s.width = 0; return BuildBmp(s); }},
      {"zero height", [] { auto s = SmallEightBit(); s.height = 0; return BuildBmp(s); }},
      {"negative width", [] { auto s = SmallEightBit(); s.width = -4; return BuildBmp(s); }},
      {"most negative height", [] { auto s = SmallEightBit(); s.height = INT32_MIN; return BuildBmp(s); }},
      {"100000 x 100000", [] { auto s = SmallEightBit(); s.width = s.height = 100000; return BuildBmp(s); }},
      {"wider than the side limit", [] { auto s = SmallEightBit(); s.width = 16385; s.height = 1; return BuildBmp(s); }},
      {"more pixels than the limit", [] { auto s = SmallEightBit(); s.width = s.height = 16384; return BuildBmp(s); }},
      {"big claim, tiny data", [] { auto s = SmallEightBit(); s.width = 8192; s.height = 8192; return BuildBmp(s); }},
      {"unknown header size", [] { auto s = SmallEightBit(); s.headerSize = 64; return BuildBmp(s); }},
      {"header size huge", [] { auto s = SmallEightBit(); s.headerSize = 0xFFFFFFF0u; return BuildBmp(s); }},
      {"two bits per pixel", [] { auto s = SmallEightBit(); s.bitsPerPixel = 2; return BuildBmp(s); }},
      {"zero bits per pixel", [] { auto s = SmallEightBit(); s.bitsPerPixel = 0; return BuildBmp(s); }},
      {"48 bits per pixel", [] { auto s = SmallEightBit(); s.bitsPerPixel = 48; return BuildBmp(s); }},
      {"JPEG inside", [] { auto s = SmallEightBit(); s.compression = 4; return BuildBmp(s); }},
      {"unknown compression", [] { auto s = SmallEightBit(); s.compression = 99; return BuildBmp(s); }},
      {"data offset beyond the file", [] {
         auto f = BuildBmp(SmallEightBit());
         f[12] = 1;  // offset field now 65536 + 54 + palette
         return f;
       }},
      {"data offset inside the header", [] { auto s = SmallEightBit(); s.dataOffset = 20; return BuildBmp(s); }},
      {"no palette at all", [] { auto s = SmallEightBit(); s.palette.clear(); return BuildBmp(s); }},
      {"palette cut off by the file end",
       [] { auto s = SmallEightBit(); s.palette.clear(); s.pixels.clear(); s.dataOffset = 54 + 1024; return BuildBmp(s).substr(0, 60); }},
      {"zero red mask", [] { auto s = SmallBitFields(); s.masks[0] = 0; return BuildBmp(s); }},
      {"overlapping masks", [] { auto s = SmallBitFields(); s.masks[1] = 0x0FE0; return BuildBmp(s); }},
      {"mask with a gap", [] { auto s = SmallBitFields(); s.masks[2] = 0x0015; return BuildBmp(s); }},
      {"mask beyond sixteen bits", [] { auto s = SmallBitFields(); s.masks[0] = 0x1F0000; return BuildBmp(s); }},
      {"masks missing after the header", [] { auto s = SmallBitFields(); s.masks.clear(); s.pixels.clear(); return BuildBmp(s); }},
      {"bit fields on 24 bits", [] { auto s = SmallBitFields(); s.bitsPerPixel = 24; return BuildBmp(s); }},
      {"bit fields on 8 bits", [] { auto s = SmallBitFields(); s.bitsPerPixel = 8; return BuildBmp(s); }},
      {"RLE8 on 24 bits", [] { auto s = SmallEightBit(); s.bitsPerPixel = 24; s.compression = 1; return BuildBmp(s); }},
      {"RLE4 on 8 bits", [] { auto s = SmallEightBit(); s.compression = 2; return BuildBmp(s); }},
      {"RLE top-down", [] { auto s = SmallEightBit(); s.height = -4; s.compression = 1; s.pixels = Bytes({0, 1}); return BuildBmp(s); }},
      {"RLE ends early", [] { auto s = SmallEightBit(); s.compression = 1; s.pixels = Bytes({4, 1, 0, 0, 4}); return BuildBmp(s); }},
      {"RLE literal cut off", [] { auto s = SmallEightBit(); s.compression = 1; s.pixels = Bytes({0, 4, 1, 1}); return BuildBmp(s); }},
      {"RLE jump cut off", [] { auto s = SmallEightBit(); s.compression = 1; s.pixels = Bytes({0, 2, 1}); return BuildBmp(s); }},
      {"core header cut off", [] { BmpLayout s; s.headerSize = 12; return BuildBmp(s).substr(0, 20); }},
      {"core header 16 bits", [] { BmpLayout s; s.headerSize = 12; s.bitsPerPixel = 16; s.pixels = std::string(4, '\0'); return BuildBmp(s); }},
  };
  for (const auto& brokenCase : cases) {
    const auto result = DecodeBmp(brokenCase.file());
    EXPECT_FALSE(result.image) << brokenCase.name;
    EXPECT_FALSE(result.reason.empty()) << brokenCase.name;
    EXPECT_NE(result.reason, "out of memory") << brokenCase.name << ": refused only after trying to allocate";
  }
}

TEST(BmpHostile, LargestAllowedClaimWithoutDataIsRefusedBeforeAllocating) {
  BmpLayout layout;
  layout.width = 16384;
  layout.height = -4096;
  layout.bitsPerPixel = 1;
  layout.palette = {{0, 0, 0}, {255, 255, 255}};
  layout.pixels = std::string(100, '\0');
  const auto result = DecodeBmp(BuildBmp(layout));
  EXPECT_FALSE(result.image);
  EXPECT_EQ(result.reason, "pixel data cut off");
}

TEST(BmpHostile, EveryTruncationOfAValidFileIsHandled) {
  BmpLayout layout = SmallEightBit();
  layout.width = 3;  // rows of 3 bytes padded to 4: the last row may lack its one byte of padding
  const std::string file = BuildBmp(layout);
  ASSERT_TRUE(DecodeBmp(file).image);
  for (std::size_t length = 0; length < file.size(); ++length) {
    const auto result = DecodeBmp(std::string_view(file).substr(0, length));
    EXPECT_EQ(result.image.has_value(), length >= file.size() - 1) << length;
  }
}

// Random damage to the headers of valid files of every kind: whatever comes out stays within the limits.
TEST(BmpHostile, RandomHeaderDamageNeverCrashes) {
  std::vector<std::string> seeds;
  seeds.push_back(BuildBmp(SmallEightBit()));
  seeds.push_back(BuildBmp(SmallBitFields()));
  seeds.push_back(EncodeBmp24(Raster(5, 3, White)));
  BmpLayout rle = SmallEightBit();
  rle.compression = 1;
  rle.pixels = Bytes({4, 1, 0, 0, 0, 4, 1, 0, 1, 0, 0, 2, 1, 1, 0, 1});
  seeds.push_back(BuildBmp(rle));
  std::mt19937 random(1234);
  int decodedCount = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string file = seeds[round % seeds.size()];
    const int damage = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < damage; ++i) {
      const std::size_t at = 2 + random() % (std::min<std::size_t>(file.size(), 80) - 2);
      file[at] = static_cast<char>(random() % 3 == 0 ? 0xFF : random());
    }
    if (random() % 5 == 0) file.resize(random() % file.size());
    const auto result = DecodeBmp(file);
    if (result.image) {
      ++decodedCount;
      ASSERT_TRUE(ImageSizeAllowed(result.image->width, result.image->height));
      ASSERT_EQ(result.image->pixels.size(),
                static_cast<std::size_t>(result.image->width) * static_cast<std::size_t>(result.image->height));
    } else {
      ASSERT_FALSE(result.reason.empty());
    }
  }
  EXPECT_GT(decodedCount, 0);  // some damage falls on harmless fields
}

}  // namespace
