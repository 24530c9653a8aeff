// One rendering as "Load" and "Synthesize" would make it: the picture and its settings through the same
// Load and Save service, the program's band editor as a record without a window, the same synthesis.
#include <optional>
#include <string>

#include "distribution/band_editor.h"
#include "distribution/frequency_mapping.h"
#include "picture/document.h"
#include "render/render.h"
#include "sound/fast_render.h"
#include "sound/playback.h"
#include "sound/sound_file.h"

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

}  // namespace

int RunRender(const RenderOptions& options, std::ostream& err) {
  const LoadedDocument loaded = LoadDocument(options.image, options.settingsFile);
  if (!loaded.picture) {
    err << "vellora-render: cannot read " << options.image << ": " << loaded.pictureError << "\n";
    return RenderExitFailure;
  }
  if (!loaded.settings && !options.settingsFile.empty()) {
    err << "vellora-render: cannot read settings file " << options.settingsFile << "\n";
    return RenderExitFailure;
  }
  SettingsValues values = WithOptions(loaded.settings.value_or(SettingsValues{}), options);
  SynthSettingsRecord settings = SynthSettingsFromValues(values.integers);
  if ((options.from || options.to) && settings.FrqFrom > settings.FrqTo) {
    err << "vellora-render: --from (" << settings.FrqFrom << " Hz) is above --to (" << settings.FrqTo << " Hz)\n";
    return RenderExitUsage;
  }
  settings.BandCurveEdited = options.bandCurve ? 1 : 0;
  BandLevelEditor editor = ProgramBandEditorRecord();
  if (!values.bandPoints.empty()) ImportBandPointsInto(editor, values.bandPoints);

  const bool edited = settings.BandCurveEdited == 1;
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency,
                                 [&editor, edited](int row) { return BandLevelOf(editor, edited, row); }};
  const std::vector<float> sound = SynthesizeSound(*loaded.picture, settings, sources);

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
    const SavedDocument saved = SaveDocument(options.savePicture, *loaded.picture, values);
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
