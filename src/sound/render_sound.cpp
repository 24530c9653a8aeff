// RenderSound and NormalizeSound: the sample loop and the peak scaling on SoundBuffer.
#include <new>

#include "app/settings.h"
#include "sound/fast_render.h"
#include "sound/sound_state.h"
#include "sound/synthesis.h"
#include "sound/synthesis_core.h"

void RenderSound() {
  const RenderParameters parameters{SynthSettings.SampleRate, SynthSettings.Duration, SynthSettings.SampleCount,
                                    SynthSettings.PhaseFactor};
  try {
    const SynthesisTables tables{SynthesisWidth, SynthesisHeight, RowFrequency, RowLevel, PixelLevel};
    SoundBuffer = RenderSamplesFast(tables, parameters);  // every sample is new, none of the old buffer is kept
    SamplesPerColumn = ComputeSamplesPerColumn(parameters.sampleRate, parameters.duration, SynthesisWidth);
    SoundBufferRate = parameters.sampleRate;
  } catch (const std::bad_alloc&) {
    // Too little memory for this sound: keep no sound at all, so nothing stale is played as if it were new.
    SoundBuffer.assign(1, 0.0f);
    return;
  }
  NormalizeSound();
}

void NormalizeSound() { NormalizeSamples(SoundBuffer); }
