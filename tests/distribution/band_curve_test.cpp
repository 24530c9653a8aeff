// Evaluating the band level curve, export and import in stored units, and the row levels.
#include <gtest/gtest.h>

#include <limits>

#include "app/settings.h"
#include "band_editor_fixture.h"

namespace {

using band_fixture::AppEditor;
using band_fixture::AppEditorWith;
using band_fixture::Stored;

constexpr int Big = std::numeric_limits<int>::max();
constexpr int Small = std::numeric_limits<int>::min();

TEST(BandCurve, FreshCurveIsFlatAtHalfOverEveryRow) {
  const BandLevelEditor editor = AppEditor();
  for (int x = 0; x <= 380; ++x) EXPECT_EQ(EvaluateBandCurveOn(editor, x), 5000) << x;
}

TEST(BandCurve, ZeroOutsideZeroToR) {
  const BandLevelEditor editor = AppEditor();
  EXPECT_EQ(EvaluateBandCurveOn(editor, -1), 0);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 381), 0);
  EXPECT_EQ(EvaluateBandCurveOn(editor, Small), 0);
  EXPECT_EQ(EvaluateBandCurveOn(editor, Big), 0);
}

TEST(BandCurve, EndsGiveTheEndPointsOwnValues) {
  // The first point at y = 7 (9000), the last at y = 63 (1000), the rest on the middle line.
  BandLevelEditor editor = AppEditor();
  editor.points.front().y = 7;
  editor.points.back().y = 63;
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), 9000);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 380), 1000);
}

TEST(BandCurve, StraightLinesBetweenPoints) {
  // Point 3 (66 -> X 156.75) raised to y = 0 (10000); its neighbours stay at 5000.
  const BandLevelEditor editor = AppEditorWith({{0, 35}, {22, 35}, {44, 35}, {66, 0}, {89, 35}, {111, 35},
                                                {133, 35}, {159, 35}});
  // Points 1 to 4 sit at X 52.25, 104.5, 156.75 and 211.375.
  EXPECT_EQ(EvaluateBandCurveOn(editor, 104), 5000);   // still on the flat segment 1 to 2
  EXPECT_EQ(EvaluateBandCurveOn(editor, 105), 5048);   // 5000 + 5000 / 52.25 x 0.5
  EXPECT_EQ(EvaluateBandCurveOn(editor, 130), 7440);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 157), 9977);   // just past the peak, falling towards point 4
  EXPECT_EQ(EvaluateBandCurveOn(editor, 211), 5034);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 212), 5000);
}

TEST(BandCurve, RowsBeyondTheLastPointFollowTheExtendedLastSegment) {
  // The last point at pixel 159 (X 377.625) raised to the top: rows 378 and 379 continue its slope.
  const BandLevelEditor editor = AppEditorWith({{0, 35}, {22, 35}, {44, 35}, {66, 35}, {89, 35}, {111, 35},
                                                {133, 35}, {159, 0}});
  EXPECT_EQ(EvaluateBandCurveOn(editor, 377), 9949);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 378), 10030);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 379), 10111);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 380), 10000);  // R itself is the last point's own value
  EXPECT_EQ(EvaluateBandCurveOn(editor, 300), 5000);
}

TEST(BandCurve, EndValuesRoundHalfToEvenAndInteriorValuesHalfAwayFromZero) {
  // A 4 x 2 editor with Y range 5: pixel row 1 is 2.5 and row -1 is 7.5.
  BandLevelEditor editor = NewBandLevelEditorRecord(4, 2, 3, White, Black);
  editor.valueRangeX = 4.0f;
  editor.valueRangeY = 5.0f;
  editor.points = {{0, 1}, {2, 1}, {4, -1}};
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), 2);  // 2.5 to even
  EXPECT_EQ(EvaluateBandCurveOn(editor, 1), 3);  // 2.5 away from zero
  EXPECT_EQ(EvaluateBandCurveOn(editor, 3), 5);  // 5.0
  EXPECT_EQ(EvaluateBandCurveOn(editor, 4), 8);  // 7.5 to even
  editor.valueRangeY = -5.0f;
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), -2);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 1), -3);
}

TEST(BandCurve, RangeIsTheXRangeRoundedHalfToEven) {
  BandLevelEditor editor = NewBandLevelEditorRecord(4, 2, 3, White, Black);
  editor.points = {{0, 1}, {2, 1}, {4, 0}};
  editor.valueRangeX = 2.5f;  // R = 2
  EXPECT_EQ(EvaluateBandCurveOn(editor, 3), 0);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 2), 2);  // the last point's own value (y = 0: the whole Y range)
  editor.valueRangeX = 3.5f;  // R = 4
  EXPECT_NE(EvaluateBandCurveOn(editor, 4), 0);
}

TEST(BandCurve, LastTwoPointsOnOneColumnGiveTheLastValueBeyondThem) {
  // Point 6 imported onto the last point's column (159): no slope for rows 378 and 379.
  const BandLevelEditor editor = AppEditorWith({{0, 35}, {22, 35}, {44, 35}, {66, 35}, {89, 35}, {111, 35},
                                                {159, 63}, {159, 7}});
  EXPECT_EQ(EvaluateBandCurveOn(editor, 378), 9000);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 379), 9000);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 377), 1022);  // still on the segment from point 5 to point 6
}

