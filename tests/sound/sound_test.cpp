// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesis and its fast loop, sound files, and playback: the stream callback called directly, and sounds played
// through the real audio library into a captured ALSA output (each test has a process of its own).
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

#include "sound/fast_render.h"
#include "sound/playback.h"
#include "sound/sound_file.h"
#include "support/alsa_capture.h"
#include "support/sound_file_reader.h"

namespace {

float Rising(std::int32_t row, std::int32_t, std::int32_t) { return 101.7f + 13.3f * static_cast<float>(row); }
SynthesisTables Tables(const Raster& picture, float level = 1.0f, decltype(&Rising) frequency = &Rising) {
  return BuildSynthesisTables(picture, {}, {frequency, nullptr, [level](int) { return level; }});
}

RenderParameters Parameters(std::int32_t rate, float d) { return {rate, d, ComputeSampleCount(rate, d), 6}; }
std::vector<float> Normalised(std::vector<float> samples) { return NormalizeSamples(samples), samples; }

// The fast loop's samples, the same for every thread count and kernel and within 1e-6 of the reference's.
std::vector<float> FastChecked(const SynthesisTables& tables, const RenderParameters& parameters) {
  const std::vector<float> fast = RenderSamplesFast(tables, parameters, {1, false});
  for (FastRenderOptions options : {FastRenderOptions{3, false}, {1, true}, {3, true}})
    EXPECT_EQ(RenderSamplesFast(tables, parameters, options), fast) << options.threadCount;
  const std::vector<float> reference = Normalised(RenderSamples(tables, parameters)), scaled = Normalised(fast);
  EXPECT_TRUE(std::equal(scaled.begin(), scaled.end(), reference.begin(), reference.end(),
                         [](float a, float b) { return std::fabs(a - b) <= 1e-6f; }));
  return fast;
}

TEST(Synthesis, CountsLevelsAndPitch) {
  for (auto [rate, duration, count] : {std::tuple{3000, 5.0f, 15000}, {22050, 15.0f, 330750}, {2003, 1.5f, 3004}})
    EXPECT_EQ(ComputeSampleCount(rate, duration), count) << rate << " x " << duration << ", halves to even";
  for (auto [colour, level] : {std::pair{MakeColour(255, 0, 0), 76.69921875f}, {MakeColour(0, 255, 0), 149.4140625f},
                               {MakeColour(0, 0, 255), 28.88671875f}})
    EXPECT_EQ(PixelLevelOf(colour), level) << colour;
  // All black: silence of the settings' length, which normalising leaves alone.
  EXPECT_EQ(SynthesizeSound(Raster(380, 380), StartSynthSettings(), {&Rising, nullptr, [](int) { return 0.5f; }}),
            std::vector<float>(15001, 0.0f));
  // A 1000 Hz row is heard at 954.93 Hz: the oscillator's phase factor 6 stands in for 2 pi.
  const auto thousand = [](std::int32_t, std::int32_t, std::int32_t) { return 1000.0f; };
  const auto samples = RenderSamples(Tables(Raster(2, 1, White), 1.0f, thousand), Parameters(22050, 1.0f));
  std::vector<double> crossings;  // upward through zero, placed between their samples
  for (std::size_t i = 1; i < samples.size(); ++i)
    if (samples[i - 1] < 0 && samples[i] >= 0)
      crossings.push_back(static_cast<double>(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]));
  EXPECT_NEAR((crossings.size() - 1) * 22050.0 / (crossings.back() - crossings.front()), 954.93, 0.02);
}

TEST(Synthesis, LitPixelSoundsOnlyInItsColumnOfRoundedLength) {
  const std::tuple<std::int32_t, float, int, long, long> cases[] = {  // rate, duration, column, its samples
      {3000, 5.0f, 10, 400, 439}, {3000, 5.0f, 376, -1, -1}, {2000, 1.0f, 1, 5, 9}, {2000, 1.0f, 379, 1895, 2000},
      {22050, 15.0f, 1, 873, 1745}, {22050, 15.0f, 378, 329994, 330750}, {22050, 15.0f, 379, -1, -1}};
  for (auto [rate, duration, column, first, last] : cases) {
    SCOPED_TRACE(testing::Message() << rate << " Hz, " << duration << " s, column " << column);
    Raster picture(380, 1);
    picture.At(column, 0) = White;
    const std::vector<float> samples = Normalised(FastChecked(Tables(picture), Parameters(rate, duration)));
    float peak = 0.0f;
    for (long i = 0; i < static_cast<long>(samples.size()); peak = std::max(peak, std::fabs(samples[i++])))
      ASSERT_EQ(samples[i] != 0.0f, i >= first && i <= last) << i;
    EXPECT_EQ(peak, first < 0 ? 0.0f : 1.0f);
  }
}

TEST(Synthesis, FastLoopMatchesOnWholePictures) {
  Raster picture(380, 380);  // a scramble of every colour
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = (i * 2654435761u >> 4) & ColourMask;
  const std::vector<float> full = FastChecked(Tables(picture), Parameters(3000, 5.0f));
  const std::vector<float> half = RenderSamplesFast(Tables(picture, 0.5f), Parameters(3000, 5.0f));
  EXPECT_NE(half, full);
  EXPECT_EQ(Normalised(half), Normalised(full));
}

TEST(SoundFile, WavAndFlacReadBack) {
  using enum SoundFileFormat;
  std::vector<float> samples(2001);
  for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = std::sin(0.05f * static_cast<float>(i));
  samples[1000] = 1.0f;  // full scale clips rather than wrapping round
  samples[700] = -1.0f;
  const std::string path = std::filesystem::temp_directory_path() / ("vellora-" + std::to_string(getpid()));
  for (auto [format, code, step] : {std::tuple{FloatWav, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0.0f},
                                    {Pcm16Wav, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1.0f / 32767},
                                    {Flac, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1.0f / 32767}}) {
    ASSERT_TRUE(WriteSoundFile(path, samples, 22050, format).ok) << code;
    const SoundFileContents back = ReadSoundFile(path);
    ASSERT_EQ(std::tuple(back.format, back.sampleRate, back.channels, back.samples.size()),
              std::tuple(code, 22050, 1, 2001u));
    for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_NEAR(back.samples[i], samples[i], step) << code << " " << i;
  }
  std::filesystem::remove(path);
  for (auto [name, pcm16, format] : {std::tuple{"x.flac", false, Flac}, {"x.FLaC", true, Flac},
                                     {"x.wav", false, FloatWav}, {"flac", true, Pcm16Wav}})
    EXPECT_EQ(SoundFormatForPath(name, pcm16), format) << name;
  std::string error;
  EXPECT_FALSE(EncodeSoundFile(samples, 0, FloatWav, error) || error.empty());
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
  for (auto [rate, duration, buffers, heard] : {std::tuple{3000, 5.0f, 384, 14976}, {2000, 1.0f, 399, 1995},
                                                {3800, 1.0f, 379, 3790}}) {
    std::vector<float> sound(ComputeSampleCount(rate, duration) + 1u, 0.0f);
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
