// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes decoded as Import Sound reads a sound file, once whole, once cut short of its end and
// once as a stretch from a later start (of the mix, or of a channel the input picks), with the outcome's
// promises checked: a sound or a reason, finite samples, rates and channels in bounds, never more samples than
// asked for, the peaks those of the samples, the cut sound the start of the whole one, and a stretch of a file
// read whole the whole one's samples from where it starts, or a refusal of the request when it starts past it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sound/sound_reader.h"

namespace {

constexpr double WholeSeconds = 8.0;  // long enough to read most inputs whole
constexpr double CutSeconds = 0.01;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckOutcome(const SoundReadOutcome& outcome, const SoundReadRequest& request) {
  Check(outcome.sound.has_value() == outcome.error.empty());
  if (!outcome.sound) {
    Check(outcome.error.back() != '.');
    return;
  }
  const ReadSound& sound = *outcome.sound;
  Check(!outcome.requestRefused && sound.channel == request.channel);
  Check(sound.sampleRate >= MinimumSoundRate && sound.sampleRate <= MaximumSoundRate);
  Check(sound.channels >= 1 && sound.channels <= MaximumSoundChannels);
  Check(sound.firstFrame == static_cast<std::int64_t>(std::nearbyint(request.startSeconds * sound.sampleRate)));
  const auto cap = static_cast<std::int64_t>(std::floor(request.maxSeconds * sound.sampleRate)) + 1;
  Check(static_cast<std::int64_t>(sound.samples.size()) == std::min(cap, sound.fileFrames - sound.firstFrame));
  double peak = 0.0;
  for (float sample : sound.samples) {
    Check(std::isfinite(sample));
    peak = std::max(peak, static_cast<double>(std::fabs(sample)));
  }
  Check(sound.peak == peak && sound.channelPeaks.size() == static_cast<std::size_t>(sound.channels));
  for (double channelPeak : sound.channelPeaks) Check(channelPeak >= 0 && std::isfinite(channelPeak));
  // A channel alone peaks where its samples do, but for their rounding to single precision.
  if (sound.channel > 0)
    Check(std::fabs(sound.peak - sound.channelPeaks[sound.channel - 1]) <= 6e-8 * sound.peak + 1.5e-45);
}

}  // namespace

// libsndfile 1.2 leaves libvorbis's stream description allocated when it gives up on a malformed Ogg header
// (sf_open alone shows it); nothing of ours holds that memory or could free it.
extern "C" const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const SoundReadRequest wholeRequest{WholeSeconds}, cutRequest{CutSeconds};
  // The stretch: from a little way in, of the mix or of the first or second channel, as the input's size says.
  const SoundReadRequest stretchRequest{WholeSeconds, 0.004, static_cast<int>(size % 3)};
  const SoundReadOutcome whole = DecodeSoundBytes(bytes, wholeRequest);
  CheckOutcome(whole, wholeRequest);
  const SoundReadOutcome cut = DecodeSoundBytes(bytes, cutRequest);
  CheckOutcome(cut, cutRequest);
  const SoundReadOutcome stretch = DecodeSoundBytes(bytes, stretchRequest);
  CheckOutcome(stretch, stretchRequest);
  // A file read whole reads the same when cut, and the cut sound is where the whole one starts; a stretch of
  // it is the whole one's from its start on, or a refusal of a channel it lacks or a start past its end.
  if (whole.sound && whole.sound->samples.size() == static_cast<std::size_t>(whole.sound->fileFrames)) {
    Check(cut.sound.has_value());
    Check(cut.sound->fileFrames == whole.sound->fileFrames);
    for (std::size_t i = 0; i < cut.sound->samples.size(); ++i) Check(cut.sound->samples[i] == whole.sound->samples[i]);
    const double startFrame = std::nearbyint(stretchRequest.startSeconds * whole.sound->sampleRate);
    const bool beyond = stretchRequest.channel > whole.sound->channels || startFrame >= whole.sound->fileFrames;
    Check(stretch.sound.has_value() != beyond && stretch.requestRefused == beyond);
    if (stretch.sound && stretch.sound->channel == 0)
      for (std::size_t i = 0; i < stretch.sound->samples.size(); ++i)
        Check(stretch.sound->samples[i] == whole.sound->samples[stretch.sound->firstFrame + i]);
  }
  return 0;
}
