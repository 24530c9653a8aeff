// "File" -> "Export Sound..." in the real window.
#include <filesystem>
#include <string>

#include "app/control_ids.h"
#include "app/settings.h"
#include "sound/sound_state.h"
#include "support/alsa_capture.h"
#include "support/app_fixture.h"
#include "support/sound_file_reader.h"
#include "ui/ui.h"

namespace {

namespace fs = std::filesystem;

class ExportSound : public AppTest {
 protected:
  AlsaCapture capture;
  fs::path folder;
  void SetUp() override {
    AppTest::SetUp();
    char pattern[] = "/tmp/vellora-export-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    fs::remove_all(folder);
    AppTest::TearDown();
  }
};

TEST_F(ExportSound, BeforeAnySoundItSaysSo) {
  std::string text;
  DismissNextMessageBox(nullptr, &text);
  Menu("File", "Export Sound...");
  EXPECT_EQ(text, "Press Synthesize first: there is no sound to export yet.");
}

TEST_F(ExportSound, WritesEverySampleAtTheRateItWasMadeWith) {
  ASSERT_TRUE(capture.Ready());
  Press(PaintCanvas, {100, 100});
  Release(PaintCanvas, {100, 100});
  MoveSliderTo(SampleRateSlider, 8000);
  MoveSliderTo(SoundDurationSlider, 2000);
  Click(SynthesizeButton);
  Click(RepeatCheckbox);
  const Raster picture = CanvasOf(PaintCanvas);

  AnswerNextFileDialog((folder / "tone").string(), 0);
  Menu("File", "Export Sound...");
  const ReadSound wav = ReadSoundFileBack((folder / "tone.wav").string());
  ASSERT_TRUE(wav.ok);
  EXPECT_EQ(wav.sampleRate, 8000);
  EXPECT_EQ(wav.samples, SoundBuffer);
  EXPECT_EQ(wav.samples.size(), 16001u);

  AnswerNextFileDialog((folder / "tone.flac").string(), 1);
  Menu("File", "Export Sound...");
  const ReadSound flac = ReadSoundFileBack((folder / "tone.flac").string());
  ASSERT_TRUE(flac.ok);
  EXPECT_EQ(flac.samples.size(), 16001u);
  EXPECT_FALSE(fs::exists(folder / "tone.flac.flac"));

  EXPECT_EQ(UiGetState(RepeatCheckbox), 1) << "exporting leaves Repeat alone";
  EXPECT_EQ(CanvasOf(PaintCanvas), picture);
}

TEST_F(ExportSound, CancelWritesNothing) {
  ASSERT_TRUE(capture.Ready());
  Click(SynthesizeButton);
  CancelNextDialog();
  Menu("File", "Export Sound...");
  EXPECT_TRUE(fs::is_empty(folder));
}

}  // namespace
