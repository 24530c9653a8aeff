// SPDX-License-Identifier: GPL-3.0-or-later
// One playback: the stream callbacks on the audio thread (real-time safe: they touch only the record
// they are given) and, on the main thread, open, start and wait in 1 ms steps drawing the owed cursor steps.
#include "sound/playback.h"

#include <chrono>
#include <thread>

#include "sound/audio_diagnostics.h"

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

namespace {

constexpr std::chrono::milliseconds WaitStep{1};

// Called with standard error muted.
PlaybackOutcome Failure(PaError error) {
  PlaybackOutcome outcome;
  outcome.error = error;
  outcome.errorText = Pa_GetErrorText(error);
  Pa_Terminate();
  return outcome;
}

// Makes the cursor steps owed for the buffers delivered so far; returns the new count of steps made.
std::int32_t CatchUpCursor(const PlaybackRecord& record, std::int32_t made, const PlaybackHooks& hooks) {
  const std::int32_t delivered = record.buffersDelivered.load(std::memory_order_acquire);
  for (; made < delivered; ++made)
    if (hooks.cursorStep) hooks.cursorStep(made);
  return made;
}

}  // namespace

unsigned long FramesPerBuffer(std::size_t sampleCount) {
  return sampleCount == 0 ? 0 : static_cast<unsigned long>((sampleCount - 1) / BuffersPerSound);
}

std::size_t PlayedSampleCount(std::size_t sampleCount) {
  if (sampleCount < MinimumPlayableSamples) return 0;
  const std::size_t frames = FramesPerBuffer(sampleCount);
  return ((sampleCount - 1 + frames - 1) / frames - 1) * frames;
}

PlaybackOutcome PlaySamples(std::span<const float> samples, std::int32_t sampleRate, const PlaybackHooks& hooks) {
  if (samples.size() < MinimumPlayableSamples) {
    PlaybackOutcome outcome;
    outcome.tooShort = true;
    return outcome;
  }

  // The libraries probe every host API and device here and report each failure on standard error.
  SilenceAudioLibraries();
  PlaybackRecord record;
  record.samples = samples.data();
  record.sampleCount = samples.size();
  record.state.store(PlaybackOpened);
  PaStream* stream = nullptr;
  {
    const StandardErrorMuted muted;
    PaError code = Pa_Initialize();
    if (code != paNoError) return Failure(code);

    PaStreamParameters output{};
    output.device = Pa_GetDefaultOutputDevice();
    output.channelCount = 1;
    output.sampleFormat = paFloat32;
    output.suggestedLatency = OutputLatency;
    output.hostApiSpecificStreamInfo = nullptr;

    code = Pa_OpenStream(&stream, nullptr, &output, static_cast<double>(sampleRate), FramesPerBuffer(samples.size()),
                         paNoFlag, &StreamCallback, &record);
    if (code != paNoError) return Failure(code);
    Pa_SetStreamFinishedCallback(stream, &StreamFinished);
    code = Pa_StartStream(stream);
    if (code != paNoError) return Failure(code);
  }

  std::int32_t made = 0;
  for (;;) {
    // Read the state first: once it says finished, every buffer it covers has been counted.
    const bool finished = record.state.load(std::memory_order_acquire) == PlaybackFinished;
    made = CatchUpCursor(record, made, hooks);
    // A stream that stopped on its own without finishing (a device failure) must not keep us waiting.
    if (finished || Pa_IsStreamActive(stream) != 1) break;
    if (hooks.idle) hooks.idle();
    std::this_thread::sleep_for(WaitStep);
  }

  {
    const StandardErrorMuted muted;
    Pa_StopStream(stream);
    Pa_Terminate();
  }
  made = CatchUpCursor(record, made, hooks);

  PlaybackOutcome outcome;
  outcome.buffersDelivered = made;
  return outcome;
}
