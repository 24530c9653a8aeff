// "Synthesize" and "Repeat" in the real window, played through the real audio library into a file.
#include <QMessageBox>

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/settings.h"
#include "sound/sound_state.h"
#include "support/alsa_capture.h"
#include "support/app_fixture.h"
#include "ui/ui.h"

namespace {

class Synthesize : public AppTest {
 protected:
  AlsaCapture capture;

  void PaintSomething() {
    Press(PaintCanvas, {20, 300});
    Move(PaintCanvas, {200, 150});
    Move(PaintCanvas, {370, 40});
    Release(PaintCanvas, {370, 40});
  }

  std::vector<float> Heard() {
    const auto frames = static_cast<unsigned long>((SoundBuffer.size() - 1) / CanvasSize);
    return capture.TakeHeard(SoundBufferRate, frames);
  }
};

TEST_F(Synthesize, PlaysTheFirstBuffersOfTheSoundAndLeavesThePictureClean) {
  ASSERT_TRUE(capture.Ready());
  PaintSomething();
  const Raster picture = CanvasOf(PaintCanvas);
  capture.Clear();
  Click(SynthesizeButton);
  ASSERT_EQ(SoundBuffer.size(), 15001u);
  const std::vector<float> heard = Heard();
  ASSERT_GE(heard.size(), 14976u);
  EXPECT_EQ(std::vector<float>(heard.begin(), heard.begin() + 14976),
            std::vector<float>(SoundBuffer.begin(), SoundBuffer.begin() + 14976));
  for (std::size_t i = 14976; i < heard.size(); ++i) ASSERT_EQ(heard[i], 0.0f) << i;
  EXPECT_EQ(CanvasOf(PaintCanvas), picture) << "no cursor line is left in the picture";
}

TEST_F(Synthesize, RepeatReplaysTheSameSamplesWithoutRecomputing) {
  ASSERT_TRUE(capture.Ready());
  PaintSomething();
  Click(SynthesizeButton);
  const std::vector<float> first = Heard();
  const std::vector<float> sound = SoundBuffer;
  Click(RepeatCheckbox);
  // Switching tools leaves Repeat ticked.
  Click(LineToggle);
  Click(SynthesizeButton);
  EXPECT_EQ(Heard(), first);
  EXPECT_EQ(SoundBuffer, sound);
  EXPECT_EQ(UiGetState(RepeatCheckbox), 1);
  EXPECT_EQ(RepeatFlag, 1);
}

TEST_F(Synthesize, AChangedSettingIsHeardAtTheNextSynthesize) {
  ASSERT_TRUE(capture.Ready());
  PaintSomething();
  MoveSliderTo(SampleRateSlider, 3800);
  MoveSliderTo(SoundDurationSlider, 1000);
  Click(SynthesizeButton);
  EXPECT_EQ(SoundBuffer.size(), 3801u);
  EXPECT_EQ(SoundBufferRate, 3800);
  const std::vector<float> heard = Heard();
  ASSERT_GE(heard.size(), 3790u);
  EXPECT_EQ(std::vector<float>(heard.begin(), heard.begin() + 3790),
            std::vector<float>(SoundBuffer.begin(), SoundBuffer.begin() + 3790));
  // With 379 buffers the last cursor line would sit at x = 378; the picture is restored instead.
  int litInColumn = 0;
  for (int y = 0; y < CanvasSize; ++y) litInColumn += CanvasOf(PaintCanvas).At(378, y) != Black;
  EXPECT_LT(litInColumn, CanvasSize);
}

TEST_F(Synthesize, RepeatBeforeAnySoundSynthesisesFirst) {
  ASSERT_TRUE(capture.Ready());
  PaintSomething();
  Click(RepeatCheckbox);
  ASSERT_EQ(RepeatFlag, 1);
  Click(SynthesizeButton);
  EXPECT_EQ(SoundBuffer.size(), 15001u);
  const std::vector<float> heard = Heard();
  ASSERT_GE(heard.size(), 14976u);
  EXPECT_EQ(std::vector<float>(heard.begin(), heard.begin() + 14976),
            std::vector<float>(SoundBuffer.begin(), SoundBuffer.begin() + 14976));
  EXPECT_EQ(UiGetState(RepeatCheckbox), 1);
}

using SynthesizeWithoutDevice = AppTest;

TEST_F(SynthesizeWithoutDevice, ShowsTheLibraryTextAndKeepsRunningWithThePicture) {
  const std::string folder = RouteAlsaToNowhere();
  ASSERT_FALSE(folder.empty());
  Press(PaintCanvas, {100, 100});
  Release(PaintCanvas, {100, 100});
  const Raster picture = CanvasOf(PaintCanvas);
  std::string title = "unset", text;
  DismissNextMessageBox(&title, &text);
  Click(SynthesizeButton);
  EXPECT_EQ(title, "");
  EXPECT_FALSE(text.empty());
  EXPECT_EQ(QuitFlag, 0);
  EXPECT_EQ(CanvasOf(PaintCanvas), picture);
  Click(LineToggle);
  EXPECT_EQ(Tool, LineToggle) << "the program still takes input";
}

}  // namespace
