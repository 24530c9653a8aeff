// SPDX-License-Identifier: GPL-3.0-or-later
// One rendering as "Load" (or "Import Sound..." or "Import MIDI...") and "Synthesize" would make it: the picture and its settings
// through the same Load and Save service, the program's band editor as a record without a window, the same
// synthesis.
#include <cstring>
#include <optional>
#include <string>

#include "distribution/band_editor.h"
#include "distribution/frequency_mapping.h"
#include "picture/document.h"
#include "render/render.h"
#include "sound/analysis.h"
#include "sound/fast_render.h"
#include "sound/midi_file.h"
#include "sound/midi_picture.h"
#include "picture/file_io.h"
#include "sound/playback.h"
#include "sound/readout_text.h"
#include "sound/sound_file.h"
#include "sound/sound_reader.h"

namespace {

void Override(SettingsValues& values, int setting, const std::optional<int>& value) {
  if (value) values.integers[setting] = *value;
}

// The settings file's values (start values without one) with the options laid over them.
SettingsValues WithOptions(SettingsValues values, const RenderOptions& options) {
  Override(values, DurationSetting, options.durationMs);
  Override(values, SampleRateSetting, options.sampleRate);
  Override(values, FrqFromSetting, options.from);
  Override(values, FrqToSetting, options.to);
  if (options.distribution) {
    values.integers[DistributionSetting] = 1;
    for (int i = 0; i < 4; ++i) values.integers[DistASetting + i] = (*options.distribution)[i];
  }
  return values;
}

// The picture to render and the settings to render it with, or the exit code of a failure.
struct RenderInput {
  std::optional<Raster> picture;
  SettingsValues values;
  int exitCode = RenderExitOk;
};

RenderInput ReadPicture(const RenderOptions& options, std::ostream& err) {
  RenderInput input;
  LoadedDocument loaded = LoadDocument(options.image, options.settingsFile);
  if (!loaded.picture) {
    err << "vellora-render: cannot read " << options.image << ": " << loaded.pictureError << "\n";
    input.exitCode = RenderExitFailure;
  } else if (!loaded.settings && !options.settingsFile.empty()) {
    err << "vellora-render: cannot read settings file " << options.settingsFile << "\n";
    input.exitCode = RenderExitFailure;
  }
  input.picture = std::move(loaded.picture);
  input.values = WithOptions(loaded.settings.value_or(SettingsValues{}), options);
  return input;
}

// The band editor synthesis reads its levels from: the settings file's points when it has them.
BandLevelEditor BandEditorFor(const SettingsValues& values) {
  BandLevelEditor editor = ProgramBandEditorRecord();
  if (!values.bandPoints.empty()) ImportBandPointsInto(editor, values.bandPoints);
  return editor;
}

// The sound's picture under the mapping the options give, with the duration and rate that play it back at
// its own pace unless the options set them, measured as it will be played: at that rate and, when the band
// curve is in force, divided by each row's level.
RenderInput AnalysePicture(const RenderOptions& options, std::ostream& err) {
  RenderInput input;
  const SoundReadOutcome read =
      ReadSoundFile(options.analyse, SoundReadRequest{LongestAnalysedSeconds, options.startSeconds, options.channel});
  if (!read.sound) {
    err << "vellora-render: cannot read " << options.analyse << ": " << read.error << "\n";
    input.exitCode = read.requestRefused ? RenderExitUsage : RenderExitFailure;
    return input;
  }
  std::optional<SettingsValues> base = SettingsValues{};
  if (!options.settingsFile.empty()) base = ReadSettingsValuesFile(options.settingsFile);
  if (!base) {
    err << "vellora-render: cannot read settings file " << options.settingsFile << "\n";
    input.exitCode = RenderExitFailure;
    return input;
  }
  const ReadSound& sound = *read.sound;
  const PlaybackPace pace = PaceOfSound(sound.samples.size(), sound.sampleRate);
  base->integers[DurationSetting] = pace.durationMs;
  base->integers[SampleRateSetting] = pace.sampleRate;
  input.values = WithOptions(*base, options);
  SoundSettingValues& integers = input.values.integers;

  AnalysisChoices choices = options.choices;
  choices.playRate = ClampedSettingValue(SampleRateSetting, integers[SampleRateSetting]);
  if (options.fitRange) {
    const FrequencyRange fitted =
        FitFrequencyRange(sound.samples, sound.sampleRate, SynthSettingsFromValues(integers), choices.playRate);
    integers[FrqFromSetting] = fitted.from;
    integers[FrqToSetting] = fitted.to;
  }
  if (options.bandCurve) {
    const BandLevelEditor editor = BandEditorFor(input.values);
    for (int row = 0; row < CanvasSize; ++row) choices.rowLevels.push_back(BandLevelOf(editor, true, row));
  }
  for (const std::string& note : SoundNotes(sound, {integers[DurationSetting], integers[SampleRateSetting]}))
    err << "vellora-render: " << options.analyse << ": " << note << "\n";
  input.picture = AnalyseSound(sound.samples, sound.sampleRate, SynthSettingsFromValues(integers), choices);
  return input;
}

// The settings file's values, or the start values without one; none when the file named cannot be read.
std::optional<SettingsValues> BaseSettings(const RenderOptions& options, std::ostream& err) {
  if (options.settingsFile.empty()) return SettingsValues{};
  std::optional<SettingsValues> values = ReadSettingsValuesFile(options.settingsFile);
  if (!values) err << "vellora-render: cannot read settings file " << options.settingsFile << "\n";
  return values;
}

// The tracks and channels the options name, or the start choice for those they leave out.
NoteChoice NoteChoiceOf(const RenderOptions& options, int trackCount) {
  NoteChoice choice = StartNoteChoice(trackCount);
  if (!options.tracks.empty()) {
    choice.tracks.assign(choice.tracks.size(), false);
    for (int track : options.tracks)
      if (track <= trackCount) choice.tracks[static_cast<std::size_t>(track - 1)] = true;
  }
  if (!options.channels.empty()) {
    choice.channels.fill(false);
    for (int channel : options.channels) choice.channels[static_cast<std::size_t>(channel - 1)] = true;
  }
  choice.fitDuration = options.fitDuration;
  return choice;
}

// The MIDI file's notes drawn on black: at the piece's own pace over a duration its length (within the slider),
// unless the options set the duration or ask for the piece fitted into it.
RenderInput DrawMidiPicture(const RenderOptions& options, std::ostream& err) {
  RenderInput input;
  const MidiReadOutcome read = ReadMidiFile(options.midi);
  if (!read.piece) {
    err << "vellora-render: cannot read " << options.midi << ": " << read.error << "\n";
    input.exitCode = RenderExitFailure;
    return input;
  }
  std::optional<SettingsValues> base = BaseSettings(options, err);
  if (!base) {
    input.exitCode = RenderExitFailure;
    return input;
  }
  const NoteChoice choice = NoteChoiceOf(options, static_cast<int>(read.piece->trackNames.size()));
  const std::vector<MidiNote> notes = ChosenNotes(*read.piece, choice);
  const double seconds = PieceSeconds(notes);
  if (!choice.fitDuration) base->integers[DurationSetting] = DurationForSeconds(seconds);
  input.values = WithOptions(*base, options);
  const SynthSettingsRecord settings = SynthSettingsFromValues(input.values.integers);
  const double scale = choice.fitDuration && seconds > 0.0 ? (CanvasSize - 1) * ColumnSeconds(settings) / seconds : 1.0;
  Raster picture(CanvasSize, CanvasSize);
  for (const std::string& remark : NotesDrawnRemarks(DrawNotes(notes, settings, scale, picture)))
    err << "vellora-render: " << options.midi << ": " << remark << "\n";
  input.picture = std::move(picture);
  return input;
}

// The picture's notes under the settings, written to the file --save-midi names.
bool SaveMidi(const RenderOptions& options, const Raster& picture, const SynthSettingsRecord& settings,
              std::ostream& err) {
  const PictureNotes found = NotesOfPicture(picture, settings, options.silenceBelow);
  const MidiEncoding encoding = EncodeMidiFile(found.notes);
  const FileWriteOutcome written = ReplaceFileContents(options.saveMidi, encoding.bytes);
  if (!written.ok) {
    err << "vellora-render: cannot write " << options.saveMidi << ": " << std::strerror(written.error) << "\n";
    return false;
  }
  for (const std::string& remark : NotesWrittenRemarks(found.rowsWithoutKey, encoding.notesUnbent))
    err << "vellora-render: " << options.saveMidi << ": " << remark << "\n";
  return true;
}

}  // namespace

