// Pressing, dragging and releasing the band level editor's points, as pure record operations.
#include <gtest/gtest.h>

#include <limits>

#include "band_editor_fixture.h"
#include "distribution/band_editor_pointer.h"

namespace {

using band_fixture::AppEditor;
using band_fixture::AppEditorWith;

// Presses at (fromX, fromY), moves to (toX, toY) and releases; the release's result.
int Drag(BandLevelEditor& editor, int fromX, int fromY, int toX, int toY) {
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, fromX, fromY);
  HandleBandPointer(editor, ControlEventType::MouseMove, toX, toY);
  return HandleBandPointer(editor, ControlEventType::LeftButtonUp, toX, toY);
}

// The app editor's start points, with the ones listed replaced.
BandLevelEditor StartWith(std::initializer_list<std::pair<int, BandPoint>> changes) {
  std::vector<BandPoint> points = AppEditor().points;
  for (const auto& [index, point] : changes) points[index] = point;
  return AppEditorWith(points);
}

TEST(BandDrag, FirstPointMovesOnlyVertically) {
  BandLevelEditor editor = AppEditor();
  EXPECT_EQ(Drag(editor, 0, 35, 50, 10), 1);
  EXPECT_EQ(editor.points[0], (BandPoint{0, 10}));
  EXPECT_EQ(editor.points[1], (BandPoint{22, 35}));
}

TEST(BandDrag, LastPointGoesOnePastTheRightEdge) {
  BandLevelEditor editor = AppEditor();
  EXPECT_EQ(Drag(editor, 159, 35, 100, 20), 1);
  EXPECT_EQ(editor.points[7], (BandPoint{160, 20}));
}

TEST(BandDrag, RightNeighbourStopsAtItsXOrRBesideIt) {
  BandLevelEditor editor = AppEditor();  // point 3 at (66, 35), point 4 at (89, 35)
  Drag(editor, 66, 35, 120, 10);
  EXPECT_EQ(editor.points[3], (BandPoint{89, 10}));
  editor = AppEditor();
  Drag(editor, 66, 35, 120, 37);  // less than r = 3 from the neighbour's y
  EXPECT_EQ(editor.points[3], (BandPoint{86, 37}));
  editor = AppEditor();
  Drag(editor, 66, 35, 120, 38);  // exactly r away: no longer beside
  EXPECT_EQ(editor.points[3], (BandPoint{89, 38}));
}

TEST(BandDrag, LeftNeighbourStopsAtItsXOrRBesideIt) {
  BandLevelEditor editor = AppEditor();  // point 4 at (89, 35), point 3 at (66, 35)
  Drag(editor, 89, 35, 10, 60);
  EXPECT_EQ(editor.points[4], (BandPoint{66, 60}));
  editor = AppEditor();
  Drag(editor, 89, 35, 10, 33);
  EXPECT_EQ(editor.points[4], (BandPoint{69, 33}));
}

TEST(BandDrag, BetweenItsNeighboursAPointGoesWhereThePointerIs) {
  BandLevelEditor editor = AppEditor();
  Drag(editor, 66, 35, 80, 5);
  EXPECT_EQ(editor.points[3], (BandPoint{80, 5}));
}

TEST(BandDrag, LeftStackStepsAsideOnTheFarSide) {
  // Points 2 and 3 share x = 44; point 2 lies below point 3.
  for (const auto& [y, expectedX] : std::vector<std::pair<int, int>>{{40, 47}, {20, 44}}) {
    BandLevelEditor editor = StartWith({{2, {44, 50}}, {3, {44, 30}}});
    Drag(editor, 89, 35, 10, y);
    EXPECT_EQ(editor.points[4], (BandPoint{expectedX, y})) << y;
  }
  // Point 2 above point 3.
  for (const auto& [y, expectedX] : std::vector<std::pair<int, int>>{{30, 47}, {50, 44}}) {
    BandLevelEditor editor = StartWith({{2, {44, 20}}, {3, {44, 40}}});
    Drag(editor, 89, 35, 10, y);
    EXPECT_EQ(editor.points[4], (BandPoint{expectedX, y})) << y;
  }
}

