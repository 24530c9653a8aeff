// The drawing surface: numbered and temporary images, canvas pictures and the one drawing block.
#include <gtest/gtest.h>

#include "picture/surface.h"
#include "support/stand_in_canvas.h"

namespace {

class Surface : public ::testing::Test {
 protected:
  void TearDown() override { DropAllImages(); }
  StandInCanvas canvas{7, 20, 10, White};
  const Raster& canvasPicture = canvas.picture;
  const int& shown = canvas.shows;
};

TEST_F(Surface, BlocksOpenOnlyOnWhatExistsAndOneAtATime) {
  EXPECT_FALSE(BeginDrawing(ImageTarget(3)));
  EXPECT_FALSE(BeginDrawing(CanvasTarget(8)));
  ASSERT_NE(NewImage(3, 4, 4), nullptr);
  ASSERT_TRUE(BeginDrawing(ImageTarget(3)));
  EXPECT_FALSE(BeginDrawing(CanvasTarget(7))) << "a second block while one is open";
  EXPECT_EQ(OutputWidth(), 4);
  EndDrawing();
  EXPECT_TRUE(BeginDrawing(CanvasTarget(7)));
  EXPECT_EQ(OutputWidth(), 20);
  EXPECT_EQ(OutputHeight(), 10);
  EndDrawing();
  EXPECT_EQ(shown, 1) << "closing a block on a canvas shows it";
}

TEST_F(Surface, NewImagesAreBlackAndANumberInUseIsReplaced) {
  const ImageRef first = NewImage(0, 5, 5);
  ASSERT_TRUE(BeginDrawing(ImageTarget(0)));
  FillRect(0, 0, 5, 5, White);
  EndDrawing();
  const ImageRef second = NewImage(0, 6, 6);
  EXPECT_EQ(ImageHandle(0), second);
  EXPECT_NE(second, nullptr);
  ASSERT_TRUE(BeginDrawing(ImageTarget(0)));
  EXPECT_EQ(GetPixel(5, 5), Black);
  EXPECT_EQ(OutputWidth(), 6);
  EndDrawing();
  EXPECT_NE(first, nullptr);
}

// Replacing the image a block is open on used to leave the block drawing on the freed image.
TEST_F(Surface, ReplacingTheImageOfTheOpenBlockEndsTheBlock) {
  NewImage(0, 4, 4);
  ASSERT_TRUE(BeginDrawing(ImageTarget(0)));
  NewImage(0, 4, 4);
  FillRect(0, 0, 4, 4, White);  // must not reach the freed image
  EXPECT_EQ(OutputWidth(), 0);
  EndDrawing();
  ASSERT_TRUE(BeginDrawing(ImageTarget(0)));
  EXPECT_EQ(GetPixel(0, 0), Black);
  EndDrawing();
}

TEST_F(Surface, TemporaryImagesBlitsAndShowOnCanvas) {
  const ImageRef temporary = NewImage(3, 2);
  ASSERT_NE(temporary, nullptr);
  ASSERT_TRUE(BeginDrawing(HandleTarget(temporary)));
  FillRect(0, 0, 3, 2, 0xFF123456u);
  EXPECT_EQ(GetPixel(2, 1), 0x123456u) << "the top byte is ignored";
  SetPixel(1, 0, 0xFFFFFFFFu);
  EXPECT_EQ(GetPixel(1, 0), White);
  SetPixel(1, 0, 0x123456u);
  EndDrawing();
  ShowOnCanvas(7, nullptr);
  EXPECT_EQ(shown, 0);
  ShowOnCanvas(7, temporary);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(canvasPicture.At(2, 1), 0x123456u);
  EXPECT_EQ(canvasPicture.At(3, 0), White);
  NewImage(9, 4, 4);
  ASSERT_TRUE(BeginDrawing(ImageTarget(9)));
  BlitImage(CanvasPicture(7), -1, 2);  // canvas column 1 lands on column 0, row 0 on row 2
  EXPECT_EQ(GetPixel(0, 2), 0x123456u);
  EXPECT_EQ(GetPixel(1, 3), 0x123456u);
  EXPECT_EQ(GetPixel(2, 2), White);
  EXPECT_EQ(GetPixel(0, 1), Black) << "rows above the blit are untouched";
  EndDrawing();
  DropImage(temporary);
  DropImage(temporary);  // a second drop of the same handle is ignored
}

}  // namespace
