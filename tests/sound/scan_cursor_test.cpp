// The scan cursor on a stand-in canvas: the line's place, the restored picture and the repaint per step.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "picture/surface.h"
#include "sound/scan_cursor.h"
#include "support/stand_in_canvas.h"

namespace {

TEST(DrawScanCursor, DrawsOneWhiteColumnOverTheSnapshot) {
  StandInCanvas canvas;
  Raster& snapshot = *NewImage(CanvasImage, CanvasSize, CanvasSize);
  snapshot.At(5, 5) = 0x123456;
  canvas.picture.At(100, 100) = 0xABCDEF;  // painted after the snapshot: the cursor covers it
  for (int x : {0, 5, 200, 379}) {
    SCOPED_TRACE(x);
    const int shows = canvas.shows;
    DrawScanCursor(x);
    EXPECT_EQ(canvas.shows, shows + 1);
    EXPECT_EQ(CursorColumnOn(canvas.picture, snapshot), x);
    EXPECT_EQ(canvas.picture.At(x, 379), White);
  }
  EXPECT_EQ(canvas.picture.At(100, 100), Black);
}

TEST(DrawScanCursor, PastTheRightEdgeItOnlyRestores) {
  StandInCanvas canvas;
  Raster& snapshot = *NewImage(CanvasImage, CanvasSize, CanvasSize);
  snapshot.At(3, 4) = 0x00FF00;
  DrawScanCursor(379);
  DrawScanCursor(380);
  EXPECT_EQ(canvas.picture, snapshot);
  DrawScanCursor(383);
  EXPECT_EQ(canvas.picture, snapshot);
}

TEST(RestoreCanvasPicture, TakesTheLastLineAway) {
  StandInCanvas canvas;
  const Raster& snapshot = *NewImage(CanvasImage, CanvasSize, CanvasSize);
  DrawScanCursor(378);
  EXPECT_NE(canvas.picture, snapshot);
  RestoreCanvasPicture();
  EXPECT_EQ(canvas.picture, snapshot);
}

TEST(DrawScanCursor, WithoutACanvasNothingHappens) {
  SetCanvasHooks({});
  NewImage(CanvasImage, CanvasSize, CanvasSize);
  DrawScanCursor(10);
  RestoreCanvasPicture();
  EXPECT_TRUE(BeginDrawing(ImageTarget(CanvasImage)));  // no block was left open
  EndDrawing();
}

}  // namespace
