// The synthesis tables and the sample loop: brightness, column timing, heard pitch, levels and normalisation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/settings.h"
#include "sound/synthesis_core.h"

namespace {

float RisingFrequency(std::int32_t row, std::int32_t, std::int32_t) { return 101.7f + 13.3f * static_cast<float>(row); }
float HalfLevel(int) { return 0.5f; }
float FullLevel(int) { return 1.0f; }

std::vector<float> recordedPositions;
float RecordingDistribution(float x, float, float, float, float, std::int32_t, std::int32_t) {
  recordedPositions.push_back(x);
  return 440.0f;
}

RenderParameters Parameters(std::int32_t rate, float duration) {
  return {rate, duration, ComputeSampleCount(rate, duration), 6};
}

// A one-row picture of the given width that is lit in a single column.
SynthesisTables OneLitColumn(int width, int column, float frequency) {
  SynthesisTables tables;
  tables.width = width;
  tables.height = 1;
  tables.rowFrequency = {frequency};
  tables.rowLevel = {1.0f};
  tables.pixelLevel.assign(width, 0.0f);
  tables.pixelLevel[column] = 255.0f;
  return tables;
}

struct NonZeroSpan {
  long first = -1;
  long last = -1;
  long zerosInside = 0;
};

NonZeroSpan FindNonZero(const std::vector<float>& samples) {
  NonZeroSpan span;
  for (long i = 0; i < static_cast<long>(samples.size()); ++i) {
    if (samples[i] == 0.0f) continue;
    if (span.first < 0) span.first = i;
    span.last = i;
  }
  for (long i = span.first; span.first >= 0 && i <= span.last; ++i)
    if (samples[i] == 0.0f) ++span.zerosInside;
  return span;
}

float PeakMagnitude(const std::vector<float>& samples) {
  float peak = 0.0f;
  for (float s : samples) peak = std::fmax(peak, std::fabs(s));
  return peak;
}

// Frequency from the first and last upward zero crossing, each placed between its two samples.
double MeasureFrequency(const std::vector<float>& samples, double sampleRate) {
  double first = -1.0, last = -1.0;
  int cycles = -1;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    if (samples[i - 1] < 0.0f && samples[i] >= 0.0f) {
      const double at = static_cast<double>(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]);
      if (first < 0.0) first = at;
      last = at;
      ++cycles;
    }
  }
  return cycles > 0 ? cycles * sampleRate / (last - first) : 0.0;
}

Raster PatternedPicture() {
  Raster picture(380, 380);
  std::uint32_t state = 12345;
  for (Colour& pixel : picture.pixels) {
    state = state * 1103515245u + 12345u;
    pixel = (state >> 8) & ColourMask;
  }
  return picture;
}

TEST(PixelLevel, PrimaryColoursBlackAndWhite) {
  struct Case {
    Colour colour;
    float level;
  };
  const Case cases[] = {
      {MakeColour(255, 0, 0), 76.69921875f}, {MakeColour(0, 255, 0), 149.4140625f},
      {MakeColour(0, 0, 255), 28.88671875f}, {Black, 0.0f},
      {White, 255.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.colour);
    Raster picture(1, 1, c.colour);
    const SynthesisTables tables = BuildSynthesisTables(picture, SynthSettingsRecord{}, {});
    ASSERT_EQ(tables.pixelLevel.size(), 1u);
    EXPECT_EQ(tables.pixelLevel[0], c.level);
    EXPECT_EQ(PixelLevelOf(c.colour), c.level);
  }
}

TEST(BuildSynthesisTables, DefaultMappingAndBandLevelPerRow) {
  Raster picture(380, 380);
  const SynthesisTables tables = BuildSynthesisTables(picture, SynthSettingsRecord{},
                                                      {&RisingFrequency, &RecordingDistribution, &HalfLevel});
  ASSERT_EQ(tables.rowFrequency.size(), 380u);
  ASSERT_EQ(tables.pixelLevel.size(), 380u * 380u);
  EXPECT_EQ(tables.rowFrequency[0], RisingFrequency(0, 0, 0));
  EXPECT_EQ(tables.rowFrequency[379], RisingFrequency(379, 0, 0));
  for (float level : tables.rowLevel) EXPECT_EQ(level, 0.5f);
}

TEST(BuildSynthesisTables, ShapedMappingIsSpreadOverTheCanvasSizeNotThePictureHeight) {
  SynthSettingsRecord settings;
  settings.FrqDistribution = 1;
  recordedPositions.clear();
  Raster picture(4, 100);
  const SynthesisTables tables = BuildSynthesisTables(picture, settings, {&RisingFrequency, &RecordingDistribution, &FullLevel});
  ASSERT_EQ(recordedPositions.size(), 100u);
  EXPECT_EQ(recordedPositions[0], 0.0f);
  EXPECT_EQ(recordedPositions[95], 0.25f);
  EXPECT_LT(recordedPositions[99], 0.27f);
  EXPECT_EQ(tables.rowFrequency[50], 440.0f);
}

TEST(RenderSamples, AllBlackCanvasIsSilence) {
  const SynthesisTables tables =
      BuildSynthesisTables(Raster(380, 380), SynthSettingsRecord{}, {&RisingFrequency, nullptr, &HalfLevel});
  std::vector<float> samples = RenderSamples(tables, Parameters(3000, 5.0f));
  ASSERT_EQ(samples.size(), 15001u);
  NormalizeSamples(samples);
  for (float s : samples) ASSERT_EQ(s, 0.0f);
}

