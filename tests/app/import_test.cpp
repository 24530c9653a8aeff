// SPDX-License-Identifier: GPL-3.0-or-later
// The Import dialog driven as a user drives it: each choice lands on the canvas as previewed, with the sliders
// that play it back; Cancel changes nothing; the notes on a sound.
#include <sndfile.h>
#include <cstring>
#include <filesystem>
#include "distribution/frequency_mapping.h"
#include "picture/surface.h"
#include "sound/fast_render.h"
#include "support/ui_driver.h"

namespace {

using ImportDialog = AppTest;
constexpr int Rate = 8000, RowA = 120, RowB = 220;

// What Vellora plays for one row lit across the canvas at the start-up mapping: a steady tone of peak 1.
std::vector<float> ToneOfRow(int row, float seconds) {
  SynthSettingsRecord settings = StartSynthSettings();
  settings.SampleRate = Rate, settings.Duration = seconds, settings.SampleCount = ComputeSampleCount(Rate, seconds);
  Raster picture(CanvasSize, CanvasSize);
  for (int x = 0; x < CanvasSize; ++x) picture.At(x, row) = White;
  return SynthesizeSound(picture, settings, {&DefaultFrequency, &DistributionFrequency, [](int) { return 0.5f; }});
}

// In a folder of the test's own: the file requester looks at every file in the folder it is shown.
std::string WrittenSound(const char* name, int channels, const std::vector<float>& frames) {
  const std::string path = ::testing::TempDir() + "vellora-import-" + std::to_string(getpid()) + "/" + name + ".wav";
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  SF_INFO info{0, Rate, channels, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  sf_writef_float(file, frames.data(), static_cast<sf_count_t>(frames.size()) / channels);
  sf_close(file);
  return path;
}

// 17 s: channel 1 a full-scale tone of row A throughout; channel 2 a tone of row B at a tenth of that (−20 dB),
// for the first 2 s only.
std::string TwoToneFile() {
  const std::vector<float> a = ToneOfRow(RowA, 17.0f), b = ToneOfRow(RowB, 17.0f);
  std::vector<float> frames(2 * a.size(), 0.0f);
  for (std::size_t i = 0; i < a.size(); ++i) frames[2 * i] = a[i], frames[2 * i + 1] = i < 2 * Rate ? 0.1f * b[i] : 0.0f;
  return WrittenSound("two-tones", 2, frames);
}

TEST_F(ImportDialog, CancelChangesNothingAtAll) {
  const std::string file = TwoToneFile();
  Drag(PaintCanvas, {{100, 100}});
  SetByUser(FrqFromSlider, 200);
  SetByUser(SampleRateSlider, 5000);
  Click(RepeatCheckbox);
  const Raster picture = CanvasOf(PaintCanvas), snapshot = *ImageHandle(CanvasImage);
  const SynthSettingsRecord settings = SynthSettings;
  std::vector<int> states;
  for (const ControlEntry& entry : MainControls()) states.push_back(UiGetState(entry.number));
  AnswerFileDialog(file);
  AnswerImportDialog({.decibels = true, .channel = 2, .startMs = 1000, .nearestRow = true, .fitRange = true}, false);
  Menu("File", "Import Sound...");
  std::filesystem::remove_all(std::filesystem::path(file).parent_path());
  EXPECT_EQ(std::tuple(CanvasOf(PaintCanvas), *ImageHandle(CanvasImage), RepeatFlag), std::tuple(picture, snapshot, 1));
  EXPECT_EQ(std::memcmp(&SynthSettings, &settings, sizeof settings), 0) << "every field is 4 bytes: no padding";
  for (const ControlEntry& entry : MainControls()) EXPECT_EQ(UiGetState(entry.number), states[&entry - MainControls().data()]);
}

}  // namespace
