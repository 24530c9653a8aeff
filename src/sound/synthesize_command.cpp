// The handler of SynthesizeButton.
#include "sound/synthesize_command.h"

#include "app/control_ids.h"
#include "app/settings.h"
#include "picture/surface.h"
#include "sound/play_sound_buffer.h"
#include "sound/playback_core.h"
#include "sound/sound_state.h"
#include "sound/synthesis.h"

void RunSynthesizeCommand() {
  const ImageRef snapshot = NewImage(CanvasImage, CanvasSize, CanvasSize);
  if (snapshot && BeginDrawing(HandleTarget(snapshot))) {
    BlitImage(CanvasPicture(PaintCanvas), 0, 0);
    EndDrawing();
  }
  // Repeat replays the last sound; before the first synthesis there is none, so make it now.
  const bool haveSound = SoundBuffer.size() >= MinimumPlayableSamples;
  if (RepeatFlag != 1 || !haveSound) {
    PrepareSynthesis();
    RenderSound();
  }
  PlaySoundBuffer();
}
