// The fast sample loop against the reference loop: random pictures and settings, the slider extremes,
// the column timing edge cases, exact silence, and sameness whatever the threads and vector width.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/frequency_mapping.h"
#include "sound/fast_render.h"
#include "sound/oscillator_kernel.h"
#include "sound/synthesis_core.h"

namespace {

constexpr double Tolerance = 1e-6;

struct Settings {
  std::int32_t rate;
  int milliseconds;
  std::int32_t from, to;
  int distribution;  // 0 or 1
  int a, b, c, d;    // distribution slider positions
};

SynthSettingsRecord Record(const Settings& s) {
  SynthSettingsRecord record;
  record.SampleRate = s.rate;
  record.Duration = DurationFromMilliseconds(s.milliseconds);
  record.SampleCount = ComputeSampleCount(record.SampleRate, record.Duration);
  record.FrqFrom = s.from;
  record.FrqTo = s.to;
  record.FrqDistribution = s.distribution;
  record.DistA = FractionFromPosition(s.a);
  record.DistB = FractionFromPosition(s.b);
  record.DistC = FractionFromPosition(s.c);
  record.DistD = FractionFromPosition(s.d);
  return record;
}

RenderParameters ParametersOf(const SynthSettingsRecord& record) {
  return {record.SampleRate, record.Duration, record.SampleCount, record.PhaseFactor};
}

float HalfLevel(int) { return 0.5f; }

// Random colours; about one pixel in `blackOneIn` is left black (0 means none).
Raster RandomPicture(std::mt19937& random, int blackOneIn) {
  Raster picture(CanvasSize, CanvasSize);
  std::uniform_int_distribution<int> channel(0, 255);
  std::uniform_int_distribution<int> dark(0, std::max(blackOneIn - 1, 0));
  for (Colour& pixel : picture.pixels)
    if (blackOneIn == 0 || dark(random) != 0) pixel = MakeColour(channel(random), channel(random), channel(random));
  return picture;
}

// The tables of the full canvas with the program's mappings, with row levels drawn at random, some 0.
SynthesisTables FullTables(const Raster& picture, const SynthSettingsRecord& record, std::mt19937& random) {
  SynthesisTables tables = BuildSynthesisTables(picture, record, {&DefaultFrequency, &DistributionFrequency, &HalfLevel});
  std::uniform_real_distribution<float> level(0.0f, 1.0f);
  for (float& rowLevel : tables.rowLevel) rowLevel = level(random) < 0.15f ? 0.0f : level(random);
  return tables;
}

// Keeps the given rows (their frequencies, levels and pixels) so the reference loop stays quick;
// the width and with it the column timing and the full length of the sound stay as they are.
SynthesisTables KeepRows(const SynthesisTables& full, const std::vector<int>& rows) {
  SynthesisTables kept;
  kept.width = full.width;
  kept.height = static_cast<int>(rows.size());
  for (int j : rows) {
    kept.rowFrequency.push_back(full.rowFrequency[j]);
    kept.rowLevel.push_back(full.rowLevel[j]);
    const auto first = full.pixelLevel.begin() + static_cast<std::ptrdiff_t>(j) * full.width;
    kept.pixelLevel.insert(kept.pixelLevel.end(), first, first + full.width);
  }
  return kept;
}

std::vector<int> RandomRows(std::mt19937& random, int count) {
  std::vector<int> rows(CanvasSize);
  for (int j = 0; j < CanvasSize; ++j) rows[j] = j;
  std::shuffle(rows.begin(), rows.end(), random);
  rows.resize(count);
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Largest difference between the two loops' normalised sounds; fails at once on different lengths.
double MaxNormalisedDifference(const SynthesisTables& tables, const RenderParameters& parameters) {
  std::vector<float> reference = RenderSamples(tables, parameters);
  std::vector<float> fast = RenderSamplesFast(tables, parameters);
  EXPECT_EQ(fast.size(), static_cast<std::size_t>(parameters.sampleCount) + 1);
  if (fast.size() != reference.size()) return INFINITY;
  NormalizeSamples(reference);
  NormalizeSamples(fast);
  double worst = 0.0;
  for (std::size_t i = 0; i < fast.size(); ++i)
    worst = std::max(worst, std::fabs(static_cast<double>(fast[i]) - static_cast<double>(reference[i])));
  return worst;
}

TEST(RenderSamplesFast, MatchesTheReferenceAtTheSliderExtremes) {
  const Settings cases[] = {
      {2000, 1000, 70, 9000, 0, 50, 5, 75, 75},     {2000, 15000, 70, 9000, 1, 1, 1, 99, 99},
      {22050, 1000, 1500, 1500, 0, 50, 5, 75, 75},  {22050, 15000, 70, 70, 1, 99, 99, 1, 1},
      {2000, 15000, 1500, 9000, 1, 50, 5, 75, 75},  {22050, 15000, 70, 9000, 0, 50, 5, 75, 75},
      {3000, 5000, 90, 9000, 0, 50, 5, 75, 75},     {22050, 1001, 9000, 9000, 1, 1, 99, 99, 1},
      {2001, 14999, 70, 71, 1, 99, 1, 1, 99},       {4410, 7777, 440, 880, 0, 50, 5, 75, 75},
  };
  std::mt19937 random(7);
  for (const Settings& s : cases) {
    SCOPED_TRACE(testing::Message() << s.rate << " Hz, " << s.milliseconds << " ms, " << s.from << ".." << s.to
                                    << (s.distribution ? " shaped" : " default"));
    const SynthSettingsRecord record = Record(s);
    const SynthesisTables full = FullTables(RandomPicture(random, 4), record, random);
    // The lowest and highest rows are always among those kept: the extreme frequencies.
    std::vector<int> rows = RandomRows(random, 10);
    rows.insert(rows.begin(), 0);
    rows.push_back(CanvasSize - 1);
    EXPECT_LE(MaxNormalisedDifference(KeepRows(full, rows), ParametersOf(record)), Tolerance);
  }
}

TEST(RenderSamplesFast, MatchesTheReferenceOnRandomPicturesAndSettings) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> rate(2000, 22050), milliseconds(1000, 15000), from(70, 1500);
  std::uniform_int_distribution<int> fraction(1, 99), flag(0, 1), blackOneIn(0, 3), rowCount(1, 14);
  for (int round = 0; round < 12; ++round) {
    Settings s{rate(random), milliseconds(random), from(random), 0, flag(random),
               fraction(random), fraction(random), fraction(random), fraction(random)};
    s.to = std::uniform_int_distribution<int>(s.from, 9000)(random);
    SCOPED_TRACE(testing::Message() << "round " << round << ": " << s.rate << " Hz, " << s.milliseconds << " ms");
    const SynthSettingsRecord record = Record(s);
    const SynthesisTables full = FullTables(RandomPicture(random, blackOneIn(random)), record, random);
    EXPECT_LE(MaxNormalisedDifference(KeepRows(full, RandomRows(random, rowCount(random))), ParametersOf(record)),
              Tolerance);
  }
}

TEST(RenderSamplesFast, MatchesTheReferenceOnAFullPictureAtTheLongestSetting) {
  std::mt19937 random(99);
  const SynthSettingsRecord record = Record({22050, 15000, 70, 9000, 1, 50, 5, 75, 75});
  const SynthesisTables tables = FullTables(RandomPicture(random, 0), record, random);
  EXPECT_LE(MaxNormalisedDifference(tables, ParametersOf(record)), Tolerance);
}

TEST(RenderSamplesFast, AllBlackPictureIsExactSilence) {
  for (const Settings& s : {Settings{3000, 5000, 90, 9000, 0, 50, 5, 75, 75}, Settings{22050, 15000, 70, 9000, 1, 50, 5, 75, 75}}) {
    const SynthSettingsRecord record = Record(s);
    const SynthesisTables tables =
        BuildSynthesisTables(Raster(CanvasSize, CanvasSize), record, {&DefaultFrequency, &DistributionFrequency, &HalfLevel});
    std::vector<float> samples = RenderSamplesFast(tables, ParametersOf(record));
    ASSERT_EQ(samples.size(), static_cast<std::size_t>(record.SampleCount) + 1);
    NormalizeSamples(samples);
    for (float sample : samples) ASSERT_EQ(sample, 0.0f);
  }
}

// One lit pixel: exactly zero outside its column's samples, the reference's sine (to the tolerance) inside.
TEST(RenderSamplesFast, SingleLitPixelIsExactlyZeroOutsideItsColumn) {
  struct Case {
    std::int32_t rate;
    int milliseconds;
    int x, y;
    long first, last;  // the samples the column sounds for; -1 when it is never heard
  };
  const Case cases[] = {
      {3000, 5000, 10, 0, 400, 439},          {3000, 5000, 375, 100, 15000, 15000},
      {3000, 5000, 376, 5, -1, -1},           {2000, 1000, 379, 200, 1895, 2000},
      {2000, 1000, 0, 379, 0, 4},             {22050, 15000, 378, 379, 329994, 330750},
      {22050, 15000, 379, 50, -1, -1},        {22050, 15000, 1, 190, 873, 1745},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.milliseconds << " ms, pixel " << c.x << "," << c.y);
    const SynthSettingsRecord record = Record({c.rate, c.milliseconds, 90, 9000, 0, 50, 5, 75, 75});
    Raster picture(CanvasSize, CanvasSize);
    picture.At(c.x, c.y) = White;
    const SynthesisTables tables =
        BuildSynthesisTables(picture, record, {&DefaultFrequency, &DistributionFrequency, &HalfLevel});
    std::vector<float> samples = RenderSamplesFast(tables, ParametersOf(record));
    // The other rows add exact zeros in the reference loop too, so the lit row alone stands for it.
    std::vector<float> reference = RenderSamples(KeepRows(tables, {c.y}), ParametersOf(record));
    ASSERT_EQ(samples.size(), reference.size());
    NormalizeSamples(samples);
    NormalizeSamples(reference);
    float peak = 0.0f;
    for (long i = 0; i < static_cast<long>(samples.size()); ++i) {
      const bool inColumn = i >= c.first && i <= c.last;
      if (!inColumn) {
        ASSERT_EQ(samples[i], 0.0f) << i;
      } else if (i > 0) {
        ASSERT_NE(samples[i], 0.0f) << i;  // sample 0 is sin 0 in both loops: exactly zero
      }
      ASSERT_NEAR(samples[i], reference[i], Tolerance) << i;
      peak = std::max(peak, std::fabs(samples[i]));
    }
    EXPECT_EQ(peak, c.first < 0 ? 0.0f : 1.0f);
  }
}

