// The exact shapes of rectangles, lines and discs, and blits.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "picture/raster_ops.h"

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet LitPixels(const Raster& raster) {
  PixelSet lit;
  for (int y = 0; y < raster.height; ++y)
    for (int x = 0; x < raster.width; ++x)
      if (raster.At(x, y) != Black) lit.insert({x, y});
  return lit;
}

// Half-width of the span on row y, or -1 when the row is empty; checks the span is contiguous around cx.
int HalfWidthOnRow(const Raster& raster, int cx, int y) {
  int left = -1, right = -1;
  for (int x = 0; x < raster.width; ++x) {
    if (raster.At(x, y) == Black) continue;
    if (left < 0) left = x;
    right = x;
  }
  if (left < 0) return -1;
  for (int x = left; x <= right; ++x)
    if (raster.At(x, y) == Black) return -2;
  return cx - left == right - cx ? cx - left : -3;
}

TEST(FillCircle, HalfWidthsForEveryBrushRadius) {
  const std::vector<std::vector<int>> expected = {
      {1, 0},
      {2, 2, 1},
      {3, 3, 2, 1},
      {4, 4, 3, 3, 1},
      {5, 5, 5, 4, 3, 2},
      {6, 6, 6, 5, 4, 3, 2},
      {7, 7, 7, 6, 6, 5, 4, 2},
      {8, 8, 8, 7, 7, 6, 5, 4, 2},
      {9, 9, 9, 8, 8, 7, 7, 6, 4, 2},
      {10, 10, 10, 10, 9, 9, 8, 7, 6, 5, 3},
      {11, 11, 11, 11, 10, 10, 9, 8, 8, 6, 5, 3},
  };
  for (int r = 1; r <= 11; ++r) {
    SCOPED_TRACE(r);
    Raster raster(41, 41);
    FillCircleOn(raster, 20, 20, r, White);
    for (int d = 0; d <= r; ++d) {
      EXPECT_EQ(HalfWidthOnRow(raster, 20, 20 + d), expected[r - 1][d]) << "below, offset " << d;
      EXPECT_EQ(HalfWidthOnRow(raster, 20, 20 - d), expected[r - 1][d]) << "above, offset " << d;
    }
    EXPECT_EQ(HalfWidthOnRow(raster, 20, 20 + r + 1), -1);
    EXPECT_EQ(HalfWidthOnRow(raster, 20, 20 - r - 1), -1);
  }
}

TEST(FillCircle, RadiusZeroIsOnePixel) {
  Raster raster(5, 5);
  FillCircleOn(raster, 2, 3, 0, White);
  EXPECT_EQ(LitPixels(raster), (PixelSet{{2, 3}}));
}

TEST(FillCircle, CornerDiscIsClippedToItsQuarter) {
  Raster corner(380, 380);
  FillCircleOn(corner, 0, 0, 8, White);
  Raster whole(40, 40);
  FillCircleOn(whole, 20, 20, 8, White);
  PixelSet quarter;
  for (auto [x, y] : LitPixels(whole))
    if (x >= 20 && y >= 20) quarter.insert({x - 20, y - 20});
  EXPECT_EQ(LitPixels(corner), quarter);
}

TEST(FillCircle, HugeRadiusCoversTheTargetWithoutOverflow) {
  Raster raster(16, 16);
  FillCircleOn(raster, 8, 8, 700, White);
  EXPECT_EQ(LitPixels(raster).size(), 256u);
}

TEST(DrawLine, ShallowLineFollowsBresenham) {
  Raster raster(10, 10);
  DrawLineOn(raster, 0, 0, 3, 1, White);
  EXPECT_EQ(LitPixels(raster), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
}

TEST(DrawLine, DirectionDoesNotChangeThePixels) {
  Raster forward(50, 50), backward(50, 50);
  DrawLineOn(forward, 3, 40, 29, 7, White);
  DrawLineOn(backward, 29, 7, 3, 40, White);
  EXPECT_EQ(LitPixels(forward), LitPixels(backward));
}

TEST(DrawLine, EndPointsAreAlwaysSetAndEachMajorStepHasOnePixel) {
  const std::vector<std::vector<int>> cases = {{0, 0, 9, 9}, {5, 1, 2, 30}, {30, 2, 1, 3}, {12, 12, 0, 25}};
  for (const auto& c : cases) {
    Raster raster(40, 40);
    DrawLineOn(raster, c[0], c[1], c[2], c[3], White);
    EXPECT_NE(raster.At(c[0], c[1]), Black);
    EXPECT_NE(raster.At(c[2], c[3]), Black);
    const int major = std::max(std::abs(c[2] - c[0]), std::abs(c[3] - c[1]));
    EXPECT_EQ(LitPixels(raster).size(), static_cast<std::size_t>(major + 1));
  }
}

TEST(DrawLine, SinglePointAndAxisLines) {
  Raster raster(10, 10);
  DrawLineOn(raster, 4, 4, 4, 4, White);
  EXPECT_EQ(LitPixels(raster), (PixelSet{{4, 4}}));
  Raster column(10, 10);
  DrawLineOn(column, 3, 0, 3, 380, White);
  EXPECT_EQ(LitPixels(column).size(), 10u);
  Raster row(10, 10);
  DrawLineOn(row, 12, 2, -4, 2, White);
  EXPECT_EQ(LitPixels(row).size(), 10u);
}

TEST(DrawLine, ClippedLineStaysInsideAndMissingLineDrawsNothing) {
  Raster raster(160, 70);
  DrawLineOn(raster, 0, 70, 1, 64, White);
  EXPECT_FALSE(LitPixels(raster).empty());
  Raster missing(10, 10);
  DrawLineOn(missing, -5, -1, 20, -30, White);
  EXPECT_TRUE(LitPixels(missing).empty());
}

TEST(FillRect, ClipsNormalisesAndIgnoresEmpty) {
  Raster raster(10, 10);
  FillRectOn(raster, -3, -3, 5, 5, White);
  EXPECT_EQ(LitPixels(raster), (PixelSet{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  Raster negative(10, 10);
  FillRectOn(negative, 5, 5, -2, -1, White);
  EXPECT_EQ(LitPixels(negative), (PixelSet{{3, 4}, {4, 4}}));
  Raster empty(10, 10);
  FillRectOn(empty, 2, 2, 0, 5, White);
  EXPECT_TRUE(LitPixels(empty).empty());
}

TEST(FillRect, TopByteOfTheColourIsIgnored) {
  Raster raster(2, 2);
  FillRectOn(raster, 0, 0, 2, 2, 0xFFFFFFFFu);
  EXPECT_EQ(raster.At(1, 1), White);
}

TEST(Blit, CopiesAndClips) {
  Raster source(3, 3, 0x123456);
  Raster target(4, 4);
  BlitOn(target, source, 2, -1);
  EXPECT_EQ(LitPixels(target), (PixelSet{{2, 0}, {3, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(target.At(3, 1), 0x123456u);
}

}  // namespace
