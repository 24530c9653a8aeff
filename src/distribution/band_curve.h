// The band level curve as values: value units of the points, evaluation at a row, export and import.
#pragma once

#include <vector>

#include "distribution/band_level_editor.h"

// X value of pixel column x: valueRangeX * x / width (0 for a surface without width).
float BandValueX(const BandLevelEditor& editor, std::int32_t x);
// Y value of pixel row y: valueRangeY - valueRangeY * y / height (0 for a surface without height).
float BandValueY(const BandLevelEditor& editor, std::int32_t y);
// The curve's value at X value x: the end points' own values at 0 and R (valueRangeX rounded), straight
// lines between the points, the last segment extended; 0 outside 0..R.
int EvaluateBandCurveOn(const BandLevelEditor& editor, int x);
// The points in stored units (x, height - y), in list order.
std::vector<StoredBandPoint> ExportBandPointsOf(const BandLevelEditor& editor);
// Takes stored points when there are exactly as many as the editor has (the end points keep their x);
// false, with the points unchanged, otherwise. Values are taken as they are, only saturated to 32 bits.
bool ImportBandPointsInto(BandLevelEditor& editor, const std::vector<StoredBandPoint>& stored);
