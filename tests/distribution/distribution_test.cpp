// SPDX-License-Identifier: GPL-3.0-or-later
// The row-to-frequency mappings against their worked values, and the band level editor as a record.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>

#include "distribution/band_editor.h"
#include "distribution/frequency_mapping.h"

namespace {

TEST(FrequencyMapping, WorkedValues) {
  // Shape 0: equal ratios; 1: A..D 0.5, 0.05, 0.75, 0.75; 2: the diagonal. Hz to the digits shown.
  const std::tuple<int, int, int, double> cases[] = {
      {0, 90, 0, 44.79},   {0, 90, 1, 45.42},   {0, 90, 49, 88.75},  {0, 90, 50, 90.00},   {0, 90, 51, 91.26},
      {0, 90, 100, 180.8}, {0, 90, 190, 634.9}, {0, 90, 300, 2947.1}, {0, 90, 379, 8875.2}, {0, 70, 0, 33.54},
      {0, 70, 50, 70.00},  {0, 70, 379, 8868.6}, {1, 90, 0, 40.00},   {1, 90, 50, 301.5},   {1, 90, 95, 801.5},
      {1, 90, 190, 2768.7}, {1, 90, 285, 5876.2}, {1, 90, 379, 8926.4}, {1, 70, 0, 20.00}, {1, 70, 95, 783.2},
      {1, 70, 379, 8926.4}, {2, 90, 0, 40.00},   {2, 90, 190, 4495.0}, {2, 90, 379, 8926.6}};
  const float shapes[3][4] = {{}, {0.5f, 0.05f, 0.75f, 0.75f}, {0.25f, 0.25f, 0.75f, 0.75f}};
  for (auto [shape, from, row, expected] : cases) {
    const float* s = shapes[shape];
    const float hz = shape == 0 ? DefaultFrequency(row, from, 9000)
                                : DistributionFrequency(row / 380.0f, s[0], s[1], s[2], s[3], from, 9000);
    EXPECT_NEAR(hz, expected, (expected < 100 ? 0.005 : 0.05) + 1e-9) << shape << ", from " << from << ", row " << row;
  }
  const auto preview = PreviewSamples(0.5f, 0.05f, 0.75f, 0.75f);
  for (auto [column, row] : {std::pair{0, 70.00}, {40, 64.02}, {80, 48.56}, {120, 24.15}, {159, 0.44}})
    EXPECT_NEAR(preview[column], row, 0.005 + 1e-9) << "preview column " << column;
}

// The program's editor (points 22 to 23 pixels apart on row 35, marker radius 3) with some points moved.
using Changes = std::vector<std::pair<int, BandPoint>>;
BandLevelEditor Edited(const Changes& changes = {}) {
  BandLevelEditor editor = ProgramBandEditorRecord();
  for (auto [i, point] : changes) editor.points[i] = point;
  return editor;
}

TEST(BandEditor, ProgramRecordAndHitSquares) {
  BandLevelEditor e = ProgramBandEditorRecord();
  EXPECT_EQ(ExportBandPointsOf(e), (std::vector<StoredBandPoint>{{0, 35}, {22, 35}, {44, 35}, {66, 35}, {89, 35},
                                                                {111, 35}, {133, 35}, {159, 35}}));
  EXPECT_EQ(std::tuple(e.held, e.markerRadius, e.hitRadius, e.valueRangeX, e.valueRangeY, e.foreground, e.background),
            std::tuple(-1, 3, 10, 380.0f, 10000.0f, White, Black));
  // Hit squares are strict and the lower index wins.
  for (auto [radius, x, y, point] : {std::tuple{10, 22, 35, 1}, {10, 13, 26, 1}, {10, 31, 44, 1}, {10, 12, 35, -1},
                                     {10, 32, 35, -1}, {10, 22, 25, -1}, {10, 22, 45, -1}, {10, 11, 35, -1},
                                     {15, 10, 35, 0}, {15, 16, 35, 1}}) {
    e.hitRadius = radius;
    EXPECT_EQ(HitTestBandPoint(e, x, y), point) << radius << ": " << x << "," << y;
  }
}

TEST(BandEditor, PointerAndDragRules) {
  // Two-point stacks; the points further out on either side stand on the other side of the near point's y.
  const Changes left = {{1, {22, 10}}, {2, {44, 50}}, {3, {44, 30}}, {6, {133, 10}}},
                right = {{1, {22, 10}}, {4, {100, 30}}, {5, {100, 50}}, {6, {133, 10}}},
                column = {{2, {60, 20}}, {3, {60, 35}}, {4, {60, 50}}};
  const std::tuple<Changes, int, BandPoint, BandPoint> cases[] = {  // point held, pointer, where the point goes
      {{}, 0, {50, 10}, {0, 10}}, {{}, 7, {100, 20}, {160, 20}}, {{}, 3, {80, 5}, {80, 5}},  // ends vertical; free
      {{}, 3, {120, 10}, {89, 10}}, {{}, 4, {10, 60}, {66, 60}},  // stopped at a neighbour's x, or r beside it
      {{}, 3, {120, 37}, {86, 37}}, {{}, 4, {10, 33}, {69, 33}}, {{}, 3, {120, 38}, {89, 38}},  // within r of its y
      {left, 4, {10, 40}, {47, 40}}, {left, 4, {10, 20}, {44, 20}},  // r beside a stack on its far side
      {right, 3, {150, 40}, {97, 40}}, {right, 3, {150, 20}, {100, 20}},
      {{{3, {100, 10}}, {5, {50, 60}}}, 4, {70, 30}, {50, 30}},  // the right neighbour applied last
      {{}, 1, {0, 10}, {3, 10}}, {{}, 6, {159, 10}, {157, 10}},  // r from either border
      {column, 3, {60, 60}, {60, 47}}, {column, 3, {60, 5}, {60, 23}}, {column, 3, {60, 30}, {60, 30}},  // stack
      {{}, 3, {78, -500}, {78, 0}}, {{}, 0, {0, 1000}, {0, 69}}, {{}, 3, {INT_MIN, 40}, {44, 40}},  // clamped
  };
  for (const auto& [changes, index, to, expected] : cases) {
    BandLevelEditor editor = Edited(changes);
    std::vector<BandPoint> points = editor.points;
    points[index] = expected;
    HandleBandPointer(editor, PointerAction::Press, editor.points[index].x, editor.points[index].y);
    HandleBandPointer(editor, PointerAction::Move, to.x, to.y);
    EXPECT_EQ(HandleBandPointer(editor, PointerAction::Release, to.x, to.y), 1);
    EXPECT_EQ(editor.points, points) << "point " << index << " to " << to.x << "," << to.y;
  }
  BandLevelEditor editor = Edited();
  HandleBandPointer(editor, PointerAction::Press, 44, 35);
  EXPECT_EQ(HandleBandPointer(editor, PointerAction::Release, 44, 35), 1);
  HandleBandPointer(editor, PointerAction::Press, 11, 10);  // beside every point
  HandleBandPointer(editor, PointerAction::Move, 22, 35);
  EXPECT_EQ(HandleBandPointer(editor, PointerAction::Release, 22, 35), 0);
  EXPECT_EQ(editor.points, Edited().points);
  HandleBandPointer(editor, PointerAction::Press, 44, 35);  // a new point count lets go of the point held
  ApplyBandEditorProperty(editor, PointCountProperty, BandEditorPoints);
  const std::vector<BandPoint> placed = editor.points;
  HandleBandPointer(editor, PointerAction::Move, 50, 10);
  EXPECT_EQ(editor.points, placed);
  for (auto [x, over] : {std::pair{25, true}, {33, false}}) {  // a move with nothing held picks the pointer shape
    BandPointerEffects effects;
    HandleBandPointer(editor, PointerAction::Move, x, 40, &effects);
    EXPECT_TRUE(effects.setCursor && effects.overPoint == over && !effects.redraw) << x;
  }
}

TEST(BandEditor, CurveLevelsAndImport) {
  const std::pair<Changes, std::vector<std::pair<int, int>>> cases[] = {  // rows and values; pixel p is row 2.375 p
      {{}, {{-1, 0}, {0, 5000}, {200, 5000}, {380, 5000}, {381, 0}}},
      {{{0, {0, 7}}, {7, {159, 63}}}, {{0, 9000}, {380, 1000}}},
      {{{3, {66, 0}}}, {{104, 5000}, {105, 5048}, {130, 7440}, {157, 9977}, {211, 5034}, {212, 5000}}},
      {{{7, {159, 0}}}, {{300, 5000}, {377, 9949}, {378, 10030}, {379, 10111}, {380, 10000}}}};
  for (const auto& [changes, values] : cases)
    for (auto [row, value] : values) EXPECT_EQ(EvaluateBandCurveOn(Edited(changes), row), value) << row;
  EXPECT_EQ(BandLevelOf(Edited({{0, {0, 69}}}), false, 0), 0.5f);
  EXPECT_FLOAT_EQ(BandLevelOf(Edited({{0, {0, 69}}}), true, 0), 0.0143f);
  BandLevelEditor editor = Edited();
  for (std::size_t count : {7u, 9u}) EXPECT_FALSE(ImportBandPointsInto(editor, std::vector<StoredBandPoint>(count)));
  EXPECT_EQ(editor.points, Edited().points);
  ASSERT_TRUE(ImportBandPointsInto(editor, {{50, 10}, {130, 80}, {20, -5}, {6, 5}, {9, 5}, {1, 3}, {2, 3}, {3, 69}}));
  EXPECT_EQ(std::tuple(editor.points[0], editor.points[1], editor.points[7]),
            std::tuple(BandPoint{0, 60}, BandPoint{130, -10}, BandPoint{159, 1}));
  // Any 32-bit values give saturated values and never overflow (the sanitizer builds check that).
  ASSERT_TRUE(ImportBandPointsInto(editor, {{0, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}, {INT_MAX, INT_MAX},
                                            {INT_MIN, INT_MIN}, {0, INT_MAX}, {INT_MAX, 0}, {0, INT_MIN}}));
  EXPECT_EQ(std::pair(EvaluateBandCurveOn(editor, 0), EvaluateBandCurveOn(editor, 380)), std::pair(INT_MAX, INT_MIN));
  for (int row = 1; row < 380; ++row) ASSERT_EQ(EvaluateBandCurveOn(editor, row), INT_MAX) << row;
}

TEST(BandEditor, DrawsAMarkerOnEachPointAndTheLinesBetween) {
  constexpr Colour Ink = 0x00FF00, Paper = 0xFF0000;
  BandLevelEditor editor = NewBandLevelEditorRecord(160, 70, 8, Ink, Paper);
  for (auto [key, value] : BandEditorStartProperties) ApplyBandEditorProperty(editor, key, value);
  editor.points[3] = {66, 5};
  Raster surface(160, 70, White);
  DrawBandEditorOn(surface, editor);
  // Radius-3 discs have half-widths 3, 3, 2, 1 away from their centre rows: 30 pixels off it, 18 at an edge.
  for (auto [x, y, colour] : {std::tuple{22, 32, Ink}, {23, 32, Ink}, {24, 32, Paper}, {22, 31, Paper}, {20, 37, Ink},
                              {19, 37, Paper}, {55, 20, Ink}, {66, 35, Paper}, {80, 5, Paper}})
    EXPECT_EQ(surface.At(x, y), colour) << x << "," << y;
  editor.points[3] = {66, 35};
  DrawBandEditorOn(surface, editor);
  // Row 35 from 0 to 159 and the discs: nothing else; every other pixel, edges included, the background.
  EXPECT_EQ(std::count(surface.pixels.begin() + 35 * 160, surface.pixels.begin() + 36 * 160, Ink), 160);
  EXPECT_EQ(std::count(surface.pixels.begin(), surface.pixels.end(), Ink), 160 + 6 * 30 + 2 * 18);
  EXPECT_EQ(std::count(surface.pixels.begin(), surface.pixels.end(), Paper), 160 * 70 - (160 + 6 * 30 + 2 * 18));
}

}  // namespace
