// SPDX-License-Identifier: GPL-3.0-or-later
// The band level editor record: placing, properties, hit test, drag rules, the curve, import, export
// and drawing. Points may come from a settings file with any 32-bit values: the arithmetic is 64-bit or
// saturating, so nothing here overflows for them.
#include "distribution/band_editor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "distribution/numeric_conversion.h"
#include "picture/raster_ops.h"

namespace {

// The editor's level of a row is its curve value over this many units.
constexpr float BandLevelScale = 10000.0f;
// The level of every row until the user has shaped the curve.
constexpr float UneditedBandLevel = 0.5f;

}  // namespace

BandLevelEditor NewBandLevelEditorRecord(int width, int height, int pointCount, Colour foreground,
                                         Colour background) {
  BandLevelEditor editor;
  editor.width = width;
  editor.height = height;
  editor.held = -1;
  editor.foreground = foreground;
  editor.background = background;
  editor.valueRangeX = static_cast<float>(width);
  editor.valueRangeY = static_cast<float>(height);
  editor.markerRadius = StartMarkerRadius;
  editor.hitRadius = StartHitRadius;
  ApplyBandEditorProperty(editor, PointCountProperty, pointCount);
  return editor;
}

BandLevelEditor ProgramBandEditorRecord() {
  BandLevelEditor record =
      NewBandLevelEditorRecord(BandEditorWidth, BandEditorHeight, BandEditorPoints, White, Black);
  for (auto [key, value] : BandEditorStartProperties) ApplyBandEditorProperty(record, key, value);
  return record;
}

void PlaceBandPoints(BandLevelEditor& editor) {
  const int count = std::clamp(editor.pointCount, MinBandPointCount, MaxBandPointCount);
  const int middle = editor.height / 2;
  const double spacing = (static_cast<double>(editor.width) - editor.markerRadius) / (count - 1);
  editor.points.clear();
  editor.points.reserve(static_cast<std::size_t>(count));
  editor.points.push_back({0, middle});
  for (int i = 1; i < count - 1; ++i) editor.points.push_back({RoundHalfEvenToInt32(spacing * i), middle});
  editor.points.push_back({SaturateToInt32(static_cast<std::int64_t>(editor.width) - 1), middle});
}

void ApplyBandEditorProperty(BandLevelEditor& editor, int key, std::int32_t value) {
  switch (key) {
    case PointCountProperty:
      editor.pointCount = std::clamp<std::int32_t>(value, MinBandPointCount, MaxBandPointCount);
      // The held index would name a point that no longer exists.
      editor.held = -1;
      PlaceBandPoints(editor);
      break;
    case MarkerRadiusProperty:
      editor.markerRadius = value;
      if (editor.hitRadius < value) editor.hitRadius = value;
      break;
    case HitRadiusProperty: editor.hitRadius = value; break;
    case ValueRangeXProperty: editor.valueRangeX = static_cast<float>(value); break;
    case ValueRangeYProperty: editor.valueRangeY = static_cast<float>(value); break;
    default: break;
  }
}

int HitTestBandPoint(const BandLevelEditor& editor, int x, int y) {
  const std::int64_t half = editor.hitRadius;
  for (std::size_t i = 0; i < editor.points.size(); ++i) {
    const std::int64_t px = editor.points[i].x, py = editor.points[i].y;
    if (px - half < x && x < px + half && py - half < y && y < py + half) return static_cast<int>(i);
  }
  return -1;
}

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

int HandleBandPointer(BandLevelEditor& editor, PointerAction action, int px, int py, BandPointerEffects* effects) {
  BandPointerEffects ignored;
  BandPointerEffects& out = effects ? *effects : ignored;
  out = {};
  // A drag that leaves the control carries on along its border.
  px = std::max(0, std::min(px, editor.width - 1));
  py = std::max(0, std::min(py, editor.height - 1));
  const int n = static_cast<int>(editor.points.size());
  switch (action) {
    case PointerAction::Press:
      if (editor.held == -1) editor.held = HitTestBandPoint(editor, px, py);
      return 0;
    case PointerAction::Move:
      if (editor.held == -1) {
        out.setCursor = true;
        out.overPoint = HitTestBandPoint(editor, px, py) >= 0;
      } else if (editor.held >= 0 && editor.held < n) {
        editor.points[editor.held] = DraggedPointPosition(editor, editor.held, px, py);
        out.redraw = true;
      }
      return 0;
    case PointerAction::Release:
      if (editor.held == -1) return 0;
      editor.held = -1;
      return 1;
    default: return 0;
  }
}

