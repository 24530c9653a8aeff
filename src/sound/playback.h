// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a block of mono float samples once on the default output through the audio library, and paces
// the scan cursor by the buffers the audio thread delivers.
#pragma once

#include <portaudio.h>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

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

// Buffers per sound: one per scan cursor column.
constexpr int BuffersPerSound = 380;
// The shortest playable sound: anything shorter gives no whole frame per buffer.
constexpr std::size_t MinimumPlayableSamples = BuffersPerSound + 1;
// Output latency asked of the library, in seconds.
constexpr double OutputLatency = 0.15;

// What the main thread does while a sound plays; either may be empty.
struct PlaybackHooks {
  std::function<void(std::int32_t x)> cursorStep;  // once per delivered buffer, x = 0, 1, 2, ... in order
  std::function<void()> idle;                      // once per 1 ms wait, to keep the windows painted
};

// How one playback went. error is paNoError when the sound was played to its end.
struct PlaybackOutcome {
  PaError error = paNoError;
  std::string errorText;            // the library's own text for error, empty on success
  std::int32_t buffersDelivered = 0;
  bool tooShort = false;            // fewer than MinimumPlayableSamples samples: nothing was attempted
};

// Frames per buffer for a sound of sampleCount samples: (sampleCount − 1) / BuffersPerSound.
unsigned long FramesPerBuffer(std::size_t sampleCount);
// How many of sampleCount samples a playback delivers, from the first: whole buffers of F = FramesPerBuffer frames
// while more than F + 1 samples remain, so ceil((sampleCount − 1) / F) − 1 of them; 0 for a sound too short to play.
std::size_t PlayedSampleCount(std::size_t sampleCount);

// Plays samples at sampleRate with the library initialised and terminated around it, and returns once
// the stream has finished and every owed cursor step has been made; a failing library call ends it early.
PlaybackOutcome PlaySamples(std::span<const float> samples, std::int32_t sampleRate, const PlaybackHooks& hooks);
