// Fitting loaded pictures to the canvas: area averages, squeezing and enlarging.
#include <gtest/gtest.h>

#include "picture/stretch.h"

namespace {

constexpr Colour Grey(int level) {
  return MakeColour(static_cast<std::uint8_t>(level), static_cast<std::uint8_t>(level), static_cast<std::uint8_t>(level));
}

TEST(Stretch, CanvasSizedPictureIsUnchanged) {
  Raster picture(380, 380);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = static_cast<Colour>(i * 2654435761u) & ColourMask;
  EXPECT_TRUE(StretchToSize(picture, 380, 380) == picture);
}

TEST(Stretch, DoubleWidthIsSqueezedToTheAverageOfEachPair) {
  Raster wide(760, 380);
  for (int y = 0; y < 380; ++y)
    for (int x = 0; x < 760; ++x) wide.At(x, y) = x % 2 == 0 ? MakeColour(200, 10, 0) : MakeColour(0, 21, 100);
  wide.At(100, 7) = MakeColour(255, 255, 255);
  wide.At(101, 7) = MakeColour(1, 3, 5);
  const Raster squeezed = StretchToSize(wide, 380, 380);
  ASSERT_EQ(squeezed.width, 380);
  ASSERT_EQ(squeezed.height, 380);
  EXPECT_EQ(squeezed.At(0, 0), MakeColour(100, 16, 50));  // 15.5 rounds up
  EXPECT_EQ(squeezed.At(379, 379), MakeColour(100, 16, 50));
  EXPECT_EQ(squeezed.At(50, 7), MakeColour(128, 129, 130));
}

TEST(Stretch, SmallPictureIsEnlargedWithCoverageWeights) {
  // Columns 0..49 black, 50..99 level 250: target column t covers source [t*100/380, (t+1)*100/380).
  Raster small(100, 100, Black);
  for (int y = 0; y < 100; ++y)
    for (int x = 50; x < 100; ++x) small.At(x, y) = Grey(250);
  const Raster large = StretchToSize(small, 380, 380);
  ASSERT_EQ(large.width, 380);
  ASSERT_EQ(large.height, 380);
  EXPECT_EQ(large.At(0, 0), Black);
  EXPECT_EQ(large.At(189, 200), Black);    // [18900, 19000) lies inside source column 49
  EXPECT_EQ(large.At(190, 200), Grey(250));  // [19000, 19100) starts exactly at column 50
  EXPECT_EQ(large.At(379, 379), Grey(250));
}

TEST(Stretch, TargetPixelStraddlingTwoSourcePixelsMixesThem) {
  // Target 3 of a 100-to-380 stretch covers 80 units of source 0 and 20 of source 1 (each 380 long).
  Raster small(100, 1, Black);
  small.At(1, 0) = Grey(250);
  const Raster large = StretchToSize(small, 380, 1);
  EXPECT_EQ(large.At(2, 0), Black);
  EXPECT_EQ(large.At(3, 0), Grey(50));
  EXPECT_EQ(large.At(4, 0), Grey(250));
}

TEST(Stretch, TwoByTwoToOnePixelIsTheMean) {
  Raster picture(2, 2);
  picture.pixels = {MakeColour(0, 100, 255), MakeColour(100, 100, 255), MakeColour(200, 0, 0), MakeColour(100, 0, 0)};
  const Raster one = StretchToSize(picture, 1, 1);
  ASSERT_EQ(one.pixels.size(), 1u);
  EXPECT_EQ(one.pixels[0], MakeColour(100, 50, 128));  // 127.5 rounds up
}

TEST(Stretch, OnePixelFillsTheWholeTarget) {
  const Raster large = StretchToSize(Raster(1, 1, MakeColour(9, 8, 7)), 380, 380);
  for (Colour pixel : large.pixels) ASSERT_EQ(pixel, MakeColour(9, 8, 7));
}

TEST(Stretch, UnevenSqueezeKeepsTheOverallBrightness) {
  Raster picture(1000, 3);
  for (int x = 0; x < 1000; ++x)
    for (int y = 0; y < 3; ++y) picture.At(x, y) = Grey(x % 256);
  const Raster squeezed = StretchToSize(picture, 380, 2);
  long long sourceSum = 0, targetSum = 0;
  for (Colour pixel : picture.pixels) sourceSum += RedOf(pixel);
  for (Colour pixel : squeezed.pixels) targetSum += RedOf(pixel);
  const double sourceMean = static_cast<double>(sourceSum) / picture.pixels.size();
  const double targetMean = static_cast<double>(targetSum) / squeezed.pixels.size();
  EXPECT_NEAR(targetMean, sourceMean, 0.6);
}

TEST(Stretch, EmptySourceOrTarget) {
  EXPECT_TRUE(StretchToSize(Raster(), 4, 3) == Raster(4, 3, Black));
  EXPECT_EQ(StretchToSize(Raster(2, 2, White), 0, 5).pixels.size(), 0u);
}

}  // namespace
