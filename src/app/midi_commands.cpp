// SPDX-License-Identifier: GPL-3.0-or-later
// Import MIDI (a MIDI file's notes drawn as strokes on the rows heard at their pitches, chosen in a dialog that shows
// the picture) and Export MIDI (the canvas's runs of lit pixels written as notes).
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "picture/document.h"
#include "picture/file_io.h"
#include "picture/surface.h"
#include "sound/midi_file.h"
#include "sound/midi_picture.h"
#include "sound/readout_text.h"

namespace {

constexpr const char* ImportTitle = "Import MIDI";
constexpr const char* ExportTitle = "Export MIDI";
constexpr const char* ImportFilters = "MIDI|*.mid;*.midi;*.smf;*.kar|All files|*";
constexpr const char* ExportFilters = "MIDI (*.mid)|*.mid";

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

MidiFileFacts FactsOf(const std::string& path, const MidiPiece& piece) {
  MidiFileFacts facts;
  facts.name = BaseName(path);
  facts.seconds = PieceSeconds(piece.notes);
  std::vector<std::size_t> trackNotes(piece.trackNames.size());
  for (const MidiNote& note : piece.notes) {
    ++trackNotes[static_cast<std::size_t>(note.track)];
    ++facts.channelNotes[static_cast<std::size_t>(note.channel)];
  }
  for (std::size_t track = 0; track < piece.trackNames.size(); ++track) {
    std::string label = std::to_string(track + 1);
    if (!piece.trackNames[track].empty()) label += " " + piece.trackNames[track];
    facts.tracks.push_back(label + " (" + std::to_string(trackNotes[track]) + " notes)");
  }
  return facts;
}

// The piece's notes under the choice, drawn as they will land on the canvas with the Sound Duration they take.
struct MidiDrawing {
  Raster picture;
  NotesDrawn drawn;
  int durationMs = 0;
};

MidiDrawing DrawingOf(const MidiPiece& piece, const NoteChoice& choice, const SynthSettingsRecord& current,
                      const Raster& canvas) {
  MidiDrawing made;
  const std::vector<MidiNote> notes = ChosenNotes(piece, choice);
  const double seconds = PieceSeconds(notes);
  SynthSettingsRecord settings = current;
  made.durationMs = choice.fitDuration ? static_cast<int>(std::lround(current.Duration * 1000.0)) : DurationForSeconds(seconds);
  settings.Duration = DurationFromMilliseconds(made.durationMs);
  const double scale = choice.fitDuration && seconds > 0.0 ? (CanvasSize - 1) * ColumnSeconds(settings) / seconds : 1.0;
  made.picture = choice.paintOver ? canvas : Raster(CanvasSize, CanvasSize);
  made.drawn = DrawNotes(notes, settings, scale, made.picture);
  return made;
}

std::string Joined(const std::vector<std::string>& remarks) {
  std::string text;
  for (const std::string& remark : remarks) text += (text.empty() ? "" : "\n") + remark;
  return text;
}

}  // namespace

void RunImportMidiCommand() {
  const FileChoice file = UiFileDialog(false, ImportTitle, ImportFilters);
  if (file.path.empty()) return;
  const MidiReadOutcome read = ReadMidiFile(file.path);
  if (!read.piece) {
    UiMessageBox(ImportTitle, "Could not import " + file.path + ": " + read.error + ".");
    return;
  }
  const MidiPiece& piece = *read.piece;
  const Raster* shown = CanvasPicture(PaintCanvas);
  const Raster canvas = shown ? *shown : Raster(CanvasSize, CanvasSize);
  const SynthSettingsRecord settings = SynthSettings;
  const std::string name = BaseName(file.path);
  NoteChoice choice = StartNoteChoice(static_cast<int>(piece.trackNames.size()));
  choice.fitDuration = LastMidiChoice.fitDuration;
  choice.paintOver = LastMidiChoice.paintOver;
  const MidiPreviewMaker preview = [&](const NoteChoice& asked) {
    const MidiDrawing made = DrawingOf(piece, asked, settings, canvas);
    return MidiPreview{made.picture, MidiImportReadoutText(name, made.drawn, made.durationMs)};
  };
  if (!UiMidiImportDialog(FactsOf(file.path, piece), choice, preview)) return;
  LastMidiChoice = choice;
  MidiDrawing made = DrawingOf(piece, choice, settings, canvas);
  // As Load does: the picture is new, so Repeat is unticked; the slider's own handler takes a new duration.
  ResetRepeat();
  if (!choice.fitDuration) {
    UiSetState(SoundDurationSlider, made.durationMs);
    HandleSoundDurationSlider();
  }
  ShowOnCanvas(PaintCanvas, &made.picture);
  ShowReadoutUntilNextCommand(MidiImportReadoutText(name, made.drawn, made.durationMs));
}

void RunExportMidiCommand() {
  const Raster* shown = CanvasPicture(PaintCanvas);
  if (!shown) return;
  const Raster canvas = *shown;
  const SynthSettingsRecord settings = SynthSettings;
  int silenceBelow = LastMidiSilenceBelow;
  const auto count = [&](int threshold) {
    const PictureNotes found = NotesOfPicture(canvas, settings, threshold);
    const std::string notes = std::to_string(found.notes.size()) + (found.notes.size() == 1 ? " note" : " notes");
    const std::string remarks = Joined(NotesWrittenRemarks(found.rowsWithoutKey, EncodeMidiFile(found.notes).notesUnbent));
    return notes + (remarks.empty() ? "" : "\n" + remarks);
  };
  if (!UiMidiExportDialog(silenceBelow, count)) return;
  LastMidiSilenceBelow = silenceBelow;
  const FileChoice file = UiFileDialog(true, ExportTitle, ExportFilters);
  if (file.path.empty()) return;
  const std::string path = NameWithExtension(file.path, ".mid");
  const PictureNotes found = NotesOfPicture(canvas, settings, silenceBelow);
  const MidiEncoding encoding = EncodeMidiFile(found.notes);
  const FileWriteOutcome written = ReplaceFileContents(path, encoding.bytes);
  if (!written.ok) {
    UiMessageBox(ExportTitle, "Could not write " + path + ": " + std::strerror(written.error) + ".");
    return;
  }
  ShowReadoutUntilNextCommand(MidiExportReadoutText(BaseName(path), found.notes.size(), found.rowsWithoutKey,
                                                    encoding.notesUnbent));
}
