// Evaluating the band level curve, export and import in stored units, and the row levels.
#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "app/settings.h"
#include "band_editor_fixture.h"

namespace {

using band_fixture::AppEditor;
using band_fixture::Stored;

constexpr int Big = std::numeric_limits<int>::max();
constexpr int Small = std::numeric_limits<int>::min();

struct CurveCase {
  const char* shape;
  band_fixture::PointChanges changes;  // pixel positions; X of pixel p is p x 380 / 160 (2.375 p)
  std::vector<std::pair<int, int>> values;  // row, expected level
};

TEST(BandCurve, WorkedValues) {
  const CurveCase cases[] = {
      {"fresh: zero outside 0 to R", {}, {{-1, 0}, {381, 0}, {Small, 0}, {Big, 0}}},
      {"ends give the end points' own values (y 7: 9000, y 63: 1000)", {{0, {0, 7}}, {7, {159, 63}}},
       {{0, 9000}, {380, 1000}}},
      // Points 1 to 4 sit at X 52.25, 104.5, 156.75 and 211.375; point 3 is raised to the top (10000).
      {"straight lines between points", {{3, {66, 0}}},
       {{104, 5000}, {105, 5048}, {130, 7440}, {157, 9977}, {211, 5034}, {212, 5000}}},
      // The last point (X 377.625) raised to the top: rows 378 and 379 continue its slope; R is its own value.
      {"beyond the last point the last segment goes on", {{7, {159, 0}}},
       {{300, 5000}, {377, 9949}, {378, 10030}, {379, 10111}, {380, 10000}}},
      {"last two points on one column: no slope beyond them", {{6, {159, 63}}, {7, {159, 7}}},
       {{377, 1022}, {378, 9000}, {379, 9000}}},
  };
  for (const CurveCase& c : cases) {
    SCOPED_TRACE(c.shape);
    const BandLevelEditor editor = band_fixture::AppEditorChanged(c.changes);
    for (const auto& [x, expected] : c.values) EXPECT_EQ(EvaluateBandCurveOn(editor, x), expected) << "row " << x;
  }
  for (int x = 0; x <= 380; ++x) EXPECT_EQ(EvaluateBandCurveOn(AppEditor(), x), 5000) << "fresh curve, row " << x;
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
