// SPDX-License-Identifier: GPL-3.0-or-later
// One rendering as "Load" (or "Import Sound...") and "Synthesize" would make it: the picture and its settings
// through the same Load and Save service, the program's band editor as a record without a window, the same
// synthesis.
#include <optional>
#include <string>

#include "distribution/band_editor.h"
#include "distribution/frequency_mapping.h"
#include "picture/document.h"
#include "render/render.h"
#include "sound/analysis.h"
#include "sound/fast_render.h"
#include "sound/playback.h"
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

}  // namespace

int RunRender(const RenderOptions& options, std::ostream& err) {
  RenderInput input = options.analyse.empty() ? ReadPicture(options, err) : AnalysePicture(options, err);
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
  if (options.play) {
    const PlaybackOutcome played = PlaySamples(sound, settings.SampleRate, PlaybackHooks{});
    if (played.error != 0) {
      err << "vellora-render: cannot play the sound: " << played.errorText << "\n";
      return RenderExitFailure;
    }
  }
  return RenderExitOk;
}