int RunRender(const RenderOptions& options, std::ostream& err) {
  RenderInput input = !options.analyse.empty() ? AnalysePicture(options, err)
                      : !options.midi.empty() ? DrawMidiPicture(options, err)
                                              : ReadPicture(options, err);
  if (input.exitCode != RenderExitOk) return input.exitCode;
  SettingsValues& values = input.values;
  const Raster& picture = *input.picture;
  SynthSettingsRecord settings = SynthSettingsFromValues(values.integers);
  if ((options.from || options.to) && settings.FrqFrom > settings.FrqTo) {
    err << "vellora-render: --from (" << settings.FrqFrom << " Hz) is above --to (" << settings.FrqTo << " Hz)\n";
    return RenderExitUsage;
  }
  settings.BandCurveEdited = options.bandCurve ? 1 : 0;
  BandLevelEditor editor = BandEditorFor(values);

  const bool edited = settings.BandCurveEdited == 1;
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency,
                                 [&editor, edited](int row) { return BandLevelOf(editor, edited, row); }};
  // Only a sound to write or play is synthesised.
  const bool wanted = !options.output.empty() || options.play;
  const std::vector<float> sound = wanted ? SynthesizeSound(picture, settings, sources) : std::vector<float>{};

  if (!options.output.empty()) {
    const SoundFileOutcome written =
        WriteSoundFile(options.output, sound, settings.SampleRate, SoundFormatForPath(options.output, options.pcm16));
    if (!written.ok) {
      err << "vellora-render: cannot write " << options.output << ": " << written.error << "\n";
      return RenderExitFailure;
    }
  }
  if (!options.savePicture.empty()) {
    values.bandPoints = ExportBandPointsOf(editor);
    for (int i = 0; i < SoundSettingCount; ++i) values.integers[i] = ClampedSettingValue(i, values.integers[i]);
    const SavedDocument saved = SaveDocument(options.savePicture, picture, values);
    if (!saved.ok) {
      err << "vellora-render: cannot write " << saved.failedPath;
      if (!saved.pictureWritten) err << ": " << saved.reason;
      err << "\n";
      return RenderExitFailure;
    }
  }
  if (!options.saveMidi.empty() && !SaveMidi(options, picture, settings, err)) return RenderExitFailure;
  if (options.play) {
    const PlaybackOutcome played = PlaySamples(sound, settings.SampleRate, PlaybackHooks{});
    if (played.error != 0) {
      err << "vellora-render: cannot play the sound: " << played.errorText << "\n";
      return RenderExitFailure;
    }
  }
  return RenderExitOk;
}
