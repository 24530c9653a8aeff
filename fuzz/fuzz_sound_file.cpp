// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes decoded as Import Sound reads a sound file, once whole and once cut short of its
// end, with the outcome's promises checked: a sound or a reason, finite samples, rates and channels in
// bounds, never more samples than asked for, and the cut sound the start of the whole one.
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

void CheckOutcome(const SoundReadOutcome& outcome, double maxSeconds) {
  Check(outcome.sound.has_value() == outcome.error.empty());
  if (!outcome.sound) {
    Check(outcome.error.back() != '.');
    return;
  }
  const ReadSound& sound = *outcome.sound;
  Check(sound.sampleRate >= MinimumSoundRate && sound.sampleRate <= MaximumSoundRate);
  Check(sound.channels >= 1 && sound.channels <= MaximumSoundChannels);
  const auto cap = static_cast<std::int64_t>(std::floor(maxSeconds * sound.sampleRate)) + 1;
  Check(static_cast<std::int64_t>(sound.samples.size()) == std::min(cap, sound.fileFrames));
  for (float sample : sound.samples) Check(std::isfinite(sample));
}

}  // namespace

// libsndfile 1.2 leaves libvorbis's stream description allocated when it gives up on a malformed Ogg header
// (sf_open alone shows it); nothing of ours holds that memory or could free it.
extern "C" const char* __lsan_default_suppressions() { return "leak:vorbis_info_init\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const SoundReadOutcome whole = DecodeSoundBytes(bytes, WholeSeconds);
  CheckOutcome(whole, WholeSeconds);
  const SoundReadOutcome cut = DecodeSoundBytes(bytes, CutSeconds);
  CheckOutcome(cut, CutSeconds);
  // A file read whole reads the same when cut, and the cut sound is where the whole one starts.
  if (whole.sound && whole.sound->samples.size() == static_cast<std::size_t>(whole.sound->fileFrames)) {
    Check(cut.sound.has_value());
    Check(cut.sound->fileFrames == whole.sound->fileFrames);
    for (std::size_t i = 0; i < cut.sound->samples.size(); ++i) Check(cut.sound->samples[i] == whole.sound->samples[i]);
  }
  return 0;
}
