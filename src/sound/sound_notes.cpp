// SPDX-License-Identifier: GPL-3.0-or-later
// What a user should know about a sound before its picture is drawn. The picture is relative (its loudest
// part is drawn at full brightness), so a nearly silent sound, or a mix whose channels cancel, looks as bright
// as a loud one; and a stretch of a longer sound, or a pace other than its own, is not the whole sound.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sound/analysis.h"

namespace {

// A peak below this is noted: 1 % of full scale, 20 dB under the quietest peaks a levelled recording has
// (about −20 dBFS) yet far above the floor of 16-bit sound (−96 dBFS). It marks near-silence, hiss or a sound
// recorded far too low, not a quiet piece of music.
constexpr double NearSilenceDbfs = -40.0;
// A mix of n channels holds any one channel at 1/n of its level. A mix more than 20 dB (10 times) below that
// for the loudest channel has channels that cancel: over 90 % of that channel is gone from it.
constexpr double CancellingDb = 20.0;

std::string Formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

double Dbfs(double peak) { return 20.0 * std::log10(peak); }

// "peaks at −76.0 dBFS" (with a true minus sign), or "is silent".
std::string PeakPhrase(double peak) {
  if (!(peak > 0.0)) return "is silent";
  const double db = Dbfs(peak);
  const std::string magnitude = Formatted("%.1f", std::fabs(db));
  return "peaks at " + std::string(magnitude != "0.0" && db < 0 ? "\u2212" : "") + magnitude + " dBFS";
}

std::string Time(double seconds) { return Formatted("%.3f s", seconds); }

}  // namespace

std::vector<std::string> SoundNotes(const ReadSound& sound, const PlaybackPace& pace) {
  std::vector<std::string> notes;
  const auto count = static_cast<std::int64_t>(sound.samples.size());
  if (count == 0 || sound.sampleRate <= 0) return notes;
  const std::string subject = sound.channel == 0 ? "The sound" : "Channel " + std::to_string(sound.channel);

  if (!(sound.peak > 0.0))
    notes.push_back(subject + " is silent: every sample is 0, so its picture is black.");
  else if (Dbfs(sound.peak) < NearSilenceDbfs)
    notes.push_back(subject + " " + PeakPhrase(sound.peak) + "; its picture is drawn as if it were at full scale.");

  const auto loudest = std::max_element(sound.channelPeaks.begin(), sound.channelPeaks.end());
  if (sound.channel == 0 && sound.channelPeaks.size() > 1 && *loudest > 0.0 &&
      sound.peak * static_cast<double>(sound.channelPeaks.size()) * std::pow(10.0, CancellingDb / 20.0) < *loudest) {
    const std::string number = std::to_string(loudest - sound.channelPeaks.begin() + 1);
    notes.push_back("The mix of the " + std::to_string(sound.channelPeaks.size()) + " channels " +
                    PeakPhrase(sound.peak) + ", far below channel " + number + " alone, which " + PeakPhrase(*loudest) +
                    ": the channels cancel in the mix, and channel " + number + " alone would show the sound.");
  }

  const double rate = sound.sampleRate;
  const bool wholeSound = sound.firstFrame == 0 && count >= sound.fileFrames;
  if (!wholeSound) {
    const bool toTheEnd = sound.firstFrame + count >= sound.fileFrames;
    notes.push_back("The sound lasts " + Time(sound.fileFrames / rate) + "; the stretch from " +
                    Time(sound.firstFrame / rate) + " to " +
                    (toTheEnd ? "its end" : Time((sound.firstFrame + count - 1) / rate)) + " is taken.");
  }

  // A sound of n samples lasts n / rate, or (n - 1) / rate as synthesis counts it (its last sample at the end),
  // each to the millisecond the duration slider holds: a pace outside both plays it over another time.
  const double shortestMs = 1000.0 * static_cast<double>(count - 1) / rate - 0.5,
               longestMs = 1000.0 * static_cast<double>(count) / rate + 0.5;
  if (pace.durationMs > 0 && (pace.durationMs < shortestMs || pace.durationMs > longestMs)) {
    const bool shortest = pace.durationMs == SoundSettingRanges[DurationSetting].minimum && pace.durationMs > longestMs;
    notes.push_back(std::string(wholeSound ? "The sound" : "The stretch") + " lasts " + Time(count / rate) +
                    " but plays over " + Time(pace.durationMs / 1000.0) +
                    (shortest ? ", the shortest Sound Duration." : "."));
  }
  return notes;
}
