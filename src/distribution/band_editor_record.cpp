// Creating a band level editor record, placing its points, its properties and the hit test.
#include "distribution/band_editor_record.h"

#include <algorithm>
#include <cstdint>

#include "distribution/numeric_conversion.h"

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