TEST(BandStoredUnits, ExportMeasuresYFromTheBottom) {
  BandLevelEditor editor = AppEditor();
  editor.points[2] = {40, 0};
  editor.points[5] = {100, 70};
  const auto stored = ExportBandPointsOf(editor);
  EXPECT_EQ(stored[2], (StoredBandPoint{40, 70}));
  EXPECT_EQ(stored[5], (StoredBandPoint{100, 0}));
}

TEST(BandStoredUnits, ImportKeepsTheEndsXAndTakesEverythingElseAsItIs) {
  BandLevelEditor editor = AppEditor();
  // Out of order and outside the control: taken without clamping.
  const auto stored = Stored({{50, 10}, {130, 80}, {20, -5}, {66, 35}, {89, 35}, {111, 35}, {133, 35}, {3, 69}});
  ASSERT_TRUE(ImportBandPointsInto(editor, stored));
  EXPECT_EQ(editor.points[0], (BandPoint{0, 60}));
  EXPECT_EQ(editor.points[1], (BandPoint{130, -10}));
  EXPECT_EQ(editor.points[2], (BandPoint{20, 75}));
  EXPECT_EQ(editor.points[7], (BandPoint{159, 1}));
  auto expected = stored;
  expected.front().x = 0;
  expected.back().x = 159;
  EXPECT_EQ(ExportBandPointsOf(editor), expected);
}

TEST(BandStoredUnits, ImportOfAnotherCountChangesNothing) {
  for (std::size_t count : {0u, 7u, 9u}) {
    BandLevelEditor editor = AppEditor();
    const std::vector<StoredBandPoint> stored(count, StoredBandPoint{10, 10});
    EXPECT_FALSE(ImportBandPointsInto(editor, stored));
    EXPECT_EQ(editor.points, AppEditor().points) << count;
  }
}

TEST(BandStoredUnits, MissingKeysPutPointsOnTheBottomLine) {
  BandLevelEditor editor = AppEditor();
  ImportBandPointsInto(editor, std::vector<StoredBandPoint>(8));
  EXPECT_EQ(editor.points[0], (BandPoint{0, 70}));
  EXPECT_EQ(editor.points[3], (BandPoint{0, 70}));
  EXPECT_EQ(editor.points[7], (BandPoint{159, 70}));
  for (int x : {0, 1, 200, 379, 380}) EXPECT_EQ(EvaluateBandCurveOn(editor, x), 0) << x;
}

TEST(BandStoredUnits, ExtremeStoredValuesSaturateInsteadOfOverflowing) {
  BandLevelEditor editor = AppEditor();
  ImportBandPointsInto(editor, Stored({{Big, Small}, {Big, Small}, {Small, Big}, {Big, Big}, {Small, Small},
                                       {0, Big}, {Big, 0}, {Small, Small}}));
  EXPECT_EQ(editor.points[1], (BandPoint{Big, Big}));      // 70 + 2^31 does not fit: saturated
  EXPECT_EQ(editor.points[2], (BandPoint{Small, 70 - Big}));
  const auto stored = ExportBandPointsOf(editor);
  EXPECT_EQ(stored[1], (StoredBandPoint{Big, 70 - Big}));
  EXPECT_EQ(stored[2], (StoredBandPoint{Small, Big}));
  editor.points[3].y = Small;
  EXPECT_EQ(ExportBandPointsOf(editor)[3].y, Big);  // 70 - (-2^31) saturated
}

TEST(BandCurve, ExtremePointsGiveSaturatedValuesForEveryRow) {
  BandLevelEditor editor = AppEditor();
  ImportBandPointsInto(editor, Stored({{0, Big}, {Big, Small}, {Small, Big}, {Big, Big}, {Small, Small},
                                       {0, Big}, {Big, 0}, {0, Small}}));
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), Big);    // far above the top: a huge value
  EXPECT_EQ(EvaluateBandCurveOn(editor, 380), Small);  // far below the bottom
  // Point 1 (X about 5.1e9) is the first right of every row, so every row lies on the segment from
  // point 0, still far above the top: saturated, not wrapped round.
  for (int x = 1; x < 380; ++x) EXPECT_EQ(EvaluateBandCurveOn(editor, x), Big) << x;
}

TEST(BandCurve, ExtremeValueRangesDoNotOverflow) {
  BandLevelEditor editor = AppEditor();
  editor.valueRangeX = static_cast<float>(Big);
  editor.valueRangeY = static_cast<float>(Small);
  editor.points[3] = {Big, Small};
  // R saturates to the largest int; the middle line is half the (negative) Y range.
  for (int x : {0, 1, 1000, Big}) EXPECT_EQ(EvaluateBandCurveOn(editor, x), Small / 2) << x;
  // Between points 2 and 3 (X 5.9e8 and 2.9e16) the curve falls below the int range.
  EXPECT_EQ(EvaluateBandCurveOn(editor, Big / 2), Small);
}

TEST(BandCurve, SurfaceWithoutSizeHasValueZeroEverywhere) {
  BandLevelEditor editor = NewBandLevelEditorRecord(0, 0, 8, White, Black);
  editor.valueRangeX = 380.0f;
  editor.valueRangeY = 10000.0f;
  for (int x : {0, 1, 200, 380}) EXPECT_EQ(EvaluateBandCurveOn(editor, x), 0) << x;
}

}  // namespace
