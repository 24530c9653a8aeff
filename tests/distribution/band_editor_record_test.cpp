// Placing the band level editor's points, its properties and the hit test.
#include <gtest/gtest.h>

#include <limits>

#include "band_editor_fixture.h"

namespace {

using band_fixture::AppEditor;
using band_fixture::Stored;

TEST(BandEditorRecord, FreshEditorExportsTheStartCurve) {
  EXPECT_EQ(ExportBandPointsOf(AppEditor()),
            Stored({{0, 35}, {22, 35}, {44, 35}, {66, 35}, {89, 35}, {111, 35}, {133, 35}, {159, 35}}));
}

TEST(BandEditorRecord, NewRecordStartsIdleWithRangesOfItsSize) {
  const BandLevelEditor editor = NewBandLevelEditorRecord(160, 70, 8, 0x00FF00, 0x0000FF);
  EXPECT_EQ(editor.held, -1);
  EXPECT_EQ(editor.valueRangeX, 160.0f);
  EXPECT_EQ(editor.valueRangeY, 70.0f);
  EXPECT_EQ(editor.markerRadius, 5);
  EXPECT_EQ(editor.hitRadius, 5);
  EXPECT_EQ(editor.pointCount, 8);
  EXPECT_EQ(editor.foreground, 0x00FF00u);
  EXPECT_EQ(editor.background, 0x0000FFu);
}

TEST(BandEditorRecord, PointCountPlacesAnewWithTheMarkerRadiusInEffect) {
  BandLevelEditor editor = AppEditor();
  editor.points[3] = {70, 10};
  ApplyBandEditorProperty(editor, PointCountProperty, 8);
  // Spacing is now (160 - 3) / 7 = 22.43 pixels.
  EXPECT_EQ(ExportBandPointsOf(editor),
            Stored({{0, 35}, {22, 35}, {45, 35}, {67, 35}, {90, 35}, {112, 35}, {135, 35}, {159, 35}}));
}

TEST(BandEditorRecord, PointCountStaysWithinItsLimitsAndReleasesAHeldPoint) {
  for (int count : {1, 0, -5, std::numeric_limits<int>::min()}) {
    BandLevelEditor editor = AppEditor();
    editor.held = 1;
    ApplyBandEditorProperty(editor, PointCountProperty, count);
    EXPECT_EQ(editor.pointCount, 2);
    EXPECT_EQ(editor.held, -1);
    EXPECT_EQ(ExportBandPointsOf(editor), Stored({{0, 35}, {159, 35}})) << count;
  }
  // A huge count is capped instead of exhausting memory.
  BandLevelEditor editor = AppEditor();
  ApplyBandEditorProperty(editor, PointCountProperty, std::numeric_limits<int>::max());
  EXPECT_EQ(editor.pointCount, MaxBandPointCount);
  EXPECT_EQ(editor.points.size(), static_cast<std::size_t>(MaxBandPointCount));
}

TEST(BandEditorRecord, InteriorPositionsRoundHalfToEven) {
  // (10 - 5) / 2 = 2.5 rounds to 2; (14 - 5) / 2 = 4.5 rounds to 4.
  EXPECT_EQ(NewBandLevelEditorRecord(10, 4, 3, White, Black).points[1], (BandPoint{2, 2}));
  EXPECT_EQ(NewBandLevelEditorRecord(14, 4, 3, White, Black).points[1], (BandPoint{4, 2}));
}

TEST(BandEditorRecord, MarkerRadiusRaisesASmallerHitRadiusOnly) {
  BandLevelEditor editor = AppEditor();  // marker 3, hit 10
  ApplyBandEditorProperty(editor, MarkerRadiusProperty, 6);
  EXPECT_EQ(editor.markerRadius, 6);
  EXPECT_EQ(editor.hitRadius, 10);
  ApplyBandEditorProperty(editor, MarkerRadiusProperty, 12);
  EXPECT_EQ(editor.hitRadius, 12);
  ApplyBandEditorProperty(editor, HitRadiusProperty, 2);  // not compared with the marker radius
  EXPECT_EQ(editor.hitRadius, 2);
  EXPECT_EQ(editor.markerRadius, 12);
}

TEST(BandEditorRecord, ValueRangesAndUnknownKeys) {
  BandLevelEditor editor = AppEditor();
  ApplyBandEditorProperty(editor, ValueRangeXProperty, 500);
  ApplyBandEditorProperty(editor, ValueRangeYProperty, -20);
  EXPECT_EQ(editor.valueRangeX, 500.0f);
  EXPECT_EQ(editor.valueRangeY, -20.0f);
  const auto before = ExportBandPointsOf(editor);
  for (int key : {-1, 5, 99}) ApplyBandEditorProperty(editor, key, 7);
  EXPECT_EQ(ExportBandPointsOf(editor), before);
  EXPECT_EQ(editor.markerRadius, 3);
  EXPECT_EQ(editor.hitRadius, 10);
  EXPECT_EQ(editor.pointCount, 8);
  EXPECT_EQ(editor.valueRangeX, 500.0f);
  EXPECT_EQ(editor.valueRangeY, -20.0f);
}

TEST(BandHitTest, SquareIsStrictOnEverySide) {
  const BandLevelEditor editor = AppEditor();  // point 1 at (22, 35), hit radius 10
  EXPECT_EQ(HitTestBandPoint(editor, 22, 35), 1);
  EXPECT_EQ(HitTestBandPoint(editor, 13, 26), 1);
  EXPECT_EQ(HitTestBandPoint(editor, 31, 44), 1);
  EXPECT_EQ(HitTestBandPoint(editor, 12, 35), -1);
  EXPECT_EQ(HitTestBandPoint(editor, 32, 35), -1);
  EXPECT_EQ(HitTestBandPoint(editor, 22, 25), -1);
  EXPECT_EQ(HitTestBandPoint(editor, 22, 45), -1);
  EXPECT_EQ(HitTestBandPoint(editor, 11, 35), -1);  // between the squares of points 0 and 1
}

TEST(BandHitTest, LowerIndexWinsWhereSquaresOverlap) {
  BandLevelEditor editor = AppEditor();
  ApplyBandEditorProperty(editor, HitRadiusProperty, 15);
  EXPECT_EQ(HitTestBandPoint(editor, 10, 35), 0);  // also inside point 1's square
  EXPECT_EQ(HitTestBandPoint(editor, 16, 35), 1);
  editor.points[2] = editor.points[1];
  EXPECT_EQ(HitTestBandPoint(editor, 22, 35), 1);
}

TEST(BandHitTest, PointsAtTheEndsOfTheIntegerRangeDoNotOverflow) {
  BandLevelEditor editor = AppEditor();
  const int big = std::numeric_limits<int>::max(), small = std::numeric_limits<int>::min();
  editor.points = {{0, small}, {big, big}, {small, 35}};
  editor.pointCount = 3;
  EXPECT_EQ(HitTestBandPoint(editor, big, big), 1);
  EXPECT_EQ(HitTestBandPoint(editor, small, 40), 2);
  EXPECT_EQ(HitTestBandPoint(editor, 0, small + 9), 0);
  EXPECT_EQ(HitTestBandPoint(editor, 80, 35), -1);
  ApplyBandEditorProperty(editor, HitRadiusProperty, big);
  EXPECT_EQ(HitTestBandPoint(editor, 80, 35), 1);  // point 0's square ends just above row 0
  ApplyBandEditorProperty(editor, HitRadiusProperty, small);
  EXPECT_EQ(HitTestBandPoint(editor, 0, small), -1);
}

}  // namespace
