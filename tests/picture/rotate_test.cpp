// A quarter turn clockwise: where single pixels go, and four turns give the picture back.
#include <gtest/gtest.h>

#include <random>

#include "picture/rotate.h"

namespace {

TEST(RotatedClockwise, SinglePixelsMoveAsAQuarterTurn) {
  struct Case {
    int x, y, toX, toY;
  };
  const Case cases[] = {{0, 0, 379, 0}, {379, 0, 379, 379}, {10, 20, 359, 10}, {379, 379, 0, 379}, {0, 379, 0, 0}};
  for (const Case& c : cases) {
    Raster picture(380, 380);
    picture.At(c.x, c.y) = White;
    const Raster turned = RotatedClockwise(picture);
    EXPECT_EQ(turned.At(c.toX, c.toY), White) << c.x << "," << c.y;
    int lit = 0;
    for (Colour p : turned.pixels) lit += p != Black;
    EXPECT_EQ(lit, 1);
  }
}

TEST(RotatedClockwise, FourTurnsGiveThePictureBack) {
  Raster picture(380, 380);
  std::mt19937 random(7);
  for (Colour& p : picture.pixels) p = random() & ColourMask;
  Raster turned = picture;
  for (int i = 0; i < 4; ++i) {
    turned = RotatedClockwise(turned);
    if (i < 3) {
      EXPECT_NE(turned, picture);
    }
  }
  EXPECT_EQ(turned, picture);
}

}  // namespace
