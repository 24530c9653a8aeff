// Pure operations on a band level editor record: creating it, placing its points, its properties, hit test.
#pragma once

#include <cstdint>

#include "distribution/band_level_editor.h"

constexpr int MinBandPointCount = 2;
// Far more points than fit on any control; keeps a stray property value from exhausting memory.
constexpr int MaxBandPointCount = 4096;
// Marker and hit radius of a new editor, before the application sets its own.
constexpr int StartMarkerRadius = 5;
constexpr int StartHitRadius = 5;

// The keys of SetBandLevelEditorProperty.
enum BandEditorProperty : int {
  PointCountProperty = 0,
  MarkerRadiusProperty = 1,
  HitRadiusProperty = 2,
  ValueRangeXProperty = 3,
  ValueRangeYProperty = 4,
};

// A record for a width x height surface: nothing held, value ranges equal to the size, points placed.
BandLevelEditor NewBandLevelEditorRecord(int width, int height, int pointCount, Colour foreground, Colour background);
// Empties the point list and places pointCount points on the middle line, evenly spread (ends at 0 and W - 1).
void PlaceBandPoints(BandLevelEditor& editor);
// Applies one property (see BandEditorProperty); unknown keys change nothing.
void ApplyBandEditorProperty(BandLevelEditor& editor, int key, std::int32_t value);
