// The drawn band level editor on a fake canvas, also with points far outside it.
#include <gtest/gtest.h>

#include <limits>

#include "app/settings.h"
#include "band_editor_fixture.h"
#include "distribution/band_editor_pointer.h"
#include "picture/raster_ops.h"
#include "picture/surface.h"
#include "support/stand_in_canvas.h"

namespace {

using band_fixture::AppEditor;
using band_fixture::Stored;

constexpr int EditorControl = 1000;
constexpr Colour Green = 0x00FF00;
constexpr Colour Blue = 0xFF0000;
constexpr int Big = std::numeric_limits<int>::max();
constexpr int Small = std::numeric_limits<int>::min();

class DrawnBandEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobals();
    BandLevelEditor record = AppEditor();
    record.foreground = Green;
    record.background = Blue;
    handle = AttachBandLevelEditor(EditorControl, record);
  }
  StandInCanvas canvas{EditorControl, 160, 70, White};
  Raster* picture = &canvas.picture;
  BandEditorHandle handle = 0;
};

TEST_F(DrawnBandEditor, BackgroundMarkersAndLinesInOneBlock) {
  DrawBandLevelEditor(handle);
  EXPECT_EQ(canvas.shows, 1);
  EXPECT_EQ(picture->At(80, 5), Blue);
  EXPECT_EQ(picture->At(80, 65), Blue);
  // The flat curve along row 35 from x = 0 to the last point at 159.
  for (int x = 0; x < 160; ++x) EXPECT_EQ(picture->At(x, 35), Green) << x;
  // The radius-3 marker on point 1 (22, 35): half-widths 3, 3, 2, 1.
  EXPECT_EQ(picture->At(22, 32), Green);
  EXPECT_EQ(picture->At(23, 32), Green);
  EXPECT_EQ(picture->At(24, 32), Blue);
  EXPECT_EQ(picture->At(22, 31), Blue);
  EXPECT_EQ(picture->At(20, 37), Green);
  EXPECT_EQ(picture->At(19, 37), Blue);
  // Nothing but the markers and the line.
  int green = 0;
  for (Colour pixel : picture->pixels) green += pixel == Green;
  // 160 line pixels plus, per marker, its 30 pixels off the centre row (18 at the clipped ends).
  EXPECT_EQ(green, 160 + 6 * 30 + 2 * 18);
}

TEST_F(DrawnBandEditor, DraggedPointIsDrawnAfreshWithItsLines) {
  BandLevelEditor& editor = *FindBandLevelEditor(handle);
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 66, 35);
  HandleBandPointer(editor, ControlEventType::MouseMove, 66, 5);
  DrawBandLevelEditor(handle);
  EXPECT_EQ(picture->At(66, 5), Green);
  EXPECT_EQ(picture->At(66, 35), Blue);  // the old marker is gone
  EXPECT_EQ(picture->At(60, 35), Blue);
  EXPECT_EQ(picture->At(55, 20), Green);  // on the rising line from point 2 (44, 35)
}

TEST_F(DrawnBandEditor, NothingIsDrawnWithoutASurface) {
  SetCanvasHooks({});
  DrawBandLevelEditor(handle);
  EXPECT_EQ(canvas.shows, 0);
  EXPECT_EQ(*picture, Raster(160, 70, White));
}

TEST_F(DrawnBandEditor, PointsFarOutsideTheControlDrawOnlyWhatLiesInside) {
  ImportBandPoints(handle, Stored({{0, Big}, {Big, Small}, {Small, Big}, {Big, Big}, {Small, Small},
                                   {0, Big}, {Big, 0}, {0, Small}}));
  EXPECT_EQ(canvas.shows, 1);
  // Point 6 sits at (Big, 70): its line to the last point (159, Big) stays far right of the control.
  for (Colour pixel : picture->pixels) EXPECT_TRUE(pixel == Green || pixel == Blue);
  SetBandLevelEditorProperty(handle, MarkerRadiusProperty, Big);
  SetBandLevelEditorProperty(handle, MarkerRadiusProperty, Small);
  EXPECT_EQ(canvas.shows, 3);
}

TEST_F(DrawnBandEditor, AFarPointsLineCrossesTheControl) {
  // Point 3 far up-left and point 4 far down-right: the line between them crosses the whole control.
  std::vector<StoredBandPoint> stored = ExportBandPointsOf(AppEditor());
  stored[3] = {Small, Big};
  stored[4] = {Big, Small};
  ImportBandPoints(handle, stored);
  int columnsCrossed = 0;
  for (int x = 0; x < 160; ++x) {
    for (int y = 0; y < 70; ++y) {
      if (picture->At(x, y) == Green && y != 35 && (y < 31 || y > 39)) {
        ++columnsCrossed;
        break;
      }
    }
  }
  EXPECT_GT(columnsCrossed, 0);
}

TEST(RasterFarCoordinates, DiscsFarOutsideDrawNothingAndAHugeOneOverTheTargetFillsIt) {
  Raster raster(160, 70);
  FillCircleOn(raster, Big, Small, 3, White);
  FillCircleOn(raster, Small, Big, 10, White);
  FillCircleOn(raster, Big, 35, Big, White);
  FillCircleOn(raster, 80, Small, Big, White);
  DrawLineOn(raster, Big, Small, Big, Big, White);
  DrawLineOn(raster, Small, Small, Big, Small, White);
  DrawLineOn(raster, Big, Small, Big - 1, Big, White);
  EXPECT_EQ(raster, Raster(160, 70));
  FillCircleOn(raster, 80, 35, Big, White);
  EXPECT_EQ(raster, Raster(160, 70, White));
}

TEST(RasterFarCoordinates, LinesBetweenFarEndsAreClippedToTheTarget) {
  Raster raster(160, 70);
  DrawLineOn(raster, Small, 35, Big, 35, White);
  for (int x = 0; x < 160; ++x) EXPECT_EQ(raster.At(x, 35), White);
  Raster diagonal(160, 70);
  DrawLineOn(diagonal, Small, Small, Big, Big, White);  // passes (0, 0) and (69, 69)
  EXPECT_EQ(diagonal.At(0, 0), White);
  EXPECT_EQ(diagonal.At(40, 40), White);
  EXPECT_EQ(diagonal.At(69, 69), White);
}

TEST(RasterFarCoordinates, EveryLineAmongExtremeEndsFinishesAndKeepsItsInsideEnds) {
  const std::vector<int> ends = {Small, Small + 1, -1000000000, -1, 0, 34, 69, 70, 159, 160, 1000000000, Big - 1, Big};
  for (int x1 : ends)
    for (int y1 : ends)
      for (int x2 : ends)
        for (int y2 : ends) {
          Raster raster(160, 70);
          DrawLineOn(raster, x1, y1, x2, y2, White);
          if (raster.Contains(x1, y1)) {
            EXPECT_EQ(raster.At(x1, y1), White) << x1 << "," << y1;
          }
          if (raster.Contains(x2, y2)) {
            EXPECT_EQ(raster.At(x2, y2), White) << x2 << "," << y2;
          }
        }
}

}  // namespace
