// The renderer uses the program's own reading, settings, band curve and synthesis: the picture stands in
// for the canvas and a window-less band editor record for the editor, then the synthesis steps run as
// "Synthesize" runs them.
#include "render/render_job.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>

#include "app/band_editor_setup.h"
#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/band_level_editor.h"
#include "picture/atomic_file.h"
#include "picture/bmp_writer.h"
#include "picture/file_read.h"
#include "picture/image_decode.h"
#include "picture/image_file.h"
#include "picture/settings_file_keys.h"
#include "picture/settings_values.h"
#include "picture/stretch.h"
#include "picture/surface.h"
#include "sound/playback_core.h"
#include "sound/sound_file.h"
#include "sound/sound_state.h"
#include "sound/synthesis.h"

namespace {

// Any number outside the main window's controls serves as the window-less editor's handle.
constexpr int RenderBandEditorNumber = 1000;

Raster renderPicture;

Raster* RenderCanvasPicture(int control) { return control == PaintCanvas ? &renderPicture : nullptr; }
void NoRepaint(int) {}

std::optional<Raster> LoadPicture(const std::string& path, std::ostream& err) {
  errno = 0;
  const FileReadOutcome read = ReadFileBytes(path, MaxImageFileBytes);
  if (!read.bytes) {
    err << "vellora-render: cannot read " << path << ": "
        << (read.exists ? (errno ? std::strerror(errno) : "not a regular file, or too large") : "no such file")
        << "\n";
    return std::nullopt;
  }
  std::optional<Raster> picture = ReadImageFile(*read.bytes);
  if (!picture) {
    err << "vellora-render: cannot read " << path << ": not a BMP or JPEG picture Vellora can read\n";
    return std::nullopt;
  }
  return StretchToSize(*picture, CanvasSize, CanvasSize);
}

void Override(SettingsValues& values, int control, const std::optional<int>& value) {
  if (value) values.integers[IntSettingKeyIndex(control)] = *value;
}

// The settings file's values with the options laid over them; start-up values when there is no file.
std::optional<SettingsValues> LoadSettings(const RenderOptions& options, std::ostream& err) {
  const bool named = !options.settingsFile.empty();
  const std::string path = named ? options.settingsFile : SettingsFileName(options.image);
  std::optional<SettingsValues> values = ReadSettingsValuesFile(path);
  if (!values && named) {
    err << "vellora-render: cannot read settings file " << path << "\n";
    return std::nullopt;
  }
  if (!values) {
    values.emplace();
    for (std::size_t i = 0; i < IntSettingKeys.size(); ++i) values->integers[i] = IntSettingKeys[i].defaultValue;
  }
  Override(*values, SoundDurationSlider, options.durationMs);
  Override(*values, SampleRateSlider, options.sampleRate);
  Override(*values, FrqFromSlider, options.from);
  Override(*values, FrqToSlider, options.to);
  if (options.distribution) {
    values->integers[IntSettingKeyIndex(DistributionCheckbox)] = 1;
    const int sliders[] = {DistASlider, DistBSlider, DistCSlider, DistDSlider};
    for (int i = 0; i < 4; ++i) values->integers[IntSettingKeyIndex(sliders[i])] = (*options.distribution)[i];
  }
  return values;
}

// Sets the program's state as Load followed by the given band curve use leaves it.
void TakeSettings(const SettingsValues& values, const Raster& picture, bool bandCurve) {
  ResetGlobals();
  ResetSoundState();
  SynthSettings = SynthSettingsFromValues(values);
  LastFrqFrom = SynthSettings.FrqFrom;
  LastFrqTo = SynthSettings.FrqTo;
  SynthSettings.BandCurveEdited = bandCurve ? 1 : 0;
  renderPicture = picture;
  SetCanvasHooks({RenderCanvasPicture, NoRepaint});
  BandLevelEditorNumber = AttachBandLevelEditor(RenderBandEditorNumber, ApplicationBandEditorRecord());
  if (!values.bandPoints.empty()) ImportBandPoints(BandLevelEditorNumber, values.bandPoints);
}

bool SavePicture(const std::string& path, const SettingsValues& values, std::ostream& err) {
  const FileWriteOutcome written = ReplaceFileContents(path, EncodeBmp24(renderPicture));
  if (!written.ok) {
    err << "vellora-render: cannot write " << path << ": " << std::strerror(written.error) << "\n";
    return false;
  }
  SettingsValues saved = values;
  if (ExportBandPoints(BandLevelEditorNumber, saved.bandPoints) == 0) saved.bandPoints.clear();
  for (std::size_t i = 0; i < IntSettingKeys.size(); ++i)
    saved.integers[i] = ClampedSettingValue(i, saved.integers[i]);
  if (!WriteSettingsValuesFile(SettingsFileName(path), saved)) {
    err << "vellora-render: cannot write " << SettingsFileName(path) << "\n";
    return false;
  }
  return true;
}

}  // namespace

int RunRender(const RenderOptions& options, std::ostream& err) {
  const std::optional<Raster> picture = LoadPicture(options.image, err);
  if (!picture) return RenderExitFailure;
  const std::optional<SettingsValues> values = LoadSettings(options, err);
  if (!values) return RenderExitFailure;
  const SynthSettingsRecord settings = SynthSettingsFromValues(*values);
  if ((options.from || options.to) && settings.FrqFrom > settings.FrqTo) {
    err << "vellora-render: --from (" << settings.FrqFrom << " Hz) is above --to (" << settings.FrqTo << " Hz)\n";
    return RenderExitUsage;
  }

  TakeSettings(*values, *picture, options.bandCurve);
  PrepareSynthesis();
  RenderSound();

  if (!options.output.empty()) {
    const SoundFileOutcome written = WriteSoundFile(options.output, SoundBuffer, SoundBufferRate,
                                                    SoundFormatForPath(options.output, options.pcm16));
    if (!written.ok) {
      err << "vellora-render: cannot write " << options.output << ": " << written.error << "\n";
      return RenderExitFailure;
    }
  }
  if (!options.savePicture.empty() && !SavePicture(options.savePicture, *values, err)) return RenderExitFailure;
  if (options.play) {
    const PlaybackOutcome played = PlaySamples(SoundBuffer, SoundBufferRate, PlaybackHooks{});
    if (played.error != 0) {
      err << "vellora-render: cannot play the sound: " << played.errorText << "\n";
      return RenderExitFailure;
    }
  }
  return RenderExitOk;
}