TEST(BandDrag, LeftStackRuleNeedsTwoPointsBetweenItAndTheFirst) {
  // d = 2 does not look at the first point, even when its left neighbour shares the first point's x.
  BandLevelEditor editor = StartWith({{0, {0, 50}}, {1, {0, 30}}});
  Drag(editor, 44, 35, 0, 40);
  EXPECT_EQ(editor.points[2], (BandPoint{3, 40}));
}

TEST(BandDrag, RightStackStepsAsideOnTheFarSide) {
  // Points 4 and 5 share x = 100; point 5 lies below point 4.
  for (const auto& [y, expectedX] : std::vector<std::pair<int, int>>{{40, 97}, {20, 100}}) {
    BandLevelEditor editor = StartWith({{4, {100, 30}}, {5, {100, 50}}});
    Drag(editor, 66, 35, 150, y);
    EXPECT_EQ(editor.points[3], (BandPoint{expectedX, y})) << y;
  }
  for (const auto& [y, expectedX] : std::vector<std::pair<int, int>>{{30, 97}, {50, 100}}) {
    BandLevelEditor editor = StartWith({{4, {100, 40}}, {5, {100, 20}}});
    Drag(editor, 66, 35, 150, y);
    EXPECT_EQ(editor.points[3], (BandPoint{expectedX, y})) << y;
  }
}

TEST(BandDrag, RightNeighbourWinsOverTheLeft) {
  BandLevelEditor editor = StartWith({{3, {100, 10}}, {5, {50, 60}}});
  Drag(editor, 89, 35, 70, 30);
  EXPECT_EQ(editor.points[4], (BandPoint{50, 30}));
}

TEST(BandDrag, BorderKeepsInteriorPointsRFromTheEdges) {
  BandLevelEditor editor = AppEditor();
  Drag(editor, 22, 35, 0, 10);
  EXPECT_EQ(editor.points[1], (BandPoint{3, 10}));
  Drag(editor, 159, 35, 159, 35);  // the last point goes to x = 160
  Drag(editor, 133, 35, 159, 10);
  EXPECT_EQ(editor.points[6], (BandPoint{157, 10}));
}

TEST(BandDrag, StackRuleKeepsAPointRFromBothNeighboursOnItsColumn) {
  const auto stacked = [] { return StartWith({{2, {60, 20}}, {3, {60, 35}}, {4, {60, 50}}}); };
  BandLevelEditor editor = stacked();
  Drag(editor, 60, 35, 60, 60);
  EXPECT_EQ(editor.points[3], (BandPoint{60, 47}));
  editor = stacked();
  Drag(editor, 60, 35, 60, 5);
  EXPECT_EQ(editor.points[3], (BandPoint{60, 23}));
  editor = stacked();
  Drag(editor, 60, 35, 60, 30);
  EXPECT_EQ(editor.points[3], (BandPoint{60, 30}));
}

TEST(BandDrag, StackRuleOnlyForAPointOnItsNeighboursColumn) {
  BandLevelEditor editor = StartWith({{2, {60, 20}}, {3, {61, 35}}, {4, {60, 50}}});
  Drag(editor, 61, 35, 60, 60);
  EXPECT_EQ(editor.points[3].y, 60);
  // Point 1 is too near the first point for the rule; the right neighbour brings it back to x = 0.
  editor = StartWith({{0, {0, 20}}, {1, {0, 35}}, {2, {0, 50}}});
  Drag(editor, 0, 35, 0, 60);
  EXPECT_EQ(editor.points[1], (BandPoint{0, 60}));
}

