// SPDX-License-Identifier: GPL-3.0-or-later
// Sound into picture: pictures rendered by synthesis come back where they were drawn, a generated sweep comes
// back along the rows of its pitch, columns follow synthesis' samples-per-column rule, and the two scales.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "distribution/frequency_mapping.h"
#include "sound/analysis.h"
#include "sound/fast_render.h"

namespace {

constexpr int Size = CanvasSize;

SynthSettingsRecord Worst(bool shaped) {
  SynthSettingsRecord settings = StartSynthSettings();
  settings.SampleRate = 22050;
  settings.Duration = 15.0f;
  settings.SampleCount = ComputeSampleCount(22050, 15.0f);
  settings.FrqDistribution = shaped ? 1 : 0;
  return settings;
}

std::vector<double> RoundTrip(const Raster& picture, const SynthSettingsRecord& settings) {
  const std::vector<float> sound =
      SynthesizeSound(picture, settings, {&DefaultFrequency, &DistributionFrequency, [](int) { return 0.5f; }});
  return AnalyseLevels(sound, settings.SampleRate, settings);
}

int Strongest(const std::vector<double>& sums, int from, int to) {
  from = std::max(from, 0), to = std::min(to, Size - 1);
  return static_cast<int>(std::max_element(sums.begin() + from, sums.begin() + to + 1) - sums.begin());
}

class AnalysisRoundTrip : public testing::TestWithParam<bool> {};

TEST_P(AnalysisRoundTrip, HorizontalStrokesComeBackOnTheirRowsWithLittleElsewhere) {
  Raster picture(Size, Size);
  std::vector<int> strokes;
  for (int centre = 61; centre < Size - 1; centre += 21) strokes.push_back(centre);
  for (int centre : strokes)
    for (int y = centre - 1; y <= centre + 1; ++y)
      for (int x = 0; x < Size; ++x) picture.At(x, y) = White;
  const std::vector<double> levels = RoundTrip(picture, Worst(GetParam()));
  std::vector<double> rowSums(Size, 0.0);
  for (int row = 0; row < Size; ++row)
    for (int column = 0; column < Size; ++column) rowSums[row] += levels[row * Size + column];
  double total = 0.0, far = 0.0;
  for (int row = 0; row < Size; ++row) {
    int distance = Size;
    for (int centre : strokes) distance = std::min(distance, std::abs(row - centre));
    total += rowSums[row];
    if (distance > 6) far += rowSums[row];
  }
  for (int centre : strokes) EXPECT_NEAR(Strongest(rowSums, centre - 10, centre + 10), centre, 1) << centre;
  EXPECT_LT(far, 0.05 * total);
}

TEST_P(AnalysisRoundTrip, VerticalBarsComeBackInTheirColumns) {
  const int bars[] = {20, 100, 190, 260, 340, 377};
  Raster picture(Size, Size);
  for (int x : bars)
    for (int y = 0; y < Size; ++y) picture.At(x, y) = White;
  const std::vector<double> levels = RoundTrip(picture, Worst(GetParam()));
  std::vector<double> columnSums(Size, 0.0);
  for (int row = 0; row < Size; ++row)
    for (int column = 0; column < Size; ++column) columnSums[column] += levels[row * Size + column];
  for (int x : bars) EXPECT_NEAR(Strongest(columnSums, x - 15, x + 15), x, 1) << x;
}

TEST_P(AnalysisRoundTrip, SweepComesBackAlongTheRowsOfItsPitch) {
  const SynthSettingsRecord settings = Worst(GetParam());
  const int rate = settings.SampleRate;
  const double seconds = 15.0, low = 100.0, high = 8000.0, growth = std::log(high / low);
  std::vector<float> sweep(static_cast<std::size_t>(rate * seconds) + 1);
  for (std::size_t i = 0; i < sweep.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    sweep[i] = static_cast<float>(std::sin(2 * std::numbers::pi * low * seconds / growth * std::expm1(growth * t / seconds)));
  }
  const std::vector<double> levels = AnalyseLevels(sweep, rate, settings);
  // The expected row: the one heard nearest the sweep's pitch at the column's middle, from the mapping itself.
  const SynthesisTables tables = BuildSynthesisTables(Raster(1, Size), settings, {&DefaultFrequency, &DistributionFrequency, {}});
  const double perColumn = std::nearbyint((sweep.size() - 1) / 379.0);
  auto heard = [&tables](int row) { return tables.rowFrequency[std::clamp(row, 0, Size - 1)] * 3.0 / std::numbers::pi; };
  int checked = 0;
  for (int column = 0; column < Size - 1; ++column) {
    const double middle = (column + 0.5) * perColumn / rate, pitch = low * std::exp(growth * middle / seconds);
    int expected = 0, found = 0;
    for (int row = 0; row < Size; ++row) {
      if (std::fabs(heard(row) - pitch) < std::fabs(heard(expected) - pitch)) expected = row;
      if (levels[row * Size + column] > levels[found * Size + column]) found = row;
    }
    // Telling a row from its neighbours takes about 1 / spacing seconds of sound; near the ends there is less.
    const double halfSpan = 1.0 / (heard(expected + 1) - heard(expected - 1));
    if (middle < halfSpan || middle > seconds - halfSpan) continue;
    EXPECT_NEAR(found, expected, 2) << "column " << column << ", " << pitch << " Hz";
    ++checked;
  }
  EXPECT_GT(checked, 360);
}

INSTANTIATE_TEST_SUITE_P(BothMappings, AnalysisRoundTrip, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Shaped" : "EqualRatio"; });

TEST(Analysis, ColumnsCoverTheSamplesSynthesisGivesThem) {
  for (auto [count, perColumn] : {std::pair{15001, 40}, {330751, 873}, {2001, 5}, {1, 1}, {0, 1}})
    EXPECT_EQ(AnalysisSamplesPerColumn(count), perColumn) << count;
  // A burst at the top row's pitch over exactly column 100's samples of a 22050 Hz, 15 s sound; column 379
  // starts after its last sample and stays dark.
  const SynthSettingsRecord settings = Worst(false);
  const double pitch = HeardRowFrequencies(settings)[Size - 1];
  std::vector<float> sound(330751, 0.0f);
  for (int i = 87300; i < 88173; ++i) sound[i] = static_cast<float>(std::sin(2 * std::numbers::pi * pitch * i / 22050));
  const std::vector<double> levels = AnalyseLevels(sound, 22050, settings);
  std::vector<double> top(levels.end() - Size, levels.end());
  EXPECT_EQ(Strongest(top, 0, Size - 1), 100);
  EXPECT_LT(std::max(top[98], top[102]), 0.05 * top[100]);
  EXPECT_EQ(top[Size - 1], 0.0);
  EXPECT_EQ(AnalyseLevels(sound, 22050, settings, {1}), AnalyseLevels(sound, 22050, settings, {3}));
}

// At 8000 Hz the rows heard above 4000 Hz fold back between the others; a steady tone at any row's pitch still
// comes back in that row alone, for the bands stop at the neighbouring pitches on either side.
TEST(Analysis, SteadyToneOfOneRowComesBackInThatRowAloneFoldedOrNot) {
  SynthSettingsRecord settings = StartSynthSettings();
  settings.SampleRate = 8000;
  settings.SampleCount = ComputeSampleCount(8000, settings.Duration);
  const std::vector<double> heard = HeardRowFrequencies(settings);
  for (int row = 20; row < Size; row += 23) {
    Raster picture(Size, Size);
    for (int x = 0; x < Size; ++x) picture.At(x, row) = White;
    const std::vector<double> levels = RoundTrip(picture, settings);
    for (int other = 0; other < Size; ++other) {
      if (heard[other] == heard[row]) continue;
      EXPECT_LT(levels[other * Size + 190], 0.01 * levels[row * Size + 190]) << row << " " << other;
    }
  }
}

TEST(Analysis, LinearAndDecibelScalesPutTheLoudestCellAt255) {
  const std::tuple<double, int, int> cases[] = {  // level against the loudest 1.0, linear grey, decibel grey
      {1.0, 255, 255}, {0.5, 128, 229}, {0.1, 26, 170}, {0.01, 3, 85}, {0.001, 0, 0}, {1e-4, 0, 0}, {0.0, 0, 0}};
  std::vector<double> levels(Size * Size, 0.0);
  for (std::size_t i = 0; i < std::size(cases); ++i) levels[i] = 2.0 * std::get<0>(cases[i]);
  const Raster linear = LevelsToPicture(levels, AnalysisScale::Linear);
  const Raster decibels = LevelsToPicture(levels, AnalysisScale::Decibels);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto [level, grey, decibelGrey] = cases[i];
    EXPECT_EQ(linear.pixels[i], MakeColour(grey, grey, grey)) << level;
    EXPECT_EQ(decibels.pixels[i], MakeColour(decibelGrey, decibelGrey, decibelGrey)) << level;
  }
  EXPECT_EQ(AnalyseSound(std::vector<float>(5000, 0.0f), 3000, StartSynthSettings(), AnalysisScale::Linear),
            Raster(Size, Size));
}

}  // namespace
