// SPDX-License-Identifier: GPL-3.0-or-later
// The band level editor as a record: its points, their placing, the hit test, the drag rules, the curve's
// value at each row, the points' import and export, and its drawing. No window is needed for any of it.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "picture/raster.h"
#include "picture/settings_file.h"

struct BandPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const BandPoint&) const = default;
};

struct BandLevelEditor {
  std::vector<BandPoint> points;
  int width = 0;
  int height = 0;
  int held = -1;  // the index of the point being dragged, -1 when none is
  Colour foreground = White;
  Colour background = Black;
  float valueRangeX = 0.0f;
  float valueRangeY = 0.0f;
  int markerRadius = 5;
  int hitRadius = 5;
  int pointCount = 2;
};

constexpr int MinBandPointCount = 2;
// Far more points than fit on any control; keeps a stray property value from exhausting memory.
constexpr int MaxBandPointCount = 4096;
// Marker and hit radius of a new editor, before the program sets its own.
constexpr int StartMarkerRadius = 5;
constexpr int StartHitRadius = 5;

// The keys of the editor's properties.
enum BandEditorProperty : int {
  PointCountProperty = 0,
  MarkerRadiusProperty = 1,
  HitRadiusProperty = 2,
  ValueRangeXProperty = 3,
  ValueRangeYProperty = 4,
};

// The program's one editor: its size, its points and the properties start-up gives it, in this order.
// Its X range spans the picture's rows and its Y range the level in ten-thousandths.
constexpr int BandEditorWidth = 160;
constexpr int BandEditorHeight = 70;
constexpr int BandEditorPoints = 8;
inline constexpr std::array<std::pair<int, int>, 4> BandEditorStartProperties = {{
    {MarkerRadiusProperty, 3},
    {HitRadiusProperty, 10},
    {ValueRangeXProperty, CanvasSize},
    {ValueRangeYProperty, 10000},
}};

// A record for a width x height surface: nothing held, value ranges equal to the size, points placed.
BandLevelEditor NewBandLevelEditorRecord(int width, int height, int pointCount, Colour foreground, Colour background);
// The program's editor as start-up leaves it (white on black, the start properties applied).
BandLevelEditor ProgramBandEditorRecord();
// Empties the point list and places pointCount points on the middle line, evenly spread (ends at 0 and W - 1).
void PlaceBandPoints(BandLevelEditor& editor);
// Applies one property (see BandEditorProperty); unknown keys change nothing.
void ApplyBandEditorProperty(BandLevelEditor& editor, int key, std::int32_t value);
// Index of the first point whose hit square holds (x, y) strictly, or -1.
int HitTestBandPoint(const BandLevelEditor& editor, int x, int y);

enum class PointerAction { Press, Move, Release, Other };

// What the control has to do after a pointer event besides reporting the result.
struct BandPointerEffects {
  bool redraw = false;     // the held point moved
  bool setCursor = false;  // a move while nothing is held picks the pointer shape
  bool overPoint = false;  // with setCursor: the pointer is over a point (a hand), else not (an arrow)
};

// The new position of held point d for the (already clamped) pointer (px, py): end points move only
// vertically (the last one to x = width), interior points follow the stack, border and neighbour rules;
// a d that names no point gives the pointer position itself.
BandPoint DraggedPointPosition(const BandLevelEditor& editor, int d, int px, int py);
// Handles one pointer event at (px, py) relative to the control; 1 when a release ends holding a point.
int HandleBandPointer(BandLevelEditor& editor, PointerAction action, int px, int py,
                      BandPointerEffects* effects = nullptr);

// X value of pixel column x: valueRangeX * x / width (0 for a surface without width).
float BandValueX(const BandLevelEditor& editor, std::int32_t x);
// Y value of pixel row y: valueRangeY - valueRangeY * y / height (0 for a surface without height).
float BandValueY(const BandLevelEditor& editor, std::int32_t y);
// The curve's value at X value x: the end points' own values at 0 and R (valueRangeX rounded), straight
// lines between the points, the last segment extended; 0 outside 0..R.
int EvaluateBandCurveOn(const BandLevelEditor& editor, int x);
// The level synthesis gives picture row: the curve over 10000 once the curve is edited, else 0.5.
float BandLevelOf(const BandLevelEditor& editor, bool edited, int row);
// The points in stored units (x, height - y), in list order.
std::vector<StoredBandPoint> ExportBandPointsOf(const BandLevelEditor& editor);
// Takes stored points when there are exactly as many as the editor has (the end points keep their x);
// false, with the points unchanged, otherwise. Values are taken as they are, only saturated to 32 bits.
bool ImportBandPointsInto(BandLevelEditor& editor, const std::vector<StoredBandPoint>& stored);

// Draws the whole editor on its surface: background, a marker on each point and the lines joining them.
void DrawBandEditorOn(Raster& surface, const BandLevelEditor& editor);
