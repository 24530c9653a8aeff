// The band level editor: a curve through draggable points that sets the level of each picture row.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/raster.h"

struct BandPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const BandPoint&) const = default;
};

// A point in stored units: x unchanged, y measured upward from the bottom edge (height - y).
struct StoredBandPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const StoredBandPoint&) const = default;
};

// The editor's record; pure functions below work on it without any window.
struct BandLevelEditor {
  std::vector<BandPoint> points;
  int width = 0;
  int height = 0;
  int held = -1;
  Colour foreground = White;
  Colour background = Black;
  float valueRangeX = 0.0f;
  float valueRangeY = 0.0f;
  int markerRadius = 5;
  int hitRadius = 5;
  int pointCount = 2;
  int control = -1;  // the drawing control the record belongs to
};

// The handle of an editor is its control number; 0 is never a valid handle.
using BandEditorHandle = int;

// Creates the drawing control in the main window and the record, places the points and draws them.
// Returns the handle (the control's number), 0 when the control cannot be created.
BandEditorHandle CreateBandLevelEditor(int x, int y, int width, int height, int pointCount, Colour foreground,
                                       Colour background);
// Sets property key (0 point count, 1 marker radius, 2 hit radius, 3 X range, 4 Y range) and redraws.
void SetBandLevelEditorProperty(BandEditorHandle handle, int key, std::int32_t value);
// Draws the whole control: background, a marker on each point and the lines joining them.
void DrawBandLevelEditor(BandEditorHandle handle);
// Handles the current event of the editor's control; 1 when a release ends the holding of a point.
int HandleBandLevelEditorEvent(BandEditorHandle handle);
// Index of the first point whose hit square holds (x, y) strictly, or -1.
int HitTestBandPoint(const BandLevelEditor& editor, int x, int y);
// The curve's Y value at the integer X value x; 0 outside 0..R or for an unknown handle.
int EvaluateBandCurve(BandEditorHandle handle, int x);
// Fills points with the editor's points in stored units; 1 on success, 0 for an unknown handle.
int ExportBandPoints(BandEditorHandle handle, std::vector<StoredBandPoint>& points);
// Takes pointCount points in stored units (other counts leave the points as they are) and redraws.
void ImportBandPoints(BandEditorHandle handle, const std::vector<StoredBandPoint>& points);
// The level of picture row for synthesis: the curve / 10000 once BandCurveEdited is 1, else 0.5.
float BandLevel(int row);
// The record behind a handle, nullptr for an unknown handle.
BandLevelEditor* FindBandLevelEditor(BandEditorHandle handle);
// Attaches a copy of record to drawing control number control (replacing any record there) and
// returns its handle; 0 for a control number that cannot be a handle (0 or below). Draws nothing.
BandEditorHandle AttachBandLevelEditor(int control, const BandLevelEditor& record);