TEST(RenderSamplesFast, NarrowPicturesAndOddTables) {
  std::mt19937 random(3);
  const SynthSettingsRecord record = Record({2000, 1000, 70, 9000, 0, 50, 5, 75, 75});
  for (int width : {1, 2, 3, 17}) {
    SCOPED_TRACE(testing::Message() << "width " << width);
    Raster picture = RandomPicture(random, 2);
    Raster narrow(width, 6);
    for (int y = 0; y < narrow.height; ++y)
      for (int x = 0; x < width; ++x) narrow.At(x, y) = picture.At(x, y * 60);
    SynthesisTables tables = BuildSynthesisTables(narrow, record, {&DefaultFrequency, &DistributionFrequency, &HalfLevel});
    EXPECT_LE(MaxNormalisedDifference(tables, ParametersOf(record)), Tolerance);
  }
}

TEST(RenderSamplesFast, KeepsTheReferenceContractOnUnusableInput) {
  SynthesisTables mismatched = BuildSynthesisTables(Raster(4, 4, White), SynthSettingsRecord{}, {&DefaultFrequency, nullptr, &HalfLevel});
  mismatched.pixelLevel.resize(3);
  EXPECT_EQ(RenderSamplesFast(mismatched, {2000, 1.0f, 2000, 6}), std::vector<float>(2001, 0.0f));
  const SynthesisTables fine = BuildSynthesisTables(Raster(4, 4, White), SynthSettingsRecord{}, {&DefaultFrequency, nullptr, &HalfLevel});
  EXPECT_EQ(RenderSamplesFast(fine, {0, 1.0f, 10, 6}), std::vector<float>(11, 0.0f));
  EXPECT_TRUE(RenderSamplesFast(fine, {2000, 1.0f, -1, 6}).empty());
  EXPECT_EQ(RenderSamplesFast(fine, {2000, 1.0f, 0, 6}), std::vector<float>(1, 0.0f));
}

