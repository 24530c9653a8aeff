// SPDX-License-Identifier: GPL-3.0-or-later
// Measured levels into grey: the band curve taken out, one reference level for 255, the gain, and the linear
// or decibel scale.
#include "sound/analysis_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>

namespace {

constexpr int Columns = CanvasSize;
constexpr int Rows = CanvasSize;
constexpr double LargestGainDb = 120.0;

// Divides each row by the level synthesis will multiply it by. A row held below 1/256 of the curve's highest
// level sounds, even at full brightness, fainter than the highest row at the faintest brightness: it is taken
// as silenced, like a row at 0, and left black.
void TakeOutBandLevels(std::vector<double>& levels, const std::vector<float>& rowLevels) {
  if (rowLevels.size() != static_cast<std::size_t>(Rows)) return;
  double highest = 0.0;
  for (const float level : rowLevels)
    if (std::isfinite(level)) highest = std::max(highest, static_cast<double>(level));
  for (int row = 0; row < Rows; ++row) {
    const double level = rowLevels[static_cast<std::size_t>(row)];
    const bool heard = std::isfinite(level) && level > 0.0 && level * 256.0 >= highest;
    for (int column = 0; column < Columns; ++column) {
      double& cell = levels[static_cast<std::size_t>(row) * Columns + column];
      cell = heard ? cell / level : 0.0;
    }
  }
}

// The level 255 stands for: the loudest level a row holds over as many columns as its band takes to settle. A
// sound that sets in or stops at once overshoots what it holds for about that long, and a steady full-brightness
// pixel gives what it holds. No level is clipped by more than half, so a picture of short strokes alone, which
// holds nothing that long, and the onsets of a sound that dies away keep their shape. The levels are of the sound
// scaled to a peak of 1; rows holding nothing above QuietestShown of that stay black rather than show rounding.
double ReferenceLevel(const MeasuredLevels& measured) {
  constexpr double QuietestShown = 1e-5;  // −100 dB
  double held = 0.0, loudest = 0.0;
  for (int row = 0; row < Rows; ++row) {
    const double* cells = &measured.levels[static_cast<std::size_t>(row) * Columns];
    const int span = std::clamp(measured.settlingColumns[static_cast<std::size_t>(row)], 2, Columns);
    loudest = std::max(loudest, *std::max_element(cells, cells + Columns));
    // The least of each run of span columns, kept as the columns of rising level still in the run.
    std::deque<int> rising;
    for (int column = 0; column < Columns; ++column) {
      while (!rising.empty() && cells[rising.back()] >= cells[column]) rising.pop_back();
      rising.push_back(column);
      if (rising.front() <= column - span) rising.pop_front();
      if (column + 1 >= span) held = std::max(held, cells[rising.front()]);
    }
  }
  return std::max({held, loudest / 2.0, QuietestShown});
}

}  // namespace

Raster PictureOfLevels(MeasuredLevels measured, const AnalysisChoices& choices) {
  Raster picture(Columns, Rows);
  std::vector<double>& levels = measured.levels;
  if (levels.size() != static_cast<std::size_t>(Rows) * Columns ||
      measured.settlingColumns.size() != static_cast<std::size_t>(Rows))
    return picture;
  for (double& level : levels)
    if (!std::isfinite(level) || level < 0.0) level = 0.0;
  TakeOutBandLevels(levels, choices.rowLevels);
  const double reference = ReferenceLevel(measured);
  if (!(reference > 0.0)) return picture;
  const double gainDb = std::isfinite(choices.gainDb) ? std::clamp(choices.gainDb, -LargestGainDb, LargestGainDb) : 0.0;
  const double rangeDb =
      std::isfinite(choices.rangeDb) ? std::clamp(choices.rangeDb, MinimumRangeDb, MaximumRangeDb) : DecibelRange;
  const double gain = std::pow(10.0, gainDb / 20.0);
  for (int row = 0; row < Rows; ++row) {
    for (int column = 0; column < Columns; ++column) {
      const double ratio = levels[static_cast<std::size_t>(row) * Columns + column] / reference;
      if (!(ratio > 0.0)) continue;
      const double brightness = choices.scale == AnalysisScale::Linear
                                    ? 255.0 * gain * ratio
                                    : 255.0 * (1.0 + (20.0 * std::log10(ratio) + gainDb) / rangeDb);
      const auto grey = static_cast<std::uint8_t>(std::clamp(std::nearbyint(brightness), 0.0, 255.0));
      picture.At(column, row) = MakeColour(grey, grey, grey);
    }
  }
  return picture;
}
