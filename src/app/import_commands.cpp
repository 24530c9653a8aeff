// SPDX-License-Identifier: GPL-3.0-or-later
// Import Sound: a sound file read once and kept, its picture made for each of the Import dialog's choices as
// they change, and on OK that picture on the canvas with the sliders that play it back at its own pace.
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "picture/surface.h"
#include "sound/analysis.h"
#include "sound/analysis_bands.h"
#include "sound/analysis_picture.h"
#include "sound/readout_text.h"
#include "sound/sound_reader.h"

namespace {

constexpr const char* ImportTitle = "Import Sound";
constexpr const char* ImportFilters = "Sound|*.wav;*.flac;*.ogg;*.oga;*.aif;*.aiff;*.aifc|All files|*";

// The file, the stretch and channel of it in memory, what was measured of it and the last picture made. The
// dialog makes its pictures on a thread of its own, so the settings they are made with are copied in before it
// opens. Measuring is the slow part: a new scale, range or gain only draws the same levels again.
struct ImportSession {
  std::string path;
  SynthSettingsRecord mapping;
  std::vector<float> rowLevels;
  SoundReadRequest request;
  ReadSound sound;
  PlaybackPace pace;
  std::optional<SoundSpectrum> spectrum;  // of the stretch in memory, shared by every measurement of it
  std::optional<FrequencyRange> fitted;   // of the stretch in memory
  std::optional<ImportChoice> measuredFor;
  MeasuredLevels measured;
  SynthSettingsRecord measuredWith;
  std::optional<ImportChoice> madeFor;
  ImportPreview made;
  std::string failure;  // why the last choice gave no picture
};

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

SoundReadRequest RequestFor(const ImportChoice& choice) {
  return {LongestAnalysedSeconds, choice.startMs / 1000.0, choice.channel};
}

// Reads the file again only when the stretch or the channel is not the one in memory.
std::string TakeStretch(ImportSession& session, const ImportChoice& choice) {
  const SoundReadRequest wanted = RequestFor(choice);
  if (wanted.startSeconds == session.request.startSeconds && wanted.channel == session.request.channel) return {};
  SoundReadOutcome read = ReadSoundFile(session.path, wanted);
  if (!read.sound) return read.error;
  session.sound = std::move(*read.sound);
  session.request = wanted;
  session.spectrum.reset();
  session.fitted.reset();
  session.measuredFor.reset();
  return {};
}

// The same levels serve choices that differ only in how they are drawn.
bool MeasuredAlike(const ImportChoice& a, const ImportChoice& b) {
  return a.channel == b.channel && a.startMs == b.startMs && a.nearestRow == b.nearestRow && a.fitRange == b.fitRange;
}

// The band level synthesis will give each row, while the curve is in use; none while every row plays at 0.5.
std::vector<float> RowLevelsInUse() {
  std::vector<float> levels;
  if (SynthSettings.BandCurveEdited != 1) return levels;
  for (int row = 0; row < CanvasSize; ++row) levels.push_back(BandLevel(row));
  return levels;
}

// The picture and notes of the sound under the choice, and the pace that plays it; failure says why.
ImportPreview PictureOf(ImportSession& session, const ImportChoice& choice) {
  ImportPreview made;
  session.failure = TakeStretch(session, choice);
  if (!session.failure.empty()) {
    made.error = "This stretch or channel cannot be read: " + session.failure + ".";
    return made;
  }
  const ReadSound& sound = session.sound;
  session.pace = PaceOfSound(sound.samples.size(), sound.sampleRate);
  AnalysisChoices analysis;
  analysis.scale = choice.decibels ? AnalysisScale::Decibels : AnalysisScale::Linear;
  analysis.rangeDb = choice.rangeDb;
  analysis.gainDb = choice.gainDb;
  analysis.placement = choice.nearestRow ? RowPlacement::Nearest : RowPlacement::Between;
  analysis.playRate = session.pace.sampleRate;
  analysis.rowLevels = session.rowLevels;
  if (sound.samples.empty()) return made;  // nothing to measure: a black picture
  if (!session.measuredFor || !MeasuredAlike(*session.measuredFor, choice)) {
    // The rows are measured as Synthesize will play them: the mapping of the moment, its range fitted first.
    SynthSettingsRecord mapping = session.mapping;
    if (!session.spectrum) session.spectrum = SpectrumOfSound(sound.samples, sound.sampleRate);
    if (choice.fitRange) {
      if (!session.fitted) session.fitted = FitFrequencyRange(*session.spectrum, mapping, session.pace.sampleRate);
      mapping.FrqFrom = session.fitted->from;
      mapping.FrqTo = session.fitted->to;
    }
    session.measuredFor.reset();
    session.measured = MeasureSound(*session.spectrum, mapping, analysis);
    session.measuredWith = mapping;
    session.measuredFor = choice;
  }
  made.picture = PictureOfLevels(session.measured, analysis);
  made.notes = SoundNotes(sound, session.pace);
  made.frqFrom = session.measuredWith.FrqFrom;
  made.frqTo = session.measuredWith.FrqTo;
  return made;
}

// PictureOf, kept for the same choice; too little memory for it is a failure like any other.
const ImportPreview& MakeImportPicture(ImportSession& session, const ImportChoice& choice) {
  if (session.madeFor == choice) return session.made;
  session.madeFor = choice;
  try {
    session.made = PictureOf(session, choice);
  } catch (const std::bad_alloc&) {
    session.failure = "there is not enough memory for its picture";
    session.made = ImportPreview{};
    session.made.error = "There is not enough memory for this picture.";
  }
  return session.made;
}

ImportSoundFacts FactsOf(const ImportSession& session) {
  const ReadSound& sound = session.sound;
  ImportSoundFacts facts;
  facts.name = BaseName(session.path);
  facts.seconds = static_cast<double>(sound.fileFrames) / sound.sampleRate;
  facts.sampleRate = sound.sampleRate;
  facts.channels = sound.channels;
  // The stretch is a whole one wherever it starts: it ends at the file's last frame at the latest.
  const double lastFrameSeconds = static_cast<double>(sound.fileFrames - 1) / sound.sampleRate;
  const double lastStartMs = 1000.0 * (lastFrameSeconds - LongestAnalysedSeconds);
  facts.latestStartMs = lastStartMs > 0.0 ? static_cast<int>(lastStartMs) : 0;
  return facts;
}

void SetFrqFrom(int from) {
  UiSetState(FrqFromSlider, from);
  HandleFrqFromSlider();
}

void SetFrqTo(int to) {
  UiSetState(FrqToSlider, to);
  HandleFrqToSlider();
}

// Frq From and Frq To through their handlers, in the order in which neither holds the other back.
void SetFrequencyRange(int from, int to) {
  if (from > LastFrqTo) {
    SetFrqTo(to);
    SetFrqFrom(from);
  } else {
    SetFrqFrom(from);
    SetFrqTo(to);
  }
}

}  // namespace

