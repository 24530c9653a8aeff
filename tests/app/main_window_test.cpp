// The main window as a user first sees it: every control in its place with its start state.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/control_ids.h"
#include "app/control_table.h"
#include "app/settings.h"
#include "support/app_fixture.h"
#include "ui/ui.h"

namespace {

using MainWindowStart = AppTest;

TEST_F(MainWindowStart, EveryControlSitsWhereTheTableSays) {
  QWidget* window = WindowWidget(MainWindow);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Vellora");
  for (const ControlEntry& entry : MainControls()) {
    QWidget* widget = ControlWidget(entry.number);
    ASSERT_NE(widget, nullptr) << entry.number;
    const QPoint topLeft = widget->mapTo(window, QPoint(0, 0)) - ControlWidget(PaintCanvas)->mapTo(window, QPoint(0, 0)) +
                           QPoint(10, 10);
    EXPECT_EQ(topLeft, QPoint(entry.x, entry.y)) << entry.number;
    EXPECT_EQ(widget->size(), QSize(entry.width, entry.height)) << entry.number;
  }
  EXPECT_FALSE(UiControlExists(5));
}

TEST_F(MainWindowStart, StatesAndSettingsStartEqual) {
  EXPECT_EQ(UiGetState(BrushToggle), 1);
  EXPECT_EQ(UiGetState(LineToggle), 0);
  EXPECT_EQ(Tool, BrushToggle);
  EXPECT_EQ(UiGetState(RepeatCheckbox), 0);
  EXPECT_EQ(UiGetState(DistributionCheckbox), 0);
  EXPECT_EQ(UiGetState(BrushSizeSpin), 8);
  EXPECT_EQ(qobject_cast<QSpinBox*>(ControlWidget(BrushSizeSpin))->text(), "8");

  struct SliderStart {
    int control, value, minimum, maximum;
  };
  const SliderStart sliders[] = {
      {FrqFromSlider, 90, 70, 1500},     {FrqToSlider, 9000, 70, 9000},  {SampleRateSlider, 3000, 2000, 22050},
      {SoundDurationSlider, 5000, 1000, 15000}, {DistASlider, 50, 1, 99}, {DistBSlider, 5, 1, 99},
      {DistCSlider, 75, 1, 99},          {DistDSlider, 75, 1, 99},
  };
  for (const SliderStart& s : sliders) {
    auto* slider = qobject_cast<QAbstractSlider*>(ControlWidget(s.control));
    ASSERT_NE(slider, nullptr) << s.control;
    EXPECT_EQ(slider->value(), s.value) << s.control;
    EXPECT_EQ(slider->minimum(), s.minimum) << s.control;
    EXPECT_EQ(slider->maximum(), s.maximum) << s.control;
  }
  EXPECT_EQ(SynthSettings.FrqFrom, 90);
  EXPECT_EQ(SynthSettings.FrqTo, 9000);
  EXPECT_EQ(SynthSettings.SampleRate, 3000);
  EXPECT_EQ(SynthSettings.Duration, 5.0f);
  EXPECT_EQ(SynthSettings.SampleCount, 15000);
  EXPECT_EQ(SynthSettings.DistB, 0.05f);
  EXPECT_EQ(SynthSettings.FrqDistribution, 0);
  EXPECT_EQ(BrushColor, White);
}

TEST_F(MainWindowStart, LabelsAndSurfaces) {
  EXPECT_EQ(qobject_cast<QAbstractButton*>(ControlWidget(SynthesizeButton))->text(), "Synthesize");
  EXPECT_EQ(qobject_cast<QLabel*>(ControlWidget(BandLevelLabel))->text(), "Adjust Frequency Band Level");
  EXPECT_EQ(qobject_cast<QAbstractButton*>(ControlWidget(DistributionCheckbox))->text(),
            "Enable Frequency Distribution");
  EXPECT_EQ(LitCount(CanvasOf(PaintCanvas)), 0);
  EXPECT_EQ(CanvasOf(PaintCanvas).width, 380);
  EXPECT_EQ(LitCount(CanvasOf(DistributionPreview)), 0);
  ASSERT_GE(BandLevelEditorNumber, 1000);
  EXPECT_GT(LitCount(CanvasOf(BandLevelEditorNumber)), 0);
}

TEST_F(MainWindowStart, ColourButtonShowsAWhiteSwatch) {
  QWidget* button = ControlWidget(ColorButton);
  const QImage face = button->grab().toImage();
  EXPECT_EQ(face.pixelColor(face.width() / 2, face.height() / 2), QColor(Qt::white));
}

}  // namespace

// The program itself, started where its window cannot be opened: no display server behind DISPLAY, or a
// platform the toolkit does not have. It must end at once, silently, with status 0.
TEST(WithoutAWindow, TheProgramEndsQuietlyWithStatusZero) {
  const char* settings[] = {"DISPLAY=:97", "QT_QPA_PLATFORM=xcb DISPLAY=/nowhere/socket", "QT_QPA_PLATFORM=nosuchplatform"};
  const std::string output = ::testing::TempDir() + "vellora-without-window.txt";
  for (const char* environment : settings) {
    const std::string command = std::string("env -i PATH=/usr/bin:/bin ") + environment + " timeout 20 " +
                                VELLORA_PROGRAM_PATH + " >" + output + " 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << environment;
    EXPECT_EQ(WEXITSTATUS(status), 0) << environment;
    std::ifstream printed(output);
    const std::string text((std::istreambuf_iterator<char>(printed)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "") << environment;
  }
}