TEST(RenderSamples, SingleWhitePixelSoundsOnlyInItsColumn) {
  struct Case {
    int x, y;
    long first, last;  // -1 when the column is never heard
  };
  const Case cases[] = {{10, 0, 400, 439}, {200, 379, 8000, 8039}, {374, 17, 14960, 14999},
                        {375, 100, 15000, 15000}, {376, 5, -1, -1}, {379, 379, -1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "pixel " << c.x << "," << c.y);
    Raster picture(380, 380);
    picture.At(c.x, c.y) = White;
    const SynthesisTables tables =
        BuildSynthesisTables(picture, SynthSettingsRecord{}, {&RisingFrequency, nullptr, &HalfLevel});
    std::vector<float> samples = RenderSamples(tables, Parameters(3000, 5.0f));
    NormalizeSamples(samples);
    const NonZeroSpan span = FindNonZero(samples);
    EXPECT_EQ(span.first, c.first);
    EXPECT_EQ(span.last, c.last);
    EXPECT_EQ(span.zerosInside, 0);
    EXPECT_EQ(PeakMagnitude(samples), c.first < 0 ? 0.0f : 1.0f);
  }
}

TEST(RenderSamples, ColumnTiming) {
  struct Case {
    std::int32_t rate;
    float duration;
    int column;
    long first, last;
  };
  const Case cases[] = {
      {2000, 1.0f, 1, 5, 9},           {2000, 1.0f, 378, 1890, 1894},  {2000, 1.0f, 379, 1895, 2000},
      {22050, 15.0f, 1, 873, 1745},    {22050, 15.0f, 378, 329994, 330750},
      {22050, 15.0f, 379, -1, -1},     {3000, 5.0f, 1, 40, 79},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rate << " Hz, " << c.duration << " s, column " << c.column);
    const std::vector<float> samples = RenderSamples(OneLitColumn(380, c.column, 123.4f), Parameters(c.rate, c.duration));
    ASSERT_EQ(samples.size(), static_cast<std::size_t>(ComputeSampleCount(c.rate, c.duration)) + 1);
    const NonZeroSpan span = FindNonZero(samples);
    EXPECT_EQ(span.first, c.first);
    EXPECT_EQ(span.last, c.last);
    EXPECT_EQ(span.zerosInside, 0);
  }
}

TEST(ComputeSamplesPerColumn, DividesByOneLessThanTheWidth) {
  EXPECT_EQ(ComputeSamplesPerColumn(3000, 5.0f, 380), 40);
  EXPECT_EQ(ComputeSamplesPerColumn(2000, 1.0f, 380), 5);
  EXPECT_EQ(ComputeSamplesPerColumn(22050, 15.0f, 380), 873);
  EXPECT_EQ(ComputeSamplesPerColumn(100, 1.0f, 1), 1);
}

TEST(RenderSamples, ThousandHertzRowIsHeardLower) {
  SynthesisTables tables = OneLitColumn(2, 0, 1000.0f);
  tables.pixelLevel = {255.0f, 255.0f};
  const std::vector<float> samples = RenderSamples(tables, Parameters(22050, 1.0f));
  const double heard = MeasureFrequency(samples, 22050.0);
  EXPECT_NEAR(heard, 954.93, 0.02);
}

TEST(RenderSamples, HalfLevelEverywhereNormalisesLikeFullLevel) {
  const Raster picture = PatternedPicture();
  const SynthesisTables half = BuildSynthesisTables(picture, SynthSettingsRecord{}, {&RisingFrequency, nullptr, &HalfLevel});
  const SynthesisTables full = BuildSynthesisTables(picture, SynthSettingsRecord{}, {&RisingFrequency, nullptr, &FullLevel});
  std::vector<float> halfSound = RenderSamples(half, Parameters(3000, 5.0f));
  std::vector<float> fullSound = RenderSamples(full, Parameters(3000, 5.0f));
  EXPECT_NE(halfSound, fullSound);
  NormalizeSamples(halfSound);
  NormalizeSamples(fullSound);
  EXPECT_EQ(halfSound, fullSound);
  EXPECT_EQ(PeakMagnitude(fullSound), 1.0f);
}

TEST(RenderSamples, MismatchedTablesGiveSilenceOfTheRightLength) {
  SynthesisTables tables = OneLitColumn(380, 10, 500.0f);
  tables.pixelLevel.resize(100);
  const std::vector<float> samples = RenderSamples(tables, Parameters(2000, 1.0f));
  ASSERT_EQ(samples.size(), 2001u);
  EXPECT_EQ(PeakMagnitude(samples), 0.0f);
}

TEST(NormalizeSamples, LargestMagnitudeBecomesOne) {
  std::vector<float> samples = {0.5f, -2.0f, 1.0f, 0.0f};
  NormalizeSamples(samples);
  EXPECT_EQ(samples, (std::vector<float>{0.25f, -1.0f, 0.5f, 0.0f}));
  std::vector<float> silence(5, 0.0f);
  NormalizeSamples(silence);
  EXPECT_EQ(silence, std::vector<float>(5, 0.0f));
}

}  // namespace
