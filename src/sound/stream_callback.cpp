// The stream callbacks: real-time safe, so they touch only the record they are given.
#include "sound/stream_callback.h"

int StreamCallback(const void* /*input*/, void* output, unsigned long frameCount,
                   const PaStreamCallbackTimeInfo* /*timeInfo*/, PaStreamCallbackFlags /*statusFlags*/,
                   void* userData) {
  auto* record = static_cast<PlaybackRecord*>(userData);
  auto* out = static_cast<float*>(output);
  const std::int32_t state = record->state.load(std::memory_order_acquire);
  if (state == PlaybackFinished) {
    // An unwritten buffer would be played as whatever it held.
    for (unsigned long k = 0; k < frameCount; ++k) out[k] = 0.0f;
    return paComplete;
  }
  if (state == PlaybackOpened) {
    record->playPosition = 0;
    record->buffersDelivered.store(0, std::memory_order_relaxed);
    record->state.store(PlaybackPlaying, std::memory_order_release);
  }

  const auto count = static_cast<std::int64_t>(record->sampleCount);
  for (unsigned long k = 0; k < frameCount; ++k) {
    const std::int64_t position = record->playPosition;
    out[k] = position < count ? record->samples[position] : 0.0f;
    record->playPosition = position + 1;
  }

  const auto frames = static_cast<std::int64_t>(frameCount);
  const int result = record->playPosition < (count - 1) - frames ? paContinue : paComplete;
  record->buffersDelivered.fetch_add(1, std::memory_order_release);
  return result;
}

void StreamFinished(void* userData) {
  static_cast<PlaybackRecord*>(userData)->state.store(PlaybackFinished, std::memory_order_release);
}
