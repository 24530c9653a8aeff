// The exact shapes of rectangles, lines and discs, and blits.
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <utility>
#include <vector>

#include "picture/raster_ops.h"
#include "support/disc_model.h"
#include "support/line_model.h"

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
  const std::vector<std::vector<int>>& expected = disc_model::HalfWidths();
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

struct LineCase {
  int width, height, x1, y1, x2, y2;
  PixelSet expected;
};

// Worked by hand from the rules: exact crossings rounded half to even, and Bresenham's tie moving on.
TEST(DrawLine, WorkedClippedLinesAndTheBresenhamTie) {
  const std::vector<LineCase> cases = {
      {160, 70, 0, -1, 1, 1, {{0, 0}, {1, 1}}},
      {7, 5, -4, -1, 4, 4, {{0, 2}, {1, 3}, {2, 3}, {3, 4}, {4, 4}}},
      {2, 2, 2, 3, 0, -3, {{1, 0}}},
      {10, 10, 0, 0, 4, 2, {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
      {10, 10, 0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " " << c.x1 << "," << c.y1 << " " << c.x2
                                    << "," << c.y2);
    Raster raster(c.width, c.height);
    DrawLineOn(raster, c.x1, c.y1, c.x2, c.y2, White);
    EXPECT_EQ(LitPixels(raster), c.expected);
    EXPECT_EQ(line_model::LinePixels(c.width, c.height, c.x1, c.y1, c.x2, c.y2), c.expected) << "model";
  }
}

// Every pair of end points in and around each target, lines that miss it included.
TEST(DrawLine, MatchesTheModelForEveryPairOfEndsAroundSmallTargets) {
  for (auto [width, height] : std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {7, 5}, {3, 8}}) {
    std::vector<std::pair<int, int>> ends;
    for (int x = -5; x <= width + 4; ++x)
      for (int y = -5; y <= height + 4; ++y) ends.push_back({x, y});
    for (auto [x1, y1] : ends)
      for (auto [x2, y2] : ends) {
        Raster raster(width, height);
        DrawLineOn(raster, x1, y1, x2, y2, White);
        ASSERT_EQ(LitPixels(raster), line_model::LinePixels(width, height, x1, y1, x2, y2))
            << width << "x" << height << " " << x1 << "," << y1 << " " << x2 << "," << y2;
      }
  }
}

// End points anywhere in the 32-bit range: the exact crossings must neither overflow nor drift.
TEST(DrawLine, MatchesTheModelForExtremeEnds) {
  constexpr int Big = std::numeric_limits<int>::max(), Small = std::numeric_limits<int>::min();
  const std::vector<int> ends = {Small, Small + 1, -1000000000, -1, 0, 34, 69, 70, 159, 160, 1000000000, Big - 1, Big};
  for (int x1 : ends)
    for (int y1 : ends)
      for (int x2 : ends)
        for (int y2 : ends) {
          Raster raster(160, 70);
          DrawLineOn(raster, x1, y1, x2, y2, White);
          ASSERT_EQ(LitPixels(raster), line_model::LinePixels(160, 70, x1, y1, x2, y2))
              << x1 << "," << y1 << " " << x2 << "," << y2;
        }
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

// Positions near the ends of the int range overflowed the clipping sums and wrote far outside the target.
TEST(Blit, PositionsNearTheIntLimitsDoNotOverflow) {
  constexpr int Big = std::numeric_limits<int>::max(), Small = std::numeric_limits<int>::min();
  const Raster source(3, 2, White);
  const std::vector<int> places = {Small, Small + 1, Small + 2, -3, -2, 3, 4, Big - 2, Big - 1, Big};
  for (int x : places)
    for (int y : places) {
      Raster target(4, 3);
      BlitOn(target, source, x, y);
      PixelSet expected;  // source pixel (i, j) lands on (x + i, y + j) when that lies inside
      for (long long i = 0; i < 3; ++i)
        for (long long j = 0; j < 2; ++j)
          if (x + i >= 0 && x + i < 4 && y + j >= 0 && y + j < 3)
            expected.insert({static_cast<int>(x + i), static_cast<int>(y + j)});
      EXPECT_EQ(LitPixels(target), expected) << x << "," << y;
    }
}

}  // namespace
