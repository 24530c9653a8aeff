// The band level editor reached through its handle: unknown handles, properties, export, import and levels.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "band_editor_fixture.h"
#include "support/stand_in_canvas.h"

namespace {

using band_fixture::AppEditor;
using band_fixture::Stored;

constexpr int EditorControl = 1000;
constexpr int UnknownControl = 1001;

class BandEditorHandle_ : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobals();
    handle = AttachBandLevelEditor(EditorControl, AppEditor());
    BandLevelEditorNumber = handle;
  }
  int Shows() const { return canvas.shows; }
  StandInCanvas canvas{EditorControl, 160, 70, White};
  BandEditorHandle handle = 0;
};

TEST_F(BandEditorHandle_, HandleIsTheControlNumber) {
  EXPECT_EQ(handle, EditorControl);
  ASSERT_NE(FindBandLevelEditor(handle), nullptr);
  EXPECT_EQ(FindBandLevelEditor(handle)->control, EditorControl);
  EXPECT_EQ(AttachBandLevelEditor(0, AppEditor()), 0);
  EXPECT_EQ(AttachBandLevelEditor(-1, AppEditor()), 0);
  EXPECT_EQ(FindBandLevelEditor(0), nullptr);
}

TEST_F(BandEditorHandle_, UnknownHandleIsANoOpReturningZero) {
  std::vector<StoredBandPoint> points = Stored({{1, 2}});
  EXPECT_EQ(ExportBandPoints(UnknownControl, points), 0);
  EXPECT_EQ(points, Stored({{1, 2}}));
  EXPECT_EQ(EvaluateBandCurve(UnknownControl, 10), 0);
  EXPECT_EQ(FindBandLevelEditor(UnknownControl), nullptr);
  SetBandLevelEditorProperty(UnknownControl, PointCountProperty, 3);
  ImportBandPoints(UnknownControl, Stored({{0, 0}, {0, 0}, {0, 0}}));
  DrawBandLevelEditor(UnknownControl);
  EXPECT_EQ(FindBandLevelEditor(UnknownControl), nullptr);
  EXPECT_EQ(FindBandLevelEditor(handle)->points, AppEditor().points);
  EXPECT_EQ(Shows(), 0);
}

TEST_F(BandEditorHandle_, ExportResizesTheCallersArray) {
  std::vector<StoredBandPoint> points(3);
  EXPECT_EQ(ExportBandPoints(handle, points), 1);
  EXPECT_EQ(points, Stored({{0, 35}, {22, 35}, {44, 35}, {66, 35}, {89, 35}, {111, 35}, {133, 35}, {159, 35}}));
}

TEST_F(BandEditorHandle_, ImportRedrawsAlsoWhenItTakesNothing) {
  ImportBandPoints(handle, Stored({{0, 0}}));
  EXPECT_EQ(Shows(), 1);
  EXPECT_EQ(FindBandLevelEditor(handle)->points, AppEditor().points);
  ImportBandPoints(handle, std::vector<StoredBandPoint>(8, StoredBandPoint{50, 70}));
  EXPECT_EQ(Shows(), 2);
  EXPECT_EQ(EvaluateBandCurve(handle, 0), 10000);
}

TEST_F(BandEditorHandle_, EveryPropertyRedraws) {
  for (int key : {0, 1, 2, 3, 4, 5}) SetBandLevelEditorProperty(handle, key, key == 0 ? 8 : 380);
  EXPECT_EQ(Shows(), 6);
  SetBandLevelEditorProperty(handle, PointCountProperty, 4);
  EXPECT_EQ(FindBandLevelEditor(handle)->points.size(), 4u);
}

TEST_F(BandEditorHandle_, LevelIsHalfUntilTheCurveHasBeenEdited) {
  // A loaded, shaped curve is shown but not used while BandCurveEdited is 0.
  ImportBandPoints(handle, std::vector<StoredBandPoint>(8, StoredBandPoint{50, 70}));
  for (int row = 0; row < 380; ++row) EXPECT_EQ(BandLevel(row), 0.5f) << row;
  SynthSettings.BandCurveEdited = 1;
  for (int row = 0; row < 380; ++row) EXPECT_FLOAT_EQ(BandLevel(row), 1.0f) << row;
}

TEST_F(BandEditorHandle_, EditedLevelIsTheCurveOverTenThousand) {
  SynthSettings.BandCurveEdited = 1;
  EXPECT_EQ(BandLevel(0), 0.5f);  // the fresh curve
  // The first point at y = 69: 143 at row 0.
  FindBandLevelEditor(handle)->points[0].y = 69;
  EXPECT_FLOAT_EQ(BandLevel(0), 0.0143f);
  EXPECT_EQ(EvaluateBandCurve(handle, -1), 0);  // through the handle, outside 0 to R
}

TEST_F(BandEditorHandle_, EditedLevelWithoutAnEditorIsZero) {
  SynthSettings.BandCurveEdited = 1;
  BandLevelEditorNumber = UnknownControl;
  EXPECT_EQ(BandLevel(100), 0.0f);
}

}  // namespace