void RunImportSoundCommand() {
  const FileChoice file = UiFileDialog(false, ImportTitle, ImportFilters);
  if (file.path.empty()) return;
  ImportSession session;
  session.path = file.path;
  ImportChoice choice = LastImportChoice;
  choice.channel = 0;
  choice.startMs = 0;
  session.request = RequestFor(choice);
  SoundReadOutcome read = ReadSoundFile(file.path, session.request);
  if (!read.sound) {
    UiMessageBox(ImportTitle, "Could not import " + file.path + ": " + read.error + ".");
    return;
  }
  session.sound = std::move(*read.sound);
  session.mapping = SynthSettings;
  session.rowLevels = RowLevelsInUse();
  const ImportPreviewMaker preview = [&session](const ImportChoice& shown) {
    return MakeImportPicture(session, shown);
  };
  if (!UiImportDialog(FactsOf(session), choice, preview)) return;
  const ImportPreview& made = MakeImportPicture(session, choice);
  if (!made.error.empty()) {
    UiMessageBox(ImportTitle, "Could not import " + file.path + ": " + session.failure + ".");
    return;
  }
  LastImportChoice = choice;
  // The sliders' own handlers take the new values into the settings and untick Repeat.
  UiSetState(SoundDurationSlider, session.pace.durationMs);
  HandleSoundDurationSlider();
  UiSetState(SampleRateSlider, session.pace.sampleRate);
  HandleSampleRateSlider();
  if (choice.fitRange) SetFrequencyRange(made.frqFrom, made.frqTo);
  Raster picture = made.picture;
  ShowOnCanvas(PaintCanvas, &picture);
  const ReadSound& sound = session.sound;
  ShowReadoutUntilNextCommand(ImportReadoutText(BaseName(file.path), sound.samples.size(), sound.fileFrames,
                                                sound.sampleRate, session.pace.durationMs, session.pace.sampleRate,
                                                sound.firstFrame));
}
