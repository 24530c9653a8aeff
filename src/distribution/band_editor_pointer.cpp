// Dragging the band level editor's points: the rules that keep a point between its neighbours.
// Imported points may sit anywhere, so the arithmetic is 64-bit and the result saturated to 32 bits.
#include "distribution/band_editor_pointer.h"

#include <algorithm>
#include <cstdint>

#include "distribution/numeric_conversion.h"

namespace {

struct Position {
  std::int64_t x, y;
};

// Only the stack rule changes y: a point between two others on its column stays r clear of both.
void ApplyStackRule(const BandLevelEditor& editor, int d, Position& to) {
  const int n = static_cast<int>(editor.points.size());
  if (!(1 < d && d < n - 2)) return;
  const BandPoint& before = editor.points[d - 1];
  const BandPoint& self = editor.points[d];
  const BandPoint& after = editor.points[d + 1];
  if (before.x != self.x || self.x != after.x) return;
  const std::int64_t r = editor.markerRadius;
  if (to.y > after.y - r) to.y = after.y - r;
  if (to.y < before.y + r) to.y = before.y + r;
}

void ApplyBorderRule(const BandLevelEditor& editor, Position& to) {
  const std::int64_t r = editor.markerRadius;
  if (to.x < r) to.x = r;
  if (to.x > editor.width - r) to.x = editor.width - r;
}

void ApplyLeftNeighbourRule(const BandLevelEditor& editor, int d, Position& to) {
  const BandPoint& left = editor.points[d - 1];
  if (!(to.x < left.x)) return;
  const std::int64_t r = editor.markerRadius;
  to.x = left.x;
  if (left.y - r < to.y && to.y < left.y + r) to.x += r;
  if (d > 2 && to.x == editor.points[d - 2].x) {
    const BandPoint& farLeft = editor.points[d - 2];
    if (farLeft.y > left.y ? to.y > left.y : to.y < left.y) to.x += r;
  }
}

void ApplyRightNeighbourRule(const BandLevelEditor& editor, int d, Position& to) {
  const int n = static_cast<int>(editor.points.size());
  const BandPoint& right = editor.points[d + 1];
  if (!(to.x > right.x)) return;
  const std::int64_t r = editor.markerRadius;
  to.x = right.x;
  if (right.y - r < to.y && to.y < right.y + r) to.x -= r;
  if (d < n - 2 && to.x == editor.points[d + 2].x) {
    const BandPoint& farRight = editor.points[d + 2];
    if (farRight.y > right.y ? to.y > right.y : to.y < right.y) to.x -= r;
  }
}

}  // namespace

BandPoint DraggedPointPosition(const BandLevelEditor& editor, int d, int px, int py) {
  const int n = static_cast<int>(editor.points.size());
  if (d < 0 || d >= n) return {px, py};
  if (d == 0) return {0, py};
  if (d == n - 1) return {editor.width, py};
  Position to{px, py};
  ApplyStackRule(editor, d, to);
  ApplyBorderRule(editor, to);
  ApplyLeftNeighbourRule(editor, d, to);
  // Last, so the right neighbour wins when both pull.
  ApplyRightNeighbourRule(editor, d, to);
  return {SaturateToInt32(to.x), SaturateToInt32(to.y)};
}

int HandleBandPointer(BandLevelEditor& editor, ControlEventType type, int px, int py, BandPointerEffects* effects) {
  BandPointerEffects ignored;
  BandPointerEffects& out = effects ? *effects : ignored;
  out = {};
  // A drag that leaves the control carries on along its border.
  px = std::max(0, std::min(px, editor.width - 1));
  py = std::max(0, std::min(py, editor.height - 1));
  const int n = static_cast<int>(editor.points.size());
  switch (type) {
    case ControlEventType::LeftButtonDown:
      if (editor.held == -1) editor.held = HitTestBandPoint(editor, px, py);
      return 0;
    case ControlEventType::MouseMove:
      if (editor.held == -1) {
        out.setCursor = true;
        out.cursor = HitTestBandPoint(editor, px, py) >= 0 ? CursorShape::PointingHand : CursorShape::Arrow;
      } else if (editor.held >= 0 && editor.held < n) {
        editor.points[editor.held] = DraggedPointPosition(editor, editor.held, px, py);
        out.redraw = true;
      }
      return 0;
    case ControlEventType::LeftButtonUp:
      if (editor.held == -1) return 0;
      editor.held = -1;
      return 1;
    default: return 0;
  }
}
