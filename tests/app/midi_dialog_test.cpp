// SPDX-License-Identifier: GPL-3.0-or-later
// Import MIDI and Export MIDI driven as a user drives them: the notes chosen land on the canvas as previewed, on the
// rows heard at their pitches, with the Sound Duration the time choice gives and Repeat unticked; Cancel and a
// hostile file change nothing; the canvas's notes are written to the file named.
#include <QLabel>
#include <filesystem>
#include <fstream>
#include "picture/surface.h"
#include "sound/midi_file.h"
#include "support/midi_models.h"
#include "support/pitch_models.h"
#include "support/ui_driver.h"
#include "ui/ui_canvas_widget.h"

namespace {

using MidiDialogs = AppTest;
namespace fs = std::filesystem;
using namespace midi_models;
using pitch_models::KeyHz, pitch_models::NearestRow;

// The columns of a row that are lit.
std::pair<int, int> LitSpan(int row) {
  int first = -1, last = -1;
  for (int x = 0; x < CanvasSize; ++x)
    if (CanvasOf(PaintCanvas).At(x, row) != Black) last = x, first = first < 0 ? x : first;
  return {first, last};
}

std::string Shown() { return static_cast<QLabel*>(UiWidget(ReadoutLabel))->text().toStdString(); }

TEST_F(MidiDialogs, NotesLandAsPreviewedOnTheirRowsWithTheDurationChosenAndCancelOrAHostileFileChangesNothing) {
  const fs::path folder = fs::path(::testing::TempDir()) / ("vellora-midi-" + std::to_string(getpid()));
  fs::create_directories(folder);
  // 960 ticks a second: A4 on channel 1 from 0.5 s to 1.5 s; A5 on channel 2 from 1 s to 2.5 s; a drum (channel 10).
  const std::string piece = File(1, 480, {Track({{480, On(0, 69, 127)}, {960, Off(0, 69)}}),
                                          Track({{960, On(1, 81, 64)}, {0, On(9, 60, 100)}, {1440, Off(1, 81)}, {0, Off(9, 60)}})});
  std::ofstream(folder / "a.mid", std::ios::binary) << piece;
  std::ofstream(folder / "bad.mid", std::ios::binary) << piece.substr(0, piece.size() - 6);
  NoteChoice start = StartNoteChoice(2), fit = start, drums = start;
  fit.fitDuration = true;
  drums.channels = {}, drums.channels[9] = true, drums.fitDuration = drums.paintOver = true;
  // Columns: round(time / column) to round(end / column) − 1, a column 2500 ms × 3000 Hz / 379 (20 samples) long;
  // fitted into 5 s (columns of 40 samples), the piece's 2.5 s end at column 379.
  const struct { NoteChoice choice; int durationMs; std::vector<std::tuple<int, int, int>> strokes; } cases[] = {
      {start, 2500, {{69, 75, 224}, {81, 150, 374}}},
      {fit, 5000, {{69, 76, 226}, {81, 152, 378}}},
      {drums, 5000, {{60, 152, 378}, {69, 76, 226}, {81, 152, 378}}},  // painted over the last picture
  };
  for (const auto& [choice, durationMs, strokes] : cases) {
    SetByUser(SoundDurationSlider, 5000);
    Click(RepeatCheckbox);
    QImage previewed;
    AnswerFileDialog((folder / "a.mid").string());
    AnswerMidiImportDialog(choice, true, &previewed);
    Menu("File", "Import MIDI...");
    EXPECT_EQ(previewed.convertToFormat(QImage::Format_RGBX8888), RasterToImage(CanvasOf(PaintCanvas)));
    EXPECT_EQ(std::tuple(UiGetState(SoundDurationSlider), RepeatFlag + UiGetState(RepeatCheckbox)), std::tuple(durationMs, 0));
    for (auto [key, first, last] : strokes) EXPECT_EQ(LitSpan(NearestRow(KeyHz(key), 3000)), std::pair(first, last)) << key;
    int lit = 0;  // and no other row
    for (int row = 0; row < CanvasSize; ++row) lit += LitSpan(row).first >= 0;
    EXPECT_EQ(lit, int(strokes.size()));
  }
  EXPECT_EQ(Shown(), "Imported 1 note of a.mid over 5.000 s");  // fitted into the 5 s chosen
  auto settings = [] { return std::string(reinterpret_cast<const char*>(&SynthSettings), sizeof SynthSettings); };
  const auto before = std::tuple(CanvasOf(PaintCanvas), UiGetState(RepeatCheckbox), settings());
  Click(RepeatCheckbox);
  AnswerFileDialog((folder / "a.mid").string());
  QImage previewed;  // the dialog starts with the time and canvas chosen last: the fitted notes painted over
  AnswerMidiImportDialog(std::nullopt, false, &previewed);
  Menu("File", "Import MIDI...");
  EXPECT_EQ(previewed.convertToFormat(QImage::Format_RGBX8888), RasterToImage(std::get<0>(before)));
  std::string title, text;
  AnswerFileDialog((folder / "bad.mid").string());
  DismissMessageBox(&title, &text);
  Menu("File", "Import MIDI...");
  EXPECT_EQ(text, "Could not import " + (folder / "bad.mid").string() + ": it is cut short inside track 2.");
  EXPECT_EQ(std::tuple(CanvasOf(PaintCanvas), UiGetState(RepeatCheckbox), settings()), std::tuple(std::get<0>(before), 1, std::get<2>(before)));

  // Export: the three strokes as notes.
  QString count;
  AnswerMidiExportDialog(16, true, &count);
  AnswerFileDialog((folder / "out").string());
  Menu("File", "Export MIDI...");
  const MidiReadOutcome written = ReadMidiFile((folder / "out.mid").string());
  ASSERT_TRUE(written.piece) << written.error;
  std::set<int> keys;
  for (const MidiNote& note : written.piece->notes) keys.insert(note.key);
  EXPECT_EQ(keys, (std::set<int>{60, 69, 81}));
  EXPECT_EQ(std::tuple(count.toStdString(), Shown()), std::tuple("3 notes", "Exported 3 notes to out.mid"));
  fs::remove_all(folder);
}

}  // namespace
