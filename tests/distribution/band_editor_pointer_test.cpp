// Pressing, dragging and releasing the band level editor's points, as pure record operations.
#include <gtest/gtest.h>

#include <limits>

#include "band_editor_fixture.h"
#include "distribution/band_editor_pointer.h"

namespace {

using band_fixture::AppEditor;
using band_fixture::AppEditorChanged;
using band_fixture::PointChanges;

// Presses at from, moves to to and releases there; the release's result.
int Drag(BandLevelEditor& editor, BandPoint from, BandPoint to) {
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, from.x, from.y);
  HandleBandPointer(editor, ControlEventType::MouseMove, to.x, to.y);
  return HandleBandPointer(editor, ControlEventType::LeftButtonUp, to.x, to.y);
}

struct DragCase {
  const char* rule;
  PointChanges start;  // changes to the start points (marker radius r = 3)
  BandPoint from, to;
  int index;
  BandPoint expected;
};

TEST(BandDrag, DragRules) {
  const PointChanges leftStackLowerBelow = {{2, {44, 50}}, {3, {44, 30}}};
  const PointChanges leftStackLowerAbove = {{2, {44, 20}}, {3, {44, 40}}};
  const PointChanges rightStackLowerBelow = {{4, {100, 30}}, {5, {100, 50}}};
  const PointChanges rightStackLowerAbove = {{4, {100, 40}}, {5, {100, 20}}};
  const PointChanges column = {{2, {60, 20}}, {3, {60, 35}}, {4, {60, 50}}};
  const DragCase cases[] = {
      {"first point moves only vertically", {}, {0, 35}, {50, 10}, 0, {0, 10}},
      {"last point goes one past the right edge", {}, {159, 35}, {100, 20}, 7, {160, 20}},
      {"between its neighbours a point follows the pointer", {}, {66, 35}, {80, 5}, 3, {80, 5}},
      {"right neighbour stops it at its x", {}, {66, 35}, {120, 10}, 3, {89, 10}},
      {"less than r from the right neighbour's y: r beside it", {}, {66, 35}, {120, 37}, 3, {86, 37}},
      {"exactly r from the right neighbour's y: no longer beside", {}, {66, 35}, {120, 38}, 3, {89, 38}},
      {"left neighbour stops it at its x", {}, {89, 35}, {10, 60}, 4, {66, 60}},
      {"less than r from the left neighbour's y: r beside it", {}, {89, 35}, {10, 33}, 4, {69, 33}},
      {"left stack (lower below), far side: aside", leftStackLowerBelow, {89, 35}, {10, 40}, 4, {47, 40}},
      {"left stack (lower below), near side", leftStackLowerBelow, {89, 35}, {10, 20}, 4, {44, 20}},
      {"left stack (lower above), far side: aside", leftStackLowerAbove, {89, 35}, {10, 30}, 4, {47, 30}},
      {"left stack (lower above), near side", leftStackLowerAbove, {89, 35}, {10, 50}, 4, {44, 50}},
      {"left stack rule needs two points between it and the first", {{0, {0, 50}}, {1, {0, 30}}}, {44, 35},
       {0, 40}, 2, {3, 40}},
      {"right stack (lower below), far side: aside", rightStackLowerBelow, {66, 35}, {150, 40}, 3, {97, 40}},
      {"right stack (lower below), near side", rightStackLowerBelow, {66, 35}, {150, 20}, 3, {100, 20}},
      {"right stack (lower above), far side: aside", rightStackLowerAbove, {66, 35}, {150, 30}, 3, {97, 30}},
      {"right stack (lower above), near side", rightStackLowerAbove, {66, 35}, {150, 50}, 3, {100, 50}},
      {"right neighbour wins over the left", {{3, {100, 10}}, {5, {50, 60}}}, {89, 35}, {70, 30}, 4, {50, 30}},
      {"border keeps interior points r from the left edge", {}, {22, 35}, {0, 10}, 1, {3, 10}},
      {"border keeps interior points r from the right edge", {}, {133, 35}, {159, 10}, 6, {157, 10}},
      {"stack rule: r above the neighbour below", column, {60, 35}, {60, 60}, 3, {60, 47}},
      {"stack rule: r below the neighbour above", column, {60, 35}, {60, 5}, 3, {60, 23}},
      {"stack rule: free between the two", column, {60, 35}, {60, 30}, 3, {60, 30}},
      {"stack rule only for a point on its neighbours' column", {{2, {60, 20}}, {3, {61, 35}}, {4, {60, 50}}},
       {61, 35}, {60, 60}, 3, {60, 60}},
      {"no stack rule next to the first point; the right neighbour brings it to x 0",
       {{0, {0, 20}}, {1, {0, 35}}, {2, {0, 50}}}, {0, 35}, {0, 60}, 1, {0, 60}},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.rule);
    BandLevelEditor editor = AppEditorChanged(c.start);
    EXPECT_EQ(Drag(editor, c.from, c.to), 1);
    EXPECT_EQ(editor.points[c.index], c.expected);
    std::vector<BandPoint> others = AppEditorChanged(c.start).points;
    others[c.index] = c.expected;
    EXPECT_EQ(editor.points, others);
  }
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
  Drag(editor, {0, 35}, {0, 1000});
  EXPECT_EQ(editor.points[0], (BandPoint{0, 69}));
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), 143);
  Drag(editor, {0, 69}, {0, -1000});
  EXPECT_EQ(EvaluateBandCurveOn(editor, 0), 10000);
}

