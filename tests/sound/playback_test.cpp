// Playback through the real audio library into a captured ALSA output: what is heard and the cursor steps.
#include <gtest/gtest.h>

#include <portaudio.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "picture/surface.h"
#include "sound/playback_core.h"
#include "sound/scan_cursor.h"
#include "support/alsa_capture.h"
#include "support/stand_in_canvas.h"

namespace {

// A sound that starts with silence, as a picture with a black left edge does, then never touches zero.
std::vector<float> TestSound(std::size_t count) {
  std::vector<float> samples(count, 0.0f);
  for (std::size_t i = 50; i < count; ++i)
    samples[i] = 0.5f + 0.4f * static_cast<float>(std::sin(0.01 * static_cast<double>(i)));
  return samples;
}

bool MachineHasSoundCards() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", ignored))
    if (entry.path().filename().string().rfind("pcm", 0) == 0) return true;
  return false;
}

struct Case {
  std::int32_t rate;
  float duration;
  int buffers;
  long heard;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.rate << " Hz for " << c.duration << " s"; }

class PlaySamplesHeard : public testing::TestWithParam<Case> {};

TEST_P(PlaySamplesHeard, ExactlyTheFirstBuffersOfTheSoundAreHeardWithOneCursorStepEach) {
  const Case c = GetParam();
  AlsaCapture capture;
  ASSERT_TRUE(capture.Ready());
  const std::vector<float> sound = TestSound(static_cast<std::size_t>(ComputeSampleCount(c.rate, c.duration)) + 1);

  std::vector<std::int32_t> steps;
  int idles = 0;
  PlaybackHooks hooks;
  hooks.cursorStep = [&](std::int32_t x) { steps.push_back(x); };
  hooks.idle = [&] { ++idles; };
  capture.Clear();
  const PlaybackOutcome outcome = PlaySamples(sound, c.rate, hooks);
  ASSERT_EQ(outcome.error, paNoError) << outcome.errorText;
  EXPECT_TRUE(outcome.errorText.empty());
  EXPECT_EQ(outcome.buffersDelivered, c.buffers);
  ASSERT_EQ(static_cast<int>(steps.size()), c.buffers);
  for (int k = 0; k < c.buffers; ++k) ASSERT_EQ(steps[k], k);

  const std::vector<float> heard = capture.TakeHeard(c.rate, FramesPerBuffer(sound.size()));
  ASSERT_GE(static_cast<long>(heard.size()), c.heard);
  EXPECT_TRUE(std::equal(heard.begin(), heard.begin() + c.heard, sound.begin()));
  // Whatever the device adds after the sound is silence: the unplayed tail of the sound is not there.
  EXPECT_TRUE(std::all_of(heard.begin() + c.heard, heard.end(), [](float s) { return s == 0.0f; }));
}

INSTANTIATE_TEST_SUITE_P(Settings, PlaySamplesHeard,
                         testing::Values(Case{3000, 5.0f, 384, 14976}, Case{2000, 1.0f, 399, 1995},
                                         Case{22050, 15.0f, 380, 330600}, Case{3800, 1.0f, 379, 3790}),
                         [](const testing::TestParamInfo<Case>& info) {
                           return std::to_string(info.param.rate) + "Hz_" +
                                  std::to_string(static_cast<int>(info.param.duration)) + "s";
                         });

TEST(PlaySamples, CursorSweepsThePictureThenOnlyRestoresIt) {
  AlsaCapture capture;
  ASSERT_TRUE(capture.Ready());
  StandInCanvas canvas;
  Raster& snapshot = *NewImage(CanvasImage, CanvasSize, CanvasSize);
  snapshot.At(7, 9) = 0x3366FF;
  std::vector<int> columns;
  PlaybackHooks hooks;
  hooks.cursorStep = [&](std::int32_t x) {
    DrawScanCursor(x);
    columns.push_back(CursorColumnOn(canvas.picture, snapshot));
  };
  const PlaybackOutcome outcome = PlaySamples(TestSound(15001), 3000, hooks);
  ASSERT_EQ(outcome.error, paNoError) << outcome.errorText;
  ASSERT_EQ(columns.size(), 384u);
  for (int k = 0; k < 380; ++k) ASSERT_EQ(columns[k], k);
  for (int k = 380; k < 384; ++k) EXPECT_EQ(columns[k], -1) << "step " << k;
  EXPECT_EQ(canvas.shows, 384);
}

TEST(PlaySamples, MissingDeviceGivesTheLibraryTextAndReturns) {
  if (MachineHasSoundCards()) GTEST_SKIP() << "a real sound card would be used as the default output";
  const std::string folder = RouteAlsaToNowhere();
  ASSERT_FALSE(folder.empty());
  int steps = 0;
  PlaybackHooks hooks;
  hooks.cursorStep = [&](std::int32_t) { ++steps; };
  const PlaybackOutcome outcome = PlaySamples(TestSound(15001), 3000, hooks);
  std::filesystem::remove_all(folder);
  EXPECT_NE(outcome.error, paNoError);
  EXPECT_EQ(outcome.errorText, Pa_GetErrorText(outcome.error));
  EXPECT_FALSE(outcome.errorText.empty());
  EXPECT_EQ(steps, 0);
  EXPECT_EQ(outcome.buffersDelivered, 0);
  // The library was terminated: it can be initialised again from scratch.
  EXPECT_EQ(Pa_Initialize(), paNoError);
  Pa_Terminate();
}

TEST(PlaySamples, TooShortASoundIsNotAttempted) {
  int steps = 0;
  PlaybackHooks hooks;
  hooks.cursorStep = [&](std::int32_t) { ++steps; };
  const PlaybackOutcome outcome = PlaySamples(std::vector<float>(380, 0.5f), 3000, hooks);
  EXPECT_TRUE(outcome.tooShort);
  EXPECT_EQ(outcome.error, paNoError);
  EXPECT_EQ(steps, 0);
}

}  // namespace