namespace {

double ValueXDouble(const BandLevelEditor& editor, std::int32_t x) {
  if (editor.width <= 0) return 0.0;
  return static_cast<double>(editor.valueRangeX) * x / editor.width;
}

double ValueYDouble(const BandLevelEditor& editor, std::int32_t y) {
  if (editor.height <= 0) return 0.0;
  const double range = editor.valueRangeY;
  return range - range * y / editor.height;
}

}  // namespace

float BandValueX(const BandLevelEditor& editor, std::int32_t x) { return SaturateToFloat(ValueXDouble(editor, x)); }

float BandValueY(const BandLevelEditor& editor, std::int32_t y) { return SaturateToFloat(ValueYDouble(editor, y)); }

int EvaluateBandCurveOn(const BandLevelEditor& editor, int x) {
  const std::size_t n = editor.points.size();
  if (n < 2) return 0;
  const int range = RoundHalfEvenToInt32(editor.valueRangeX);
  if (x < 0 || x > range) return 0;
  if (x == 0) return RoundHalfEvenToInt32(ValueYDouble(editor, editor.points.front().y));
  if (x == range) return RoundHalfEvenToInt32(ValueYDouble(editor, editor.points.back().y));

  // Q is the first point right of x; without one the last segment is extended.
  std::size_t q = n - 1;
  for (std::size_t i = 0; i < n; ++i) {
    if (BandValueX(editor, editor.points[i].x) > x) {
      q = i;
      break;
    }
  }
  if (q == 0) q = 1;  // only reachable with a first point right of 0; use the first segment then
  const double xP = BandValueX(editor, editor.points[q - 1].x), yP = BandValueY(editor, editor.points[q - 1].y);
  const double xQ = BandValueX(editor, editor.points[q].x), yQ = BandValueY(editor, editor.points[q].y);
  // Two points on one column (only through import) give no slope: rows there take Q's value.
  if (xQ == xP) return RoundHalfAwayToInt32(yQ);
  const float value = SaturateToFloat(yP + (yQ - yP) / (xQ - xP) * (x - xP));
  return RoundHalfAwayToInt32(value);
}

float BandLevelOf(const BandLevelEditor& editor, bool edited, int row) {
  if (!edited) return UneditedBandLevel;
  return static_cast<float>(EvaluateBandCurveOn(editor, row) / static_cast<double>(BandLevelScale));
}

std::vector<StoredBandPoint> ExportBandPointsOf(const BandLevelEditor& editor) {
  std::vector<StoredBandPoint> stored;
  stored.reserve(editor.points.size());
  for (const BandPoint& point : editor.points) {
    stored.push_back({point.x, SaturateToInt32(static_cast<std::int64_t>(editor.height) - point.y)});
  }
  return stored;
}

bool ImportBandPointsInto(BandLevelEditor& editor, const std::vector<StoredBandPoint>& stored) {
  const std::size_t n = editor.points.size();
  if (stored.size() != n || n != static_cast<std::size_t>(editor.pointCount)) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (0 < i && i + 1 < n) editor.points[i].x = stored[i].x;
    editor.points[i].y = SaturateToInt32(static_cast<std::int64_t>(editor.height) - stored[i].y);
  }
  return true;
}

void DrawBandEditorOn(Raster& surface, const BandLevelEditor& editor) {
  FillRectOn(surface, 0, 0, editor.width, editor.height, editor.background);
  const auto& points = editor.points;
  for (std::size_t i = 0; i < points.size(); ++i) {
    // The last point joins itself, so every point gets a line call and the last one a single pixel.
    const BandPoint& next = i + 1 < points.size() ? points[i + 1] : points[i];
    FillCircleOn(surface, points[i].x, points[i].y, editor.markerRadius, editor.foreground);
    DrawLineOn(surface, points[i].x, points[i].y, next.x, next.y, editor.foreground);
  }
}
