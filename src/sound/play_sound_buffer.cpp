// PlaySoundBuffer: the playback core with the real cursor, the paint-only wait and the error message box.
#include "sound/play_sound_buffer.h"

#include "app/settings.h"
#include "sound/playback_core.h"
#include "sound/scan_cursor.h"
#include "sound/sound_state.h"
#include "ui/ui.h"

void PlaySoundBuffer() {
  PlaybackHooks hooks;
  hooks.cursorStep = [](std::int32_t x) { DrawScanCursor(x); };
  hooks.idle = [] { UiProcessPaintOnly(); };
  const PlaybackOutcome outcome = PlaySamples(SoundBuffer, SynthSettings.SampleRate, hooks);
  // When the last buffer was still within the picture its cursor line would otherwise stay there.
  if (outcome.buffersDelivered > 0) RestoreCanvasPicture();
  if (outcome.error != paNoError) UiMessageBox("", outcome.errorText);
}
