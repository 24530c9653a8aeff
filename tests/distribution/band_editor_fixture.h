// The band level editor records the tests start from.
#pragma once

#include <utility>
#include <vector>

#include "distribution/band_curve.h"
#include "distribution/band_editor_record.h"

namespace band_fixture {

// The application's editor: 160 x 70, 8 points, then marker 3, hit 10, X range 380, Y range 10000.
inline BandLevelEditor AppEditor() {
  BandLevelEditor editor = NewBandLevelEditorRecord(160, 70, 8, White, Black);
  ApplyBandEditorProperty(editor, MarkerRadiusProperty, 3);
  ApplyBandEditorProperty(editor, HitRadiusProperty, 10);
  ApplyBandEditorProperty(editor, ValueRangeXProperty, 380);
  ApplyBandEditorProperty(editor, ValueRangeYProperty, 10000);
  return editor;
}

// The application's editor with its points set to (x, y) in pixel coordinates (the ends' x kept).
inline BandLevelEditor AppEditorWith(const std::vector<BandPoint>& pixels) {
  BandLevelEditor editor = AppEditor();
  std::vector<StoredBandPoint> stored;
  for (const BandPoint& p : pixels) stored.push_back({p.x, editor.height - p.y});
  ImportBandPointsInto(editor, stored);
  return editor;
}

// The application's start points with the ones listed replaced (pixel coordinates, the ends' x kept).
using PointChanges = std::vector<std::pair<int, BandPoint>>;
inline BandLevelEditor AppEditorChanged(const PointChanges& changes) {
  std::vector<BandPoint> points = AppEditor().points;
  for (const auto& [index, point] : changes) points[index] = point;
  return AppEditorWith(points);
}

inline std::vector<StoredBandPoint> Stored(std::initializer_list<std::pair<int, int>> pairs) {
  std::vector<StoredBandPoint> stored;
  for (const auto& [x, y] : pairs) stored.push_back({x, y});
  return stored;
}

}  // namespace band_fixture
