// SPDX-License-Identifier: GPL-3.0-or-later
// Sound into picture: pictures rendered by synthesis come back where they were drawn and as bright as drawn; a
// tone comes back on the row heard at its pitch at the play rate, wholly or shared; the ends of a sound, every
// column, the band curve, the scales, extreme samples, and the frequency range fitted to a sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "distribution/frequency_mapping.h"
#include "sound/analysis.h"
#include "sound/fast_render.h"
#include "sound/sound_continuation.h"
#include "support/pitch_models.h"

namespace {

using pitch_models::Folded;
using pitch_models::HeardPitch;
using pitch_models::Tones;
constexpr int Size = CanvasSize;

SynthSettingsRecord Settings(int rate, int milliseconds, bool shaped = false) {
  return SynthSettingsFromValues({milliseconds, rate, 90, 9000, shaped ? 1 : 0, 50, 5, 75, 75});
}

std::vector<float> Synthesized(const Raster& picture, const SynthSettingsRecord& settings) {
  return SynthesizeSound(picture, settings, {&DefaultFrequency, &DistributionFrequency, [](int) { return 0.5f; }});
}

Raster Analysed(std::span<const float> sound, int rate, const AnalysisChoices& choices = {},
                const SynthSettingsRecord& mapping = StartSynthSettings()) {
  return AnalyseSound(sound, rate, mapping, choices);
}

int Grey(const Raster& picture, int column, int row) { return RedOf(picture.At(column, row)); }

int BrightestRow(const Raster& picture, int column) {
  int best = 0;
  for (int row = 1; row < Size; ++row) best = Grey(picture, column, row) > Grey(picture, column, best) ? row : best;
  return best;
}

int LitRows(const Raster& picture, int column, int above) {
  int lit = 0;
  for (int row = 0; row < Size; ++row) lit += Grey(picture, column, row) > above;
  return lit;
}

std::vector<double> Sums(const Raster& picture, bool ofRows) {
  std::vector<double> sums(Size, 0.0);
  for (int row = 0; row < Size; ++row)
    for (int column = 0; column < Size; ++column) sums[ofRows ? row : column] += Grey(picture, column, row);
  return sums;
}

int Strongest(const std::vector<double>& sums, int from, int to) {
  from = std::max(from, 0), to = std::min(to, Size - 1);
  return static_cast<int>(std::max_element(sums.begin() + from, sums.begin() + to + 1) - sums.begin());
}

class AnalysisRoundTrip : public testing::TestWithParam<bool> {};

TEST_P(AnalysisRoundTrip, StrokesComeBackOnTheirRowsAndBarsInTheirColumns) {
  Raster strokes(Size, Size), bars(Size, Size);
  std::vector<int> rows, columns = {20, 100, 190, 260, 340, 377};
  for (int centre = 61; centre < Size - 1; centre += 21) rows.push_back(centre);
  for (int x = 0; x < Size; ++x)
    for (int y = 0; y < Size; ++y) {
      for (int centre : rows) strokes.At(x, y) = std::abs(y - centre) <= 1 ? White : strokes.At(x, y);
      bars.At(x, y) = std::count(columns.begin(), columns.end(), x) ? White : Black;
    }
  const SynthSettingsRecord settings = Settings(22050, 15000, GetParam());
  const std::vector<double> rowSums = Sums(Analysed(Synthesized(strokes, settings), 22050, {}, settings), true);
  double total = 0.0, far = 0.0;
  for (int row = 0; row < Size; ++row) {
    int distance = Size;
    for (int centre : rows) distance = std::min(distance, std::abs(row - centre));
    total += rowSums[row];
    far += distance > 6 ? rowSums[row] : 0.0;
  }
  for (int centre : rows) EXPECT_NEAR(Strongest(rowSums, centre - 10, centre + 10), centre, 1) << centre;
  EXPECT_LT(far, 0.05 * total);
  const std::vector<double> columnSums = Sums(Analysed(Synthesized(bars, settings), 22050, {}, settings), false);
  for (int x : columns) EXPECT_NEAR(Strongest(columnSums, x - 15, x + 15), x, 1) << x;
}

INSTANTIATE_TEST_SUITE_P(BothMappings, AnalysisRoundTrip, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Shaped" : "EqualRatio"; });

// The linear scale puts a steady full-brightness pixel at 255 and half brightness at half; the decibel scale
// puts half the amplitude 6.02 dB down its range; the gain moves every level first. The picture is relative, so
// samples scaled by any factor give the same one.
TEST(Analysis, BlocksComeBackAsBrightAsPaintedOnEitherScaleWithAnyGainAndAnyScaleOfSamples) {
  Raster picture(Size, Size);
  for (int x = 100; x < 280; ++x)
    for (int y = 200; y < 340; ++y) picture.At(x, y) = y < 260 ? White : y >= 280 ? MakeColour(128, 128, 128) : Black;
  const std::vector<float> sound = Synthesized(picture, Settings(22050, 5000));
  const struct { AnalysisScale scale; double rangeDb, gainDb, white, grey; } cases[] = {
      {AnalysisScale::Linear, 60, 0, 255, 128},  {AnalysisScale::Linear, 60, -6.0206, 127.5, 64},
      {AnalysisScale::Linear, 60, 6.0206, 255, 255}, {AnalysisScale::Decibels, 60, 0, 255, 229.4},
      {AnalysisScale::Decibels, 20, 0, 255, 178.2},  {AnalysisScale::Decibels, 20, -10, 127.5, 50.7}};
  for (const auto& c : cases) {
    AnalysisChoices choices;
    choices.scale = c.scale, choices.rangeDb = c.rangeDb, choices.gainDb = c.gainDb;
    const Raster analysed = Analysed(sound, 22050, choices);
    for (int x = 150; x < 230; ++x)
      for (int y = 203; y < 337; y += y == 256 ? 27 : 1)  // inside the two blocks
        ASSERT_NEAR(Grey(analysed, x, y), y < 260 ? c.white : c.grey, 1.5) << x << " " << y;
  }
  const Raster unscaled = Analysed(sound, 22050);
  for (const float factor : {1e34f, 1e-30f}) {
    std::vector<float> scaled = sound;
    for (float& sample : scaled) sample *= factor;
    const Raster analysed = Analysed(scaled, 22050);
    for (std::size_t i = 0; i < analysed.pixels.size(); ++i)
      ASSERT_NEAR(RedOf(analysed.pixels[i]), RedOf(unscaled.pixels[i]), 1) << factor << " at " << i;
  }
}

// A sound is taken as going on past its ends as it is there: a tone that starts at once, whatever its phase,
// lights no more rows at either end than in between, and silence before it stays black.
TEST(Analysis, EndsOfASoundShowWhatItHoldsThere) {
  const double pitch = HeardPitch(300);
  for (const double phase : {0.0, 0.5 * std::numbers::pi, 2.0}) {
    const Raster analysed = Analysed(Tones({pitch}, 22050, 5 * 22050 + 1, 0.5, 0, phase), 22050);
    for (int column : {0, Size - 1}) EXPECT_LE(LitRows(analysed, column, 2), LitRows(analysed, 190, 2)) << phase;
  }
  const Raster late = Analysed(Tones({pitch}, 22050, 5 * 22050 + 1, 0.5, 22050), 22050);
  for (int column = 0; column < 65; ++column) ASSERT_EQ(LitRows(late, column, 0), 0) << column;
  EXPECT_EQ(BrightestRow(late, 190), 300);
}

// A sound that goes round its circle seamlessly is continued as itself: each end is foreseen, the two fades meet in
// the gap's middle third and add up to the whole there.
TEST(Continuation, FadesMeetingInTheGapAddUpToTheWholeSoundAndNotOneSampleShort) {
  constexpr std::size_t period = 84, length = 100 * period, gap = 300;  // gap: 3 holds of 100 samples
  std::vector<float> sound(length - gap);
  for (std::size_t i = 0; i < sound.size(); ++i) sound[i] = float(0.5 * std::sin(2 * std::numbers::pi * i / period));
  for (const bool inParallel : {false, true}) {
    const std::vector<float> continued = ContinuedSound(sound, 0.5, length, 44100, inParallel);
    ASSERT_EQ(continued.size(), length);
    for (std::size_t i = 0; i < length; ++i)
      ASSERT_NEAR(continued[i], std::sin(2 * std::numbers::pi * i / period), 4e-3) << i << " " << inParallel;
  }
}

// Synthesis plays column c from sample c × round(S / 379); the columns a sound does not reach still show what it
// holds at its end, for every length (every row on one pitch keeps each of the 379 analyses short).
TEST(Analysis, EveryColumnIsLitWhateverTheSoundsLengthModulo379) {
  SynthSettingsRecord onePitch = StartSynthSettings();
  onePitch.FrqFrom = onePitch.FrqTo = 700;
  for (std::size_t count = 379 * 6; count < 379 * 7; ++count) {
    const Raster analysed = Analysed(Tones({HeardPitch(0, 700, 700)}, 2000, count), 2000, {}, onePitch);
    for (int column = 0; column < Size; ++column) ASSERT_GE(Grey(analysed, column, 200), 128) << count << " " << column;
  }
}

// Synthesis multiplies each row by its band level: four equal tones under a sloped curve are drawn so that they
// play back equal; rows the curve silences, or holds below 1/256 of its highest, are black.
TEST(Analysis, BandLevelsInForceAreTakenOutOfTheirRows) {
  std::vector<double> pitches;
  for (int row : {60, 100, 150, 200, 240, 330}) pitches.push_back(HeardPitch(row));
  AnalysisChoices choices;
  for (int row = 0; row < Size; ++row)
    choices.rowLevels.push_back(row == 100 ? 0.0f : std::abs(row - 200) < 6 ? 0.002f : 1 - 0.9f * row / 379);
  const Raster analysed = Analysed(Tones(pitches, 8000, 40001, 0.2), 8000, choices);
  for (int row : {60, 150, 240, 330})
    EXPECT_NEAR(Grey(analysed, 190, row) * choices.rowLevels[row], 255 * choices.rowLevels[330], 1.5) << row;
  EXPECT_EQ(LitRows(analysed, 190, 0), 4);
}

// The rows are measured at the pitch they will be heard at when played at the play rate, folded or not, and the
// columns where synthesis at that rate plays them: 2000 Hz for a 1000 Hz file, 22050 Hz for a 44100 Hz one.
TEST(Analysis, ToneLandsOnTheRowHeardAtItsPitchAtThePlayRate) {
  const Raster low = Analysed(Tones({300}, 1000, 3001), 1000);
  const double heard = Folded(HeardPitch(BrightestRow(low, 190)), 2000);
  EXPECT_NEAR(heard, 300, 0.5 * heard * (std::pow(100.0, 1 / 330.0) - 1)) << BrightestRow(low, 190);
  std::vector<float> burst = Tones({3000}, 44100, 3 * 44100 + 1);
  for (std::size_t i = 0; i < burst.size(); ++i) burst[i] *= i >= 44100 && i < 66150;
  const Raster high = Analysed(burst, 44100);
  const int row = BrightestRow(high, 150), perColumn = static_cast<int>(std::nearbyint(3 * 22050 / 379.0));
  EXPECT_LT(std::abs(HeardPitch(row) / 3000 - 1), 0.5 * (std::pow(100.0, 1 / 330.0) - 1)) << row;
  for (int column = 0; column < Size; ++column)
    EXPECT_EQ(Grey(high, column, row) > 127, column >= 22050 / perColumn && column < 33075 / perColumn) << column;
}

// A tone a third of the way from one row's pitch to the next goes wholly to the nearer row, or is shared between
// the two, the nearer getting more, their levels adding up to the tone's (as bright as an equal tone on row 150).
// However many threads share the bands, the picture is the same.
TEST(Analysis, NearestPlacementPutsAToneOnOneRowAndBetweenSharesIt) {
  const double third = HeardPitch(250) + (HeardPitch(251) - HeardPitch(250)) / 3;
  const std::vector<float> tones = Tones({third, HeardPitch(150)}, 22050, 5 * 22050);
  AnalysisChoices choices;
  choices.threadCount = 1;
  const Raster nearest = Analysed(tones, 22050, choices);
  choices.placement = RowPlacement::Between;
  const Raster between = Analysed(tones, 22050, choices);
  choices.threadCount = 3;
  EXPECT_EQ(Analysed(tones, 22050, choices), between);
  EXPECT_NEAR(Grey(nearest, 190, 250), 255, 2);
  EXPECT_EQ(std::tuple(Grey(nearest, 190, 251), LitRows(nearest, 190, 2)), std::tuple(0, 2));
  EXPECT_GT(Grey(between, 190, 250), Grey(between, 190, 251));
  EXPECT_GT(Grey(between, 190, 251), 25);
  EXPECT_NEAR(Grey(between, 190, 250) + Grey(between, 190, 251), 255, 8);
}

// At 8000 Hz the rows heard above 4000 Hz fold back between the others; a steady tone at any row's pitch still
// comes back in that row alone.
TEST(Analysis, SteadyToneOfOneRowComesBackInThatRowAloneFoldedOrNot) {
  for (int row = 20; row < Size; row += 23) {
    Raster picture(Size, Size);
    for (int x = 0; x < Size; ++x) picture.At(x, row) = White;
    const Raster analysed = Analysed(Synthesized(picture, Settings(8000, 5000)), 8000);
    EXPECT_EQ(std::tuple(Grey(analysed, 190, row), LitRows(analysed, 190, 2)), std::tuple(255, 1)) << row;
  }
  EXPECT_EQ(Analysed(std::vector<float>(5000, 0.0f), 3000), Raster(Size, Size));
}

// The fitted range makes the rows span where a sound's energy is, within the sliders, From at most To.
TEST(Analysis, FittedRangeSpansTheSoundsEnergyWithinTheSliders) {
  std::vector<double> pitches;
  for (double hz = 300; hz <= 2000; hz += 5) pitches.push_back(hz);
  const FrequencyRange fit = FitFrequencyRange(Tones(pitches, 8000, 16000, 0.01), 8000, StartSynthSettings(), 0);
  const double low = HeardPitch(0, fit.from, fit.to), high = HeardPitch(Size - 1, fit.from, fit.to);
  EXPECT_TRUE(low < 300 * 1.03 && low > 300 / 1.2 && high > 2000 / 1.03 && high < 2000 * 1.2) << low << " " << high;
  const std::vector<float> wide = Tones({25, 15000}, 44100, 44100), nearFolding = Tones({25, 3950}, 8000, 8000),
                           lone = Tones({440}, 8000, 8000);
  for (const auto& [sound, rate] : {std::pair{wide, 44100}, {nearFolding, 8000}, {lone, 8000}, {std::vector<float>(800, 0.0f), 8000}}) {
    const FrequencyRange range = FitFrequencyRange(sound, rate, StartSynthSettings(), 0);
    const double top = HeardPitch(Size - 1, range.from, range.to);  // a sound's rows never fold back: none above half the play rate
    EXPECT_TRUE(range.from >= 70 && range.to <= 9000 && range.from < range.to && (sound.size() == 800 || top <= std::min(rate, 22050) / 2.0))
        << range.from << " " << range.to;
  }
  const FrequencyRange around = FitFrequencyRange(lone, 8000, StartSynthSettings(), 0);
  EXPECT_TRUE(HeardPitch(0, around.from, around.to) < 440 && 440 < HeardPitch(Size - 1, around.from, around.to));
}

}  // namespace
