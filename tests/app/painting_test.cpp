// Painting on the real canvas: brush discs, the rubber-band line, Clear and Rotate.
#include "app/control_ids.h"
#include "app/settings.h"
#include "picture/surface.h"
#include "support/app_fixture.h"
#include "support/disc_model.h"
#include "support/line_model.h"
#include "ui/ui.h"

namespace {

using Painting = AppTest;

void AddLine(Raster& picture, int x1, int y1, int x2, int y2) {
  for (auto [x, y] : line_model::LinePixels(picture.width, picture.height, x1, y1, x2, y2)) picture.At(x, y) = White;
}

Raster Snapshot() { return *ImageHandle(CanvasImage); }

TEST_F(Painting, ClickPaintsADiscSeventeenAcross) {
  Press(PaintCanvas, {100, 100});
  Release(PaintCanvas, {100, 100});
  Raster expected(380, 380);
  disc_model::AddDisc(expected, 100, 100, 8, White);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
  int across = 0;
  for (int x = 0; x < 380; ++x) across += CanvasOf(PaintCanvas).At(x, 100) != Black;
  EXPECT_EQ(across, 17);
}

TEST_F(Painting, CornerClickPaintsAQuarterDisc) {
  Press(PaintCanvas, {0, 0});
  Release(PaintCanvas, {0, 0});
  Raster expected(380, 380);
  disc_model::AddDisc(expected, 0, 0, 8, White);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

TEST_F(Painting, BrushSizeSetsTheRadius) {
  MoveSliderTo(BrushSizeSpin, 11);
  Press(PaintCanvas, {200, 200});
  Release(PaintCanvas, {200, 200});
  Raster expected(380, 380);
  disc_model::AddDisc(expected, 200, 200, 11, White);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

TEST_F(Painting, StrokeIsSeparateDiscsAtReportedPositions) {
  Press(PaintCanvas, {50, 50});
  Move(PaintCanvas, {150, 50});
  Release(PaintCanvas, {150, 50});
  Raster expected(380, 380);
  disc_model::AddDisc(expected, 50, 50, 8, White);
  disc_model::AddDisc(expected, 150, 50, 8, White);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

TEST_F(Painting, MovingWithoutTheLeftButtonPaintsNothing) {
  Move(PaintCanvas, {60, 60});
  Press(PaintCanvas, {80, 80}, Qt::RightButton);
  Move(PaintCanvas, {90, 90});
  Release(PaintCanvas, {90, 90}, Qt::RightButton);
  EXPECT_EQ(LitCount(CanvasOf(PaintCanvas)), 0);
}

TEST_F(Painting, DraggingOffTheCanvasPaintsOnItsEdge) {
  Press(PaintCanvas, {370, 200});
  Move(PaintCanvas, {450, 200});
  Move(PaintCanvas, {200, -40});
  Release(PaintCanvas, {200, -40});
  Raster expected(380, 380);
  disc_model::AddDisc(expected, 370, 200, 8, White);
  disc_model::AddDisc(expected, 379, 200, 8, White);
  disc_model::AddDisc(expected, 200, 0, 8, White);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

TEST_F(Painting, RubberBandLineKeepsOnlyTheLatestLine) {
  Press(PaintCanvas, {300, 300});  // something under the line to be restored
  Release(PaintCanvas, {300, 300});
  Raster expected = CanvasOf(PaintCanvas);
  Click(LineToggle);
  Press(PaintCanvas, {10, 10});
  Move(PaintCanvas, {200, 50});
  Move(PaintCanvas, {50, 300});
  Release(PaintCanvas, {50, 300});
  AddLine(expected, 10, 10, 50, 300);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

TEST_F(Painting, LinePressWithoutMovingLeavesOnePixel) {
  Click(LineToggle);
  Press(PaintCanvas, {123, 45});
  Release(PaintCanvas, {123, 45});
  EXPECT_EQ(LitCount(CanvasOf(PaintCanvas)), 1);
  EXPECT_EQ(CanvasOf(PaintCanvas).At(123, 45), White);
}

// The snapshot the line tool restores is taken at each press only: Clear and Rotate leave it as it was.
TEST_F(Painting, ClearAndRotateLeaveTheSnapshotAsItWas) {
  Press(PaintCanvas, {100, 100});
  Release(PaintCanvas, {100, 100});
  Press(PaintCanvas, {200, 200});
  Release(PaintCanvas, {200, 200});
  Raster taken(380, 380);
  disc_model::AddDisc(taken, 100, 100, 8, White);
  ASSERT_EQ(Snapshot(), taken);
  Click(ClearButton);
  EXPECT_EQ(Snapshot(), taken);
  Press(PaintCanvas, {10, 300});
  Release(PaintCanvas, {10, 300});
  Click(RotateButton);
  EXPECT_EQ(Snapshot(), Raster(380, 380)) << "the press after Clear took the cleared picture";
}

// The second press of a double click is a press too: it takes a new snapshot and starts a new line there.
TEST_F(Painting, DoubleClickTakesANewSnapshotAndLineStart) {
  Press(PaintCanvas, {50, 50});
  Release(PaintCanvas, {50, 50});
  DoubleClickOnControl(PaintCanvas, {300, 250});
  Pump();
  Raster expected(380, 380);
  disc_model::AddDisc(expected, 50, 50, 8, White);
  disc_model::AddDisc(expected, 300, 250, 8, White);
  EXPECT_EQ(Snapshot(), expected) << "taken at the second press, over the disc of the first";
  EXPECT_EQ(LineStartX, 300);
  EXPECT_EQ(LineStartY, 250);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
}

TEST_F(Painting, ClearBlackensEverythingAndKeepsTheTools) {
  MoveSliderTo(BrushSizeSpin, 4);
  Press(PaintCanvas, {100, 100});
  Release(PaintCanvas, {100, 100});
  Click(ClearButton);
  EXPECT_EQ(LitCount(CanvasOf(PaintCanvas)), 0);
  EXPECT_EQ(UiGetState(BrushSizeSpin), 4);
  EXPECT_EQ(Tool, BrushToggle);
  EXPECT_EQ(BrushColor, White);
}

TEST_F(Painting, RotateTurnsTheCanvasAndTheNextLineRestoresTheTurnedPicture) {
  MoveSliderTo(BrushSizeSpin, 1);
  Click(LineToggle);
  Press(PaintCanvas, {10, 20});
  Release(PaintCanvas, {10, 20});
  Click(RotateButton);
  EXPECT_EQ(CanvasOf(PaintCanvas).At(359, 10), White);
  EXPECT_EQ(LitCount(CanvasOf(PaintCanvas)), 1);
  Press(PaintCanvas, {100, 300});
  Move(PaintCanvas, {120, 320});
  Release(PaintCanvas, {120, 320});
  Raster expected(380, 380);
  expected.At(359, 10) = White;
  AddLine(expected, 100, 300, 120, 320);
  EXPECT_EQ(CanvasOf(PaintCanvas), expected);
  for (int i = 0; i < 3; ++i) Click(RotateButton);
  EXPECT_EQ(CanvasOf(PaintCanvas).At(10, 20), White);
}

}  // namespace
