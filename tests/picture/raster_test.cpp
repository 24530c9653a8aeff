// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel layer: exact rectangles, lines, discs and blits, the drawing block and the stretch (Rotate shows the turn).
#include <gtest/gtest.h>
#include <climits>
#include "picture/picture_transform.h"
#include "picture/raster_ops.h"
#include "picture/surface.h"
#include "support/raster_models.h"

using raster_models::Pixels;

static Pixels Lit(const Raster& raster, Colour colour = White) {
  Pixels lit;
  for (int i = 0; i < raster.width * raster.height; ++i)
    if (raster.pixels[i] != Black)  // a pixel of another colour shows as (-1, -1)
      lit.insert(raster.pixels[i] == colour ? std::pair{i % raster.width, i / raster.width} : std::pair{-1, -1});
  return lit;
}

TEST(FillRectOn, ClipsNormalisesNegativeSizesAndMasksTheColour) {
  const std::pair<std::array<int, 4>, Pixels> cases[] = {{{-3, -3, 5, 5}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
      {{5, 5, -2, -1}, {{3, 4}, {4, 4}}}, {{2, 2, 0, 5}, {}}, {{9, 8, 99, 99}, {{9, 8}, {9, 9}}}, {{INT_MIN, 0, INT_MAX, 1}, {}}};
  for (const auto& [rect, expected] : cases) {
    Raster raster(10, 10);
    FillRectOn(raster, rect[0], rect[1], rect[2], rect[3], 0xFFFFFFFFu);
    EXPECT_EQ(Lit(raster), expected) << rect[0] << "," << rect[1] << " " << rect[2] << "x" << rect[3];
  }
}
// Every pair of end points from the coordinates given, around small targets and out at the int limits; the
// model itself is checked on worked lines: exact crossings rounded half to even, and Bresenham's tie moving on.
TEST(DrawLineOn, MatchesTheLineModel) {
  EXPECT_EQ(raster_models::LinePixels(9, 9, 0, 0, 4, 2), (Pixels{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
  EXPECT_EQ(raster_models::LinePixels(7, 5, -4, -1, 4, 4), (Pixels{{0, 2}, {1, 3}, {2, 3}, {3, 4}, {4, 4}}));
  auto around = [](int size) { std::vector<int> v; for (int i = -5; i <= size + 4; ++i) v.push_back(i); return v; };
  const std::vector<int> far = {INT_MIN, INT_MIN + 1, -1000000000, -1, 0, 3, 6, 7, 1000000000, INT_MAX};
  struct Case { int w, h; std::vector<int> xs, ys; } const cases[] = {{9, 9, {0, 4}, {0, 2}},
      {1, 1, around(1), around(1)}, {2, 2, around(2), around(2)}, {7, 5, around(7), around(5)}, {7, 5, far, far}};
  for (const Case& c : cases)
    for (int x1 : c.xs) for (int y1 : c.ys) for (int x2 : c.xs) for (int y2 : c.ys) {
      Raster raster(c.w, c.h);
      DrawLineOn(raster, x1, y1, x2, y2, White);
      ASSERT_EQ(Lit(raster), raster_models::LinePixels(c.w, c.h, x1, y1, x2, y2)) << x1 << "," << y1 << " " << x2 << "," << y2;
    }
}
TEST(FillCircleOn, MatchesTheHalfWidthTableWholeAndClipped) {
  for (int r = 0; r <= 11; ++r)
    for (auto [cx, cy] : {std::pair{20, 20}, {0, 0}, {-3, 5}, {43, 39}, {40, 17}}) {
      Raster drawn(41, 41), expected(41, 41);
      FillCircleOn(drawn, cx, cy, r, White);
      if (r > 0) raster_models::AddDisc(expected, cx, cy, r, White);
      else if (expected.Contains(cx, cy)) expected.At(cx, cy) = White;  // radius 0 is one pixel
      EXPECT_EQ(Lit(drawn), Lit(expected)) << "radius " << r << " at " << cx << "," << cy;
    }
}
// Positions near either end of the int range overflowed the clipping sums and wrote outside the target.
TEST(BlitOn, PositionsNearTheIntLimitsOnceWroteOutsideTheTarget) {
  Raster source(3, 2);
  source.pixels = {1, 2, 3, 4, 5, 6};  // distinct values, so a shifted copy shows
  for (int x : {INT_MIN, INT_MIN + 1, -3, -2, 0, 1, 3, 4, INT_MAX - 1, INT_MAX})
    for (int y : {INT_MIN, -2, -1, 0, 2, 3, INT_MAX}) {
      Raster target(4, 3), expected(4, 3);  // source pixel (i, j) lands on (x + i, y + j) when that lies inside
      BlitOn(target, source, x, y);
      for (long long i = 0; i < 3; ++i)
        for (long long j = 0; j < 2; ++j)
          if (x + i >= 0 && x + i < 4 && y + j >= 0 && y + j < 3) expected.At(int(x + i), int(y + j)) = source.At(int(i), int(j));
      EXPECT_EQ(target, expected) << x << "," << y;
    }
}
TEST(Surface, OneDrawingBlockAtATimeAndNothingOutsideIt) {
  FillRect(0, 0, 4, 4, White);  // no block: nothing happens
  EXPECT_EQ(std::tuple(GetPixel(0, 0), OutputWidth()), std::tuple(Black, 0));
  EXPECT_FALSE(BeginDrawing(ImageTarget(3)) || BeginDrawing(CanvasTarget(7))) << "nothing to draw on";
  const ImageRef image = NewImage(3, 4, 4);
  ASSERT_TRUE(BeginDrawing(ImageTarget(3)));
  EXPECT_FALSE(BeginDrawing(HandleTarget(image))) << "a second block while one is open";
  SetPixel(1, 1, 0xFF123456u), SetPixel(4, 0, White), BlitImage(image, 1, 0);  // never onto itself
  EXPECT_EQ(std::tuple(GetPixel(1, 1), GetPixel(-1, 0)), std::tuple(0x123456u, Black));
  EndDrawing(), SetPixel(2, 2, White), BlitImage(image, 0, 0);
  EXPECT_EQ(Lit(*image, 0x123456u), (Pixels{{1, 1}}));
  ASSERT_TRUE(BeginDrawing(ImageTarget(3)));  // replacing the block's image ends the block: no drawing on freed memory
  const ImageRef replacement = NewImage(3, 4, 4);
  FillRect(0, 0, 4, 4, White);
  EXPECT_EQ(std::tuple(OutputWidth(), Lit(*replacement).size()), std::tuple(0, 0u));
  EXPECT_TRUE(BeginDrawing(ImageTarget(3)));
}
TEST(StretchToSize, AreaAveragesRoundedToTheNearestLevel) {
  Raster square(2, 2), strip(100, 1);
  square.pixels = {MakeColour(0, 100, 255), MakeColour(100, 100, 255), MakeColour(200, 0, 0), MakeColour(100, 0, 0)};
  strip.At(1, 0) = White;  // target 3 of 380 covers 80 units of source 0 and 20 of source 1
  struct Case { Raster source; int w, h, x; Colour expected; } const cases[] = {{square, 1, 1, 0, MakeColour(100, 50, 128)},
      {strip, 380, 1, 3, MakeColour(51, 51, 51)}, {strip, 380, 1, 4, White}, {Raster(), 4, 3, 3, Black},
      {Raster(1, 1, 0x070809), 380, 380, 379, 0x070809}};
  for (const Case& c : cases) {
    const Raster out = StretchToSize(c.source, c.w, c.h);
    ASSERT_EQ(std::tuple(out.width, out.height), std::tuple(c.w, c.h));
    EXPECT_EQ(out.At(c.x, 0), c.expected) << c.source.width << "x" << c.source.height << " at " << c.x;
  }
  EXPECT_EQ(StretchToSize(square, 2, 2), square) << "the same size unchanged";
}
