// Start-up contents of the synthesis tables and the sound buffer.
#include "sound/sound_state.h"

std::vector<float> RowFrequency(1, 0.0f);
std::vector<float> RowLevel(1, 0.0f);
std::vector<float> PixelLevel(1, 0.0f);
int SynthesisWidth = 1;
int SynthesisHeight = 1;
std::int32_t SamplesPerColumn = 0;
std::vector<float> SoundBuffer(1, 0.0f);
std::int32_t SoundBufferRate = 0;

void ResetSoundState() {
  RowFrequency.assign(1, 0.0f);
  RowLevel.assign(1, 0.0f);
  PixelLevel.assign(1, 0.0f);
  SynthesisWidth = 1;
  SynthesisHeight = 1;
  SamplesPerColumn = 0;
  SoundBuffer.assign(1, 0.0f);
  SoundBufferRate = 0;
}
