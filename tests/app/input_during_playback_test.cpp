// Clicks and a close request made while a sound plays in real time are acted on right after it, in order,
// without any further input: on the X11 platform (input through a real X server) and offscreen, with
// either of the toolkit's event dispatchers.
#include <QTest>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include "app/control_ids.h"
#include "app/event_loop.h"
#include "app/settings.h"
#include "app/startup.h"
#include "support/alsa_capture.h"
#include "support/app_fixture.h"
#include "support/x_session.h"
#include "ui/ui.h"

namespace {

constexpr int Rate = 2000;
constexpr int DurationMs = 2000;
// Each sound gives the device at least 379 buffers of (samples / 380) samples.
constexpr std::size_t SoundSamples = 379 * (Rate * DurationMs / 1000 / 380);

struct PlatformCase {
  const char* name;
  bool x11;
  bool glib;
};

// Ends the whole test program when the loop has not returned in time: a loop asleep on held input never
// returns, and nothing may wake it to find out.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit)
      : thread_([this, limit] {
          std::unique_lock lock(mutex_);
          if (!done_.wait_for(lock, limit, [this] { return stopped_; })) {
            std::fprintf(stderr, "The event loop did not return after the input made during playback.\n");
            std::_Exit(1);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    done_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool stopped_ = false;
  std::thread thread_;
};

// Where a click on a control lands, for both ways of injecting it.
struct Target {
  QPoint global;  // on the screen
  QPoint local;   // in the top-level window
};

Target TargetOf(int control) {
  QWidget* widget = ControlWidget(control);
  const QPoint centre = widget->rect().center();
  return {widget->mapToGlobal(centre), widget->mapTo(widget->window(), centre)};
}

class InputDuringPlayback : public ::testing::TestWithParam<PlatformCase> {
 protected:
  std::unique_ptr<XServer> server;
  std::unique_ptr<PacedAlsaOutput> output;

  void SetUp() override {
    if (!GetParam().glib) setenv("QT_NO_GLIB", "1", 1);
    if (GetParam().x11) {
      server = std::make_unique<XServer>();
      ASSERT_TRUE(server->Ready()) << "Xvfb could not be started";
      setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    output = std::make_unique<PacedAlsaOutput>(Rate);
    ASSERT_TRUE(output->Ready());
    ASSERT_TRUE(StartUp());
  }
  void TearDown() override { ShutDown(); }
};

TEST_P(InputDuringPlayback, IsActedOnRightAfterTheSoundInOrder) {
  Press(PaintCanvas, {100, 200});
  Move(PaintCanvas, {300, 180});
  Release(PaintCanvas, {300, 180});
  MoveSliderTo(SampleRateSlider, Rate);
  MoveSliderTo(SoundDurationSlider, DurationMs);
  QWindow* window = WindowWidget(MainWindow)->windowHandle();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  const Target synthesize = TargetOf(SynthesizeButton);
  const Target clear = TargetOf(ClearButton);
  const unsigned long windowId = WindowWidget(MainWindow)->winId();

  std::atomic<bool> sentWhilePlaying{false};
  std::thread user([&] {
    std::unique_ptr<XUser> x;
    if (GetParam().x11) x = std::make_unique<XUser>();
    auto click = [&](const Target& at) {
      if (x) {
        x->ClickAt(at.global.x(), at.global.y());
        return;
      }
      using Wsi = QWindowSystemInterface;
      Wsi::handleMouseEvent<Wsi::AsynchronousDelivery>(window, at.local, at.global, Qt::LeftButton, Qt::LeftButton,
                                                       QEvent::MouseButtonPress);
      Wsi::handleMouseEvent<Wsi::AsynchronousDelivery>(window, at.local, at.global, Qt::NoButton, Qt::LeftButton,
                                                       QEvent::MouseButtonRelease);
    };
    if (x && !x->Ready()) return;
    click(synthesize);
    if (!output->WaitForSamples(1, 10000)) return;
    click(clear);
    click(synthesize);
    if (x)
      x->RequestClose(windowId);
    else
      QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(window);
    sentWhilePlaying = output->SamplesDelivered() < SoundSamples;
  });
  {
    const Watchdog watchdog(std::chrono::seconds(30));
    RunEventLoop();
  }
  user.join();

  EXPECT_TRUE(sentWhilePlaying) << "the clicks and the close request must reach the program during the sound";
  EXPECT_EQ(QuitFlag, 1) << "the close request ends the program";
  EXPECT_EQ(LitCount(CanvasOf(PaintCanvas)), 0) << "Clear was acted on";
  ASSERT_TRUE(output->WaitUntilClosed(5000));
  // The first sound is loud; the second, of the cleared picture, is silence that follows it whole.
  const std::vector<float> heard = output->Samples();
  std::size_t lastLoud = 0;
  for (std::size_t i = 0; i < heard.size(); ++i)
    if (heard[i] != 0.0f) lastLoud = i;
  ASSERT_GT(lastLoud, 0u);
  EXPECT_GE(heard.size() - lastLoud, SoundSamples) << "a silent second sound, so Clear came before it";
}

INSTANTIATE_TEST_SUITE_P(Platforms, InputDuringPlayback,
                         ::testing::Values(PlatformCase{"X11_GLib", true, true},
                                           PlatformCase{"X11_OwnDispatcher", true, false},
                                           PlatformCase{"Offscreen_GLib", false, true},
                                           PlatformCase{"Offscreen_OwnDispatcher", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
