// One playback through the audio library: open, start, wait in 1 ms steps while drawing the owed cursor steps.
#include "sound/playback_core.h"

#include <chrono>
#include <thread>

#include "sound/stream_callback.h"

namespace {

constexpr std::chrono::milliseconds WaitStep{1};

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

PlaybackOutcome PlaySamples(std::span<const float> samples, std::int32_t sampleRate, const PlaybackHooks& hooks) {
  if (samples.size() < MinimumPlayableSamples) {
    PlaybackOutcome outcome;
    outcome.tooShort = true;
    return outcome;
  }

  PaError code = Pa_Initialize();
  if (code != paNoError) return Failure(code);

  PaStreamParameters output{};
  output.device = Pa_GetDefaultOutputDevice();
  output.channelCount = 1;
  output.sampleFormat = paFloat32;
  output.suggestedLatency = OutputLatency;
  output.hostApiSpecificStreamInfo = nullptr;

  PlaybackRecord record;
  record.samples = samples.data();
  record.sampleCount = samples.size();
  record.state.store(PlaybackOpened);

  PaStream* stream = nullptr;
  code = Pa_OpenStream(&stream, nullptr, &output, static_cast<double>(sampleRate), FramesPerBuffer(samples.size()),
                       paNoFlag, &StreamCallback, &record);
  if (code != paNoError) return Failure(code);
  Pa_SetStreamFinishedCallback(stream, &StreamFinished);
  code = Pa_StartStream(stream);
  if (code != paNoError) return Failure(code);

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

  Pa_StopStream(stream);
  made = CatchUpCursor(record, made, hooks);
  Pa_Terminate();

  PlaybackOutcome outcome;
  outcome.buffersDelivered = made;
  return outcome;
}
