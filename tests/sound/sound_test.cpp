// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesis and its fast loop, sound files, and playback: the stream callback called directly, and sounds played
// through the real audio library into a captured ALSA output (each test has a process of its own).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "sound/fast_render.h"
#include "sound/playback.h"
#include "sound/sound_file.h"
#include "support/alsa_capture.h"
#include "support/sound_models.h"

namespace {

float Rising(std::int32_t row, std::int32_t, std::int32_t) { return 101.7f + 13.3f * static_cast<float>(row); }
SynthesisTables Tables(const Raster& picture, float level) {
  return BuildSynthesisTables(picture, {}, {&Rising, nullptr, [level](int) { return level; }});
}

// The fast loop's samples, the same for any threads and kernel; scaled, they and the reference's lie within 1e-6 of the model's.
std::vector<float> FastChecked(const Raster& picture, std::int32_t rate, float seconds, std::int32_t count) {
  const SynthesisTables tables = Tables(picture, 1.0f);
  const RenderParameters parameters{rate, seconds, count, 6};
  const std::vector<float> fast = RenderSamplesFast(tables, parameters, {1, false});
  for (FastRenderOptions options : {FastRenderOptions{3, false}, {1, true}, {3, true}})
    EXPECT_EQ(RenderSamplesFast(tables, parameters, options), fast) << options.threadCount;
  const std::vector<float> model = sound_models::Scaled(
      sound_models::Sound(picture, [](int row) { return Rising(row, 0, 0); }, [](int) { return 1.0f; }, rate, seconds));
  for (const std::vector<float>& samples : {fast, RenderSamples(tables, parameters)})
    EXPECT_TRUE(std::ranges::equal(sound_models::Scaled(samples), model,
                                   [](float a, float b) { return std::fabs(a - b) <= 1e-6f; }));
  return fast;
}

TEST(Synthesis, CountsLevelsAndScaling) {
  for (auto [rate, duration, count] : {std::tuple{3000, 5.0f, 15000}, {22050, 15.0f, 330750}, {2003, 1.5f, 3004},
                                            {11025, 7.5f, 82688}})
    EXPECT_EQ(ComputeSampleCount(rate, duration), count) << rate << " x " << duration << ", halves to even";
  for (auto [colour, level] : {std::pair{MakeColour(255, 0, 0), 76.69921875f}, {MakeColour(0, 255, 0), 149.4140625f},
                               {MakeColour(0, 0, 255), 28.88671875f}})
    EXPECT_EQ(PixelLevelOf(colour), level) << colour;
  // The largest magnitude becomes 1, wherever it lies; silence stays.
  for (auto [in, out] : {std::pair<std::vector<float>, std::vector<float>>{{-4, 1, 2}, {-1, 0.25f, 0.5f}},
                         {{1, 0.5f, 2}, {0.5f, 0.25f, 1}}, {{0.5f, -0.25f}, {1, -0.5f}}, {{0, 0}, {0, 0}}})
    EXPECT_EQ((NormalizeSamples(in), in), out);
}

TEST(Synthesis, LitPixelSoundsOnlyInItsColumnOfRoundedLength) {
  const std::tuple<std::int32_t, float, std::int32_t, int, long, long> cases[] = {  // rate, duration, S, column, its samples
      {3000, 5.0f, 15000, 10, 400, 439}, {3000, 5.0f, 15000, 376, -1, -1}, {2000, 1.0f, 2000, 1, 5, 9},
      {2000, 1.0f, 2000, 379, 1895, 2000}, {22050, 15.0f, 330750, 1, 873, 1745}, {22050, 15.0f, 330750, 378, 329994, 330750},
      {22050, 15.0f, 330750, 379, -1, -1}};
  for (auto [rate, duration, count, column, first, last] : cases) {
    SCOPED_TRACE(testing::Message() << rate << " Hz, " << duration << " s, column " << column);
    Raster picture(380, 1);
    picture.At(column, 0) = White;
    const std::vector<float> samples = FastChecked(picture, rate, duration, count);
    for (long i = 0; i < static_cast<long>(samples.size()); ++i) ASSERT_EQ(samples[i] != 0.0f, i >= first && i <= last) << i;
  }
}

// Rows summed in order and every row's level halved: each sum exactly half, so the same sound once scaled.
TEST(Synthesis, FastLoopMatchesOnWholePicturesAndHalfLevelsHalveEverySample) {
  Raster picture(380, 380);  // a scramble of every colour
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = (i * 2654435761u >> 4) & ColourMask;
  std::vector<float> half = RenderSamplesFast(Tables(picture, 0.5f), {3000, 5.0f, 15000, 6});
  for (float& sample : half) sample *= 2;
  EXPECT_EQ(half, FastChecked(picture, 3000, 5.0f, 15000));
}

TEST(SoundFile, RefusesARateBelowOne) {  // what each format holds is read back from what vellora-render writes
  std::string error;
  EXPECT_FALSE(EncodeSoundFile(std::vector<float>(9), 0, SoundFileFormat::FloatWav, error) || error.empty());
}

TEST(PlaybackCallback, StaysInsideTheSamplesAndAsksForMoreWhileMoreThanABufferAndOneRemain) {
  for (auto [samples, frames] : {std::pair{15001ul, 39ul}, {3800ul, 9ul}, {2001ul, 5ul}, {0ul, 0ul}})
    EXPECT_EQ(FramesPerBuffer(samples), frames) << samples;
  constexpr long Count = 1001;
  std::vector<float> samples(Count + 4096, 99.0f);  // a guard: read past the end, it would be heard
  for (long i = 0; i < Count; ++i) samples[i] = 0.001f * static_cast<float>(i + 1);
  for (long frames : {1, 7, 999, 1000, 1001, 1002, 4000}) {
    PlaybackRecord record{samples.data(), Count};
    std::vector<float> out(frames);
    for (long played = 0, completions = 0; completions < 3; played += frames) {  // a host may ask again
      const int result = StreamCallback(nullptr, out.data(), frames, nullptr, 0, &record);
      const bool last = Count - played - frames <= frames + 1;
      ASSERT_EQ(result, last || completions ? paComplete : paContinue) << frames << " frames from " << played;
      completions += last || completions;
      for (long k = 0; k < frames; ++k) ASSERT_EQ(out[k], played + k < Count ? samples[played + k] : 0.0f) << k;
    }
    StreamFinished(&record);
    std::fill(out.begin(), out.end(), 99.0f);
    EXPECT_EQ(StreamCallback(nullptr, out.data(), frames, nullptr, 0, &record), paComplete);
    EXPECT_EQ(out, std::vector<float>(frames, 0.0f)) << "after the finish";
  }
}

TEST(PlaybackThroughAlsa, HearsTheWholeBuffersOfTheSoundOneCursorStepEach) {
  AlsaCapture capture;
  ASSERT_TRUE(capture.Ready());
  for (auto [rate, count, buffers, heard] : {std::tuple{3000, 15001u, 384, 14976}, {2000, 2001u, 399, 1995},
                                             {3800, 3801u, 379, 3790}}) {
    std::vector<float> sound(count, 0.0f);
    for (std::size_t i = 50; i < sound.size(); ++i) sound[i] = 0.5f + 0.4f * std::sin(0.01f * static_cast<float>(i));
    int steps = 0;
    capture.Clear();
    const PlaybackOutcome outcome = PlaySamples(sound, rate, {[&](std::int32_t x) { EXPECT_EQ(x, steps++); }, {}});
    ASSERT_EQ(outcome.error, paNoError) << outcome.errorText;
    EXPECT_EQ(std::tuple(outcome.buffersDelivered, steps, PlayedSampleCount(sound.size())),
              std::tuple(buffers, buffers, static_cast<std::size_t>(heard))) << rate << " Hz";
    const std::vector<float> played = capture.TakeHeard(rate, FramesPerBuffer(sound.size()));
    ASSERT_GE(played.size(), static_cast<std::size_t>(heard));
    EXPECT_TRUE(std::equal(played.begin(), played.begin() + heard, sound.begin())) << rate << " Hz";
    EXPECT_TRUE(std::all_of(played.begin() + heard, played.end(), [](float s) { return s == 0.0f; })) << rate;
  }
}

TEST(PlaybackThroughAlsa, TooShortOrWithoutADevice) {
  EXPECT_TRUE(PlaySamples(std::vector<float>(380, 0.5f), 3000, {}).tooShort);
  if (std::filesystem::exists("/dev/snd")) GTEST_SKIP() << "a real sound card would be used";
  const std::string folder = RouteAlsaToNowhere();
  ASSERT_FALSE(folder.empty());
  const PlaybackOutcome outcome = PlaySamples(std::vector<float>(15001, 0.5f), 3000, {});
  std::filesystem::remove_all(folder);
  EXPECT_NE(outcome.error, paNoError);
  EXPECT_EQ(outcome.errorText, Pa_GetErrorText(outcome.error));
  EXPECT_EQ(outcome.buffersDelivered, 0);
}

}  // namespace
