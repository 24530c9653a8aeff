// The drawn band level editor on a fake canvas, also with points far outside it.
#include <gtest/gtest.h>

#include <limits>

#include "app/settings.h"
#include "band_editor_fixture.h"
#include "distribution/band_editor_pointer.h"
#include "support/disc_model.h"
#include "support/line_model.h"
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

// Dragged to the far edge, the last point sits at x = 160, just outside the control: the line to it
// must end where it crosses column 159, y = 24.5, rounded half to even, not at row 25.
TEST_F(DrawnBandEditor, LineToTheDraggedLastPointEndsAtItsCrossingRoundedToEven) {
  std::vector<StoredBandPoint> stored = ExportBandPointsOf(AppEditor());
  stored[6] = {112, 70 - 1};
  ImportBandPoints(handle, stored);
  BandLevelEditor& editor = *FindBandLevelEditor(handle);
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 159, 35);
  HandleBandPointer(editor, ControlEventType::MouseMove, 159, 25);
  ASSERT_EQ(editor.points.back(), (BandPoint{160, 25}));
  DrawBandLevelEditor(handle);

  const std::vector<BandPoint> points = {{0, 35},   {22, 35},  {44, 35}, {66, 35},
                                         {89, 35}, {111, 35}, {112, 1}, {160, 25}};
  Raster expected(160, 70, Blue);
  for (const BandPoint& p : points) disc_model::AddDisc(expected, p.x, p.y, 3, Green);
  for (std::size_t i = 0; i + 1 < points.size(); ++i)
    for (auto [x, y] : line_model::LinePixels(160, 70, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y))
      expected.At(x, y) = Green;
  EXPECT_EQ(*picture, expected);
}

TEST(RasterFarCoordinates, DiscsFarOutsideDrawNothingAndAHugeOneOverTheTargetFillsIt) {
  Raster raster(160, 70);
  FillCircleOn(raster, Big, Small, 3, White);
  FillCircleOn(raster, Small, Big, 10, White);
  FillCircleOn(raster, Big, 35, Big, White);
  FillCircleOn(raster, 80, Small, Big, White);
  EXPECT_EQ(raster, Raster(160, 70));
  FillCircleOn(raster, 80, 35, Big, White);
  EXPECT_EQ(raster, Raster(160, 70, White));
}

}  // namespace