TEST(RenderSamplesFast, SameSamplesWhateverTheThreadsAndVectorWidth) {
  std::mt19937 random(11);
  const SynthSettingsRecord record = Record({22050, 15000, 70, 9000, 1, 50, 5, 75, 75});
  const SynthesisTables tables = KeepRows(FullTables(RandomPicture(random, 3), record, random), RandomRows(random, 40));
  const std::vector<float> oneThread = RenderSamplesFast(tables, ParametersOf(record), {1, true});
  for (int threads : {2, 3, 8}) EXPECT_EQ(RenderSamplesFast(tables, ParametersOf(record), {threads, true}), oneThread) << threads;
  EXPECT_EQ(RenderSamplesFast(tables, ParametersOf(record), {0, true}), oneThread);
  if (!WideOscillatorAvailable()) GTEST_SKIP() << "no wide vectors on this processor";
  EXPECT_EQ(RenderSamplesFast(tables, ParametersOf(record), {2, false}), oneThread);
}

TEST(RenderSamplesFast, HalfLevelEverywhereNormalisesLikeFullLevel) {
  std::mt19937 random(5);
  const SynthSettingsRecord record = Record({3000, 5000, 90, 9000, 0, 50, 5, 75, 75});
  const Raster picture = RandomPicture(random, 2);
  SynthesisTables half = BuildSynthesisTables(picture, record, {&DefaultFrequency, nullptr, &HalfLevel});
  SynthesisTables full = half;
  std::fill(full.rowLevel.begin(), full.rowLevel.end(), 1.0f);
  std::vector<float> halfSound = RenderSamplesFast(half, ParametersOf(record));
  std::vector<float> fullSound = RenderSamplesFast(full, ParametersOf(record));
  EXPECT_NE(halfSound, fullSound);
  NormalizeSamples(halfSound);
  NormalizeSamples(fullSound);
  EXPECT_EQ(halfSound, fullSound);
}

}  // namespace
