// SPDX-License-Identifier: GPL-3.0-or-later
// Synthesize through the real audio library without an output device, and input made while a sound plays in real
// time. Suites start with "Playback": the thread checker runs those.
#include <QTest>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>
#include <atomic>
#include <filesystem>
#include <thread>
#include "picture/surface.h"
#include "sound/playback.h"
#include "support/alsa_capture.h"
#include "support/ui_driver.h"

namespace {

// 2000 Hz for 2 s gives 379 buffers of 10 samples.
constexpr std::size_t Played = 379 * 10;

class PlaybackSynthesize : public AppTest {
 protected:
  AlsaCapture capture;  // made before the program starts: the audio library reads it when first used

  void SetUp() override {
    ASSERT_TRUE(capture.Ready());
    AppTest::SetUp();
    Drag(PaintCanvas, {{20, 300}, {200, 150}, {370, 40}});
  }
};

TEST_F(PlaybackSynthesize, WithoutADeviceShowsTheLibrarysTextAndKeepsRunningWithThePicture) {
  const std::string folder = RouteAlsaToNowhere();  // over the capture, which puts the old setting back
  ASSERT_FALSE(folder.empty());
  const Raster picture = CanvasOf(PaintCanvas);
  std::string title = "none", text;
  DismissMessageBox(&title, &text);
  Click(SynthesizeButton);
  std::filesystem::remove_all(folder);
  EXPECT_EQ(title + "|" + text, std::string("|") + Pa_GetErrorText(paInvalidDevice));
  EXPECT_EQ(CanvasOf(PaintCanvas), picture);
  Click(LineToggle);
  EXPECT_EQ(Tool, LineToggle) << "the program still takes input";
}

// Clicks on Clear and Synthesize and a close request made while a sound plays are acted on right after it,
// in order, with either of the toolkit's event dispatchers (true: GLib's).
class PlaybackInputDuringSound : public ::testing::TestWithParam<bool> {};

TEST_P(PlaybackInputDuringSound, IsActedOnRightAfterTheSoundInOrder) {
  if (!GetParam()) setenv("QT_NO_GLIB", "1", 1);
  PacedAlsaOutput output(2000);
  ASSERT_TRUE(output.Ready() && StartUp());
  Drag(PaintCanvas, {{100, 200}, {300, 180}});
  SetByUser(SampleRateSlider, 2000);
  SetByUser(SoundDurationSlider, 2000);
  QWindow* window = UiWindowWidget(MainWindow)->windowHandle();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  auto centre = [](int control) { QWidget* w = UiWidget(control); return w->mapTo(w->window(), w->rect().center()); };
  std::atomic<bool> sentWhilePlaying{false};
  std::thread user([&, synthesize = centre(SynthesizeButton), clear = centre(ClearButton)] {
    using Wsi = QWindowSystemInterface;
    auto click = [&](QPoint at) {
      for (auto [held, type] :
           {std::pair(Qt::LeftButton, QEvent::MouseButtonPress), {Qt::NoButton, QEvent::MouseButtonRelease}})
        Wsi::handleMouseEvent<Wsi::AsynchronousDelivery>(window, at, window->mapToGlobal(at), held, Qt::LeftButton,
                                                         type);
    };
    click(synthesize);
    if (!output.WaitForSamples(1, 20000)) return;
    click(clear);
    click(synthesize);
    Wsi::handleCloseEvent<Wsi::AsynchronousDelivery>(window);
    sentWhilePlaying = output.SamplesDelivered() < Played;
  });
  RunEventLoop();
  user.join();
  EXPECT_TRUE(sentWhilePlaying) << "the input must reach the program while the first sound plays";
  EXPECT_EQ(QuitFlag, 1);
  EXPECT_EQ(CanvasOf(PaintCanvas), Raster(CanvasSize, CanvasSize)) << "Clear was acted on";
  ASSERT_TRUE(output.WaitUntilClosed(20000));
  // The first sound is loud; the second, of the cleared picture, is silence that follows it whole.
  const std::vector<float> heard = output.Samples();
  const auto lastLoud = std::find_if(heard.rbegin(), heard.rend(), [](float s) { return s != 0.0f; });
  ASSERT_NE(lastLoud, heard.rend());
  EXPECT_GE(lastLoud - heard.rbegin(), static_cast<long>(Played)) << "a silent second sound after Clear";
  ShutDown();
}

INSTANTIATE_TEST_SUITE_P(Playback, PlaybackInputDuringSound, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "GLib" : "OwnDispatcher"; });

}  // namespace
