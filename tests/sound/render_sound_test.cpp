// RenderSound and NormalizeSound on the program's globals.
#include <gtest/gtest.h>

#include <cmath>

#include "app/settings.h"
#include "sound/sound_state.h"
#include "sound/synthesis.h"
#include "sound/synthesis_core.h"

namespace {

float SteppedFrequency(std::int32_t row, std::int32_t, std::int32_t) { return 200.0f + 9.1f * static_cast<float>(row); }
float HalfLevel(int) { return 0.5f; }

void UseTables(const SynthesisTables& tables) {
  RowFrequency = tables.rowFrequency;
  RowLevel = tables.rowLevel;
  PixelLevel = tables.pixelLevel;
  SynthesisWidth = tables.width;
  SynthesisHeight = tables.height;
}

void UseSettings(std::int32_t rate, float duration) {
  ResetGlobals();
  SynthSettings.SampleRate = rate;
  SynthSettings.Duration = duration;
  SynthSettings.SampleCount = ComputeSampleCount(rate, duration);
}

TEST(SoundState, StartsWithOneSilentSample) {
  EXPECT_EQ(SoundBuffer, std::vector<float>(1, 0.0f));
  EXPECT_EQ(RowFrequency.size(), 1u);
  EXPECT_EQ(PixelLevel.size(), 1u);
}

TEST(RenderSound, FillsTheBufferFromTheTablesAndNormalises) {
  UseSettings(2000, 1.0f);
  Raster picture(380, 380);
  for (int y = 0; y < 380; y += 7) picture.At((y * 3) % 380, y) = MakeColour(200, 100, 50);
  const SynthesisTables tables = BuildSynthesisTables(picture, SynthSettings, {&SteppedFrequency, nullptr, &HalfLevel});
  UseTables(tables);
  RenderSound();
  ASSERT_EQ(SoundBuffer.size(), 2001u);
  EXPECT_EQ(SamplesPerColumn, 5);
  EXPECT_EQ(SoundBufferRate, 2000);
  std::vector<float> expected = RenderSamples(tables, {2000, 1.0f, 2000, 6});
  NormalizeSamples(expected);
  // The buffer comes from the fast loop, which keeps within 1e-6 of the reference once normalised.
  ASSERT_EQ(SoundBuffer.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) ASSERT_NEAR(SoundBuffer[i], expected[i], 1e-6) << i;
  float peak = 0.0f;
  for (float s : SoundBuffer) peak = std::fmax(peak, std::fabs(s));
  EXPECT_EQ(peak, 1.0f);
}

TEST(RenderSound, ShorterSettingsShrinkTheBuffer) {
  UseSettings(3000, 5.0f);
  UseTables(BuildSynthesisTables(Raster(380, 380, White), SynthSettings, {&SteppedFrequency, nullptr, &HalfLevel}));
  RenderSound();
  ASSERT_EQ(SoundBuffer.size(), 15001u);
  UseSettings(2000, 1.0f);
  RenderSound();
  EXPECT_EQ(SoundBuffer.size(), 2001u);
  EXPECT_EQ(SamplesPerColumn, 5);
}

TEST(RenderSound, EmptyTablesGiveSilenceOfTheSettingsLength) {
  UseSettings(3000, 5.0f);
  UseTables(BuildSynthesisTables(Raster(), SynthSettings, {}));
  RenderSound();
  ASSERT_EQ(SoundBuffer.size(), 15001u);
  for (float s : SoundBuffer) ASSERT_EQ(s, 0.0f);
}

TEST(NormalizeSound, ScalesTheBufferInPlace) {
  SoundBuffer = {0.0f, 0.25f, -0.5f};
  NormalizeSound();
  EXPECT_EQ(SoundBuffer, (std::vector<float>{0.0f, 0.5f, -1.0f}));
}

}  // namespace