TEST(BandPointer, PressAndReleaseWithoutMoveReportsOne) {
  BandLevelEditor editor = AppEditor();
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonDown, 44, 35), 0);
  EXPECT_EQ(editor.held, 2);
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 89, 35);  // a second press keeps the held point
  EXPECT_EQ(editor.held, 2);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonUp, 44, 35), 1);
  EXPECT_EQ(editor.held, -1);
  EXPECT_EQ(editor.points, AppEditor().points);
}

TEST(BandPointer, PressBesideEveryPointMovesNothingAndReportsZero) {
  BandLevelEditor editor = AppEditor();
  BandPointerEffects effects;
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonDown, 11, 10), 0);
  EXPECT_EQ(editor.held, -1);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::MouseMove, 22, 35, &effects), 0);
  EXPECT_FALSE(effects.redraw);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::LeftButtonUp, 22, 35), 0);
  EXPECT_EQ(editor.points, AppEditor().points);
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

TEST(BandPointer, OtherEventsDoNothing) {
  BandLevelEditor editor = AppEditor();
  BandPointerEffects effects;
  for (auto type : {ControlEventType::OtherMouse, ControlEventType::Activated}) {
    EXPECT_EQ(HandleBandPointer(editor, type, 66, 35, &effects), 0);
    EXPECT_EQ(editor.held, -1);
    EXPECT_FALSE(effects.redraw || effects.setCursor);
  }
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 66, 35);
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::OtherMouse, 80, 10), 0);
  EXPECT_EQ(editor.held, 3);
  EXPECT_EQ(editor.points, AppEditor().points);
}

TEST(BandPointer, PressOnOverlappingSquaresHoldsTheLowerIndex) {
  BandLevelEditor editor = AppEditorChanged({{3, {50, 35}}});  // squares of points 2 (44) and 3 (50) overlap
  HandleBandPointer(editor, ControlEventType::LeftButtonDown, 48, 35);
  EXPECT_EQ(editor.held, 2);
}

TEST(BandPointer, HeldIndexThatNoLongerExistsIsIgnored) {
  BandLevelEditor editor = AppEditor();
  editor.held = 42;
  EXPECT_EQ(HandleBandPointer(editor, ControlEventType::MouseMove, 50, 50), 0);
  EXPECT_EQ(editor.points, AppEditor().points);
  EXPECT_EQ(DraggedPointPosition(editor, 42, 5, 6), (BandPoint{5, 6}));
}

}  // namespace
