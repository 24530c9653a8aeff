// SPDX-License-Identifier: GPL-3.0-or-later
// The Import dialog driven as a user drives it: each choice lands on the canvas as previewed, with the notes on the
// sound; the band curve and the fitted range are taken in (the sliders Import sets are checked with every command).
#include <sndfile.h>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <numbers>
#include "picture/surface.h"
#include "sound/analysis.h"
#include "support/ui_driver.h"
#include "ui/ui_canvas_widget.h"

namespace {

using ImportDialog = AppTest;
namespace fs = std::filesystem;
constexpr int Rate = 8000, RowA = 120, RowB = 220, RowC = 300;

double Grey(int row) {  // over columns 5 to 39, where every tone of the file sounds
  double sum = 0.0;
  for (int x = 5; x < 40; ++x) sum += RedOf(CanvasOf(PaintCanvas).At(x, row));
  return sum / 35;
}

// A 17 s file of steady sines at rows' pitches: channel 1 row A's at full scale; channel 2 row B's at a tenth
// (−20 dB) for 2 s, then at a thousandth (−60 dB); channel 3 a third of the way from row C's pitch to the next row's.
TEST_F(ImportDialog, EachChoiceLandsOnTheCanvasAsPreviewed) {
  const std::vector<double> heard = HeardRowFrequencies(StartSynthSettings());
  const double pitches[] = {heard[RowA], heard[RowB], (2 * heard[RowC] + heard[RowC + 1]) / 3};
  std::vector<float> frames(3 * (17 * Rate + 1));
  for (std::size_t i = 0; i < frames.size(); ++i)
    frames[i] = (i % 3 != 1 ? 1.0f : i < 6 * Rate ? 0.1f : 0.001f) *
                static_cast<float>(std::sin(2 * std::numbers::pi * pitches[i % 3] * double(i / 3) / Rate));
  // In a folder of the test's own: the file requester looks at every file in the folder it is shown.
  const fs::path path = fs::path(::testing::TempDir()) / ("vellora-import-" + std::to_string(getpid())) / "tones.wav";
  fs::create_directories(path.parent_path());
  SF_INFO info{0, Rate, 3, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
  SNDFILE* sound = sf_open(path.c_str(), SFM_WRITE, &info);
  sf_writef_float(sound, frames.data(), static_cast<sf_count_t>(frames.size()) / 3);
  sf_close(sound);
  const std::string file = path.string();
  const struct { ImportChoice choice; int rows[2]; double greys[2]; const char* note; } cases[] = {
      {{}, {RowA, RowB}, {255, 25.5}, ""},                                                 // amplitude: B a tenth of A
      {{.decibels = true, .rangeDb = 80, .gainDb = -20}, {RowA, RowB}, {191, 127.5}, ""},  // all 20 dB down of 80
      {{.channel = 1}, {RowA, RowB}, {255, 0}, ""},  // the first channel, not the mix (no other test tells them apart)
      {{.channel = 2, .startMs = 2000}, {RowA, RowB}, {0, 255}, "60.0 dBFS"},  // channel 2 alone after 2 s: nearly silent
      {{.channel = 3}, {RowC, RowC + 1}, {255, 85}, ""},                 // shared by nearness: cos² of 30° and of 60°
      {{.channel = 3, .nearestRow = true}, {RowC, RowC + 1}, {255, 0}, ""}};
  for (const auto& [choice, rows, greys, note] : cases) {
    QImage previewed;
    QString notes;
    AnswerFileDialog(file);
    AnswerImportDialog(choice, true, &previewed, &notes);
    Menu("File", "Import Sound...");
    EXPECT_EQ(previewed.convertToFormat(QImage::Format_RGBX8888), RasterToImage(CanvasOf(PaintCanvas))) << greys[1];
    for (int k : {0, 1}) EXPECT_NEAR(Grey(rows[k]), greys[k], 3) << rows[k] << " " << greys[1 - k];
    EXPECT_TRUE(notes.contains(note)) << notes.toStdString();
  }
  // The dialog's frame: its title, a canvas-sized picture, OK the default button (Enter), Escape closing it.
  std::tuple<QString, QSize, bool> frame;
  WhenModalAppears("importDialog", [&frame](QWidget* dialog) {
    frame = {dialog->windowTitle(), dialog->findChild<QWidget*>("preview")->size(),
             dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isDefault()};
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  AnswerFileDialog(file);
  Menu("File", "Import Sound...");
  EXPECT_EQ(frame, std::tuple(QString("Import Sound"), QSize(CanvasSize, CanvasSize), true));
  // With the band curve in use, each row is drawn divided by its level, so that Synthesize gives the sound back.
  Drag(BandLevelEditorNumber, {{90, 35}, {90, 55}});
  AnswerFileDialog(file);
  AnswerImportDialog(ImportChoice{}, true);
  Menu("File", "Import Sound...");
  EXPECT_NEAR(Grey(RowB), 25.5 * BandLevel(RowA) / BandLevel(RowB), 3) << BandLevel(RowB);
  // Fitted to tone A alone, the rows close in round it; it still lands whole on one of them, off the edges.
  AnswerFileDialog(file);
  AnswerImportDialog(ImportChoice{.channel = 1, .nearestRow = true, .fitRange = true}, true);
  Menu("File", "Import Sound...");
  int brightest = 0;
  for (int row = 0; row < CanvasSize; ++row) brightest = Grey(row) > Grey(brightest) ? row : brightest;
  EXPECT_TRUE(Grey(brightest) > 252 && brightest > 0 && brightest < CanvasSize - 1) << brightest;
  const std::vector<double> fitted = HeardRowFrequencies(SynthSettings);  // the rows' pitches under the new sliders
  EXPECT_NEAR(fitted[brightest], heard[RowA], fitted[brightest + 1] - fitted[brightest]) << brightest;
  const int from = UiGetState(FrqFromSlider), to = UiGetState(FrqToSlider);  // a lone tone: the rows span an octave or so
  EXPECT_EQ(std::tuple(SynthSettings.FrqFrom, SynthSettings.FrqTo, LastFrqFrom, LastFrqTo, fitted.back() < 3 * fitted[0]),
            std::tuple(from, to, from, to, true));
  SetByUser(FrqFromSlider, 90), SetByUser(FrqToSlider, 9000);  // the next Import starts fitting too (the mix, this time)
  AnswerFileDialog(file);
  AnswerImportDialog(std::nullopt, true);
  Menu("File", "Import Sound...");
  EXPECT_NE(std::pair(UiGetState(FrqFromSlider), UiGetState(FrqToSlider)), std::pair(90, 9000));
  fs::remove_all(fs::path(file).parent_path());
}

}  // namespace
