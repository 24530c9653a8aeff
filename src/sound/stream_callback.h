// The audio thread's side of one playback: copies samples and counts delivered buffers, nothing else.
#pragma once

#include <portaudio.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

// Values of the playback state word.
constexpr std::int32_t PlaybackFinished = 0;
constexpr std::int32_t PlaybackOpened = 1;
constexpr std::int32_t PlaybackPlaying = 2;

// One playback, shared by the main thread and the audio thread through the atomics only.
struct PlaybackRecord {
  const float* samples = nullptr;  // read-only while the stream runs
  std::size_t sampleCount = 0;
  std::atomic<std::int32_t> state{PlaybackOpened};
  std::atomic<std::int32_t> buffersDelivered{0};  // one scan cursor step is owed for each
  std::int64_t playPosition = 0;                  // audio thread only: index of the next sample to deliver
};

// The stream callback (userData is a PlaybackRecord): writes frameCount samples, silence past the end of
// the samples, and asks for more while more than frameCount + 1 samples remain; never allocates or locks.
int StreamCallback(const void* input, void* output, unsigned long frameCount,
                   const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags statusFlags, void* userData);
// The stream-finished callback (userData is a PlaybackRecord): marks the playback finished.
void StreamFinished(void* userData);
