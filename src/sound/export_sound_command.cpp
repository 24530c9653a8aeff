// The export command: the save dialog, the extension rule of Save, and a clear word when it fails.
#include "sound/export_sound_command.h"

#include <string>

#include "picture/save_name.h"
#include "sound/sound_file.h"
#include "sound/sound_state.h"
#include "ui/ui.h"

namespace {

constexpr const char* ExportTitle = "Export Sound";
constexpr const char* ExportFilters = "WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac";
constexpr int WavFilter = 0;

}  // namespace

void RunExportSoundCommand() {
  // SoundBufferRate is set by each synthesis; before the first there is nothing to export.
  if (SoundBufferRate <= 0) {
    UiMessageBox(ExportTitle, "Press Synthesize first: there is no sound to export yet.");
    return;
  }
  const FileChoice choice = UiFileDialog(true, ExportTitle, ExportFilters);
  if (choice.path.empty()) return;
  const bool wav = choice.filterIndex == WavFilter;
  const std::string path = NameWithExtension(choice.path, wav ? ".wav" : ".flac");
  const SoundFileOutcome outcome =
      WriteSoundFile(path, SoundBuffer, SoundBufferRate, wav ? SoundFileFormat::FloatWav : SoundFileFormat::Flac);
  if (!outcome.ok) UiMessageBox(ExportTitle, "Could not write " + path + ": " + outcome.error);
}