TEST(BandDrag, PointerOutsideTheControlIsClampedToIt) {
  BandLevelEditor editor = AppEditor();
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 66, 35);
  HandleBandPointer(editor, ControlEventType::MouseMove, 78, -500);
  EXPECT_EQ(editor.points[3], (BandPoint{78, 0}));
  HandleBandPointer(editor, ControlEventType::MouseMove, 78, 500);
  EXPECT_EQ(editor.points[3], (BandPoint{78, 69}));
  HandleBandPointer(editor, ControlEventType::MouseMove, std::numeric_limits<int>::min(), 40);
  EXPECT_EQ(editor.points[3], (BandPoint{44, 40}));
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonUp, 9999, 9999), 1);
  // The first point dragged below the control stops on the last pixel row: value 143, not 0.
  Drag(editor, 0, 35, 0, 1000);
  EXPECT_EQ(editor.points[0], (BandPoint{0, 69}));
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), 143);
  Drag(editor, 0, 69, 0, -1000);
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), 10000);
}

TEST(BandPointer, PressAndReleaseWithoutMoveReportsOne) {
  BandLevelEditor editor = AppEditor();
  const auto before = editor.points;
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonDown, 44, 35), 0);
  EXPECT_EQ(editor.held, 2);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonUp, 44, 35), 1);
  EXPECT_EQ(editor.held, -1);
  EXPECT_EQ(editor.points, before);
}

TEST(BandPointer, PressBesideEveryPointMovesNothingAndReportsZero) {
  BandLevelEditor editor = AppEditor();
  const auto before = editor.points;
  BandPointerEffects effects;
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonDown, 11, 10), 0);
  EXPECT_EQ(editor.held, -1);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::MouseMove, 22, 35, &effects), 0);
  EXPECT_FALSE(effects.redraw);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonUp, 22, 35), 0);
  EXPECT_EQ(editor.points, before);
}

TEST(BandPointer, MovesWhileHoldingRedrawAndReportZero) {
  BandLevelEditor editor = AppEditor();
  BandPointerEffects effects;
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 66, 35);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::MouseMove, 70, 20, &effects), 0);
  EXPECT_TRUE(effects.redraw);
  EXPECT_FALSE(effects.setCursor);
  EXPECT_EQ(editor.points[3], (BandPoint{70, 20}));
}

TEST(BandPointer, HoverPicksTheHandOverAPointAndTheArrowElsewhere) {
  BandLevelEditor editor = AppEditor();
  BandPointerEffects effects;
  HandleBandPointer(editor, ControlEventType::MouseMove, 25, 40, &effects);
  EXPECT_TRUE(effects.setCursor);
  EXPECT_EQ(effects.cursor, CursorShape::PointingHand);
  EXPECT_FALSE(effects.redraw);
  HandleBandPointer(editor, ControlEventType::MouseMove, 33, 40, &effects);
  EXPECT_TRUE(effects.setCursor);
  EXPECT_EQ(effects.cursor, CursorShape::Arrow);
}

TEST(BandPointer, ASecondPressKeepsTheHeldPoint) {
  BandLevelEditor editor = AppEditor();
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 66, 35);
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 89, 35);
  EXPECT_EQ(editor.held, 3);
}

TEST(BandPointer, OtherEventsDoNothing) {
  BandLevelEditor editor = AppEditor();
  const auto before = editor.points;
  BandPointerEffects effects;
  for (auto type : {ControlEventType::OtherMouse, ControlEventType::Activated}) {
    EXPECT_EQ(HandleBandPointer(editor, type, 66, 35, &effects), 0);
    EXPECT_EQ(editor.held, -1);
    EXPECT_FALSE(effects.redraw || effects.setCursor);
  }
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 66, 35);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::OtherMouse, 80, 10), 0);
  EXPECT_EQ(editor.held, 3);
  EXPECT_EQ(editor.points, before);
}

TEST(BandPointer, PressOnOverlappingSquaresHoldsTheLowerIndex) {
  BandLevelEditor editor = StartWith({{3, {50, 35}}});  // squares of points 2 (44) and 3 (50) overlap
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 48, 35);
  EXPECT_EQ(editor.held, 2);
}

TEST(BandPointer, HeldIndexThatNoLongerExistsIsIgnored) {
  BandLevelEditor editor = AppEditor();
  editor.held = 42;
  const auto before = editor.points;
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::MouseMove, 50, 50), 0);
  EXPECT_EQ(editor.points, before);
  EXPECT_EQ(DraggedPointPosition(editor, 42, 5, 6), (BandPoint{5, 6}));
}

}  // namespace
