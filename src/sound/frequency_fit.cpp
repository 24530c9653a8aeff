// SPDX-License-Identifier: GPL-3.0-or-later
// The frequency range that fits a sound: the Frq From and Frq To whose rows span the pitches where the sound
// has its energy, as it will be heard at the play rate.
#include <algorithm>
#include <cmath>
#include <functional>

#include "distribution/frequency_mapping.h"
#include "sound/analysis.h"
#include "sound/analysis_bands.h"

namespace {

// Energy below this is rumble or an offset, not a pitch a row should be spent on.
constexpr double LowestPitchHz = 20.0;
// The share of the energy left out at either end of the span.
constexpr double OutlyingShare = 0.005;
// The narrowest span fitted, as a ratio of its highest pitch to its lowest: a lone tone sits mid-octave.
constexpr double NarrowestSpan = 2.0;

struct PitchSpan {
  double low = 0.0;
  double high = 0.0;
};

// Where the energy between LowestPitchHz and limit lies, leaving OutlyingShare out at either end; none when
// nothing is there.
bool EnergySpan(const PowerSpectrum& spectrum, double limit, PitchSpan& span) {
  const std::size_t first = static_cast<std::size_t>(std::ceil(LowestPitchHz / spectrum.binHz));
  const std::size_t last = std::min(spectrum.energy.size() - 1, static_cast<std::size_t>(limit / spectrum.binHz));
  double total = 0.0;
  for (std::size_t k = first; k <= last; ++k) total += spectrum.energy[k];
  if (!(total > 0.0)) return false;
  double sum = 0.0;
  bool lowFound = false;
  for (std::size_t k = first; k <= last; ++k) {
    sum += spectrum.energy[k];
    if (!lowFound && sum >= OutlyingShare * total) span.low = static_cast<double>(k) * spectrum.binHz, lowFound = true;
    if (sum >= (1.0 - OutlyingShare) * total) {
      span.high = static_cast<double>(k) * spectrum.binHz;
      break;
    }
  }
  if (span.high < span.low * NarrowestSpan) {
    const double centre = std::sqrt(std::max(span.low, LowestPitchHz) * span.high);
    span = {centre / std::sqrt(NarrowestSpan), centre * std::sqrt(NarrowestSpan)};
  }
  span.high = std::min(span.high, limit);
  return true;
}

// The smallest value in [low, high] for which holds, false then true as the value grows, is true; none: fallback.
std::int32_t SmallestWhere(std::int32_t low, std::int32_t high, std::int32_t fallback,
                           const std::function<bool(std::int32_t)>& holds) {
  if (low > high || !holds(high)) return fallback;
  while (low < high) {
    const std::int32_t middle = low + (high - low) / 2;
    if (holds(middle)) high = middle;
    else low = middle + 1;
  }
  return low;
}

// The largest value in [low, high] for which holds, true then false as the value grows, is true; none: fallback.
std::int32_t LargestWhere(std::int32_t low, std::int32_t high, std::int32_t fallback,
                          const std::function<bool(std::int32_t)>& holds) {
  if (low > high || !holds(low)) return fallback;
  while (low < high) {
    const std::int32_t middle = low + (high - low + 1) / 2;
    if (holds(middle)) low = middle;
    else high = middle - 1;
  }
  return low;
}

}  // namespace

FrequencyRange FitFrequencyRange(std::span<const float> samples, std::int32_t sampleRate,
                                 const SynthSettingsRecord& mapping, std::int32_t playRate) {
  return FitFrequencyRange(SpectrumOfSound(samples, sampleRate, 1), mapping, playRate);
}

FrequencyRange FitFrequencyRange(const SoundSpectrum& spectrum, const SynthSettingsRecord& mapping,
                                 std::int32_t playRate) {
  const SoundSettingRange fromRange = SoundSettingRanges[FrqFromSetting], toRange = SoundSettingRanges[FrqToSetting];
  FrequencyRange range{ClampedSettingValue(FrqFromSetting, mapping.FrqFrom),
                       ClampedSettingValue(FrqToSetting, mapping.FrqTo)};
  range.to = std::max(range.to, range.from);
  if (spectrum.bins.empty()) return range;
  const std::int32_t sampleRate = spectrum.sampleRate;
  // Only what the sound holds below half of both rates can be played back.
  const double limit = 0.5 * std::min(sampleRate, PlayRateFor(playRate, sampleRate));
  PitchSpan span;
  if (!EnergySpan(PowerSpectrumOf(spectrum), limit, span)) return range;

  SynthSettingsRecord trial = mapping;
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, nullptr};
  auto heard = [&](int row, std::int32_t from, std::int32_t to) {
    trial.FrqFrom = from, trial.FrqTo = to;
    return HeardFrequency(RowFrequencyOf(row, trial, sources), trial.PhaseFactor);
  };
  // The top row's pitch grows with From and To, the bottom row's with From and falls (or stays) as To grows: the
  // largest From and the smallest To that cover the span are found in turn until neither moves.
  FrequencyRange fit{fromRange.minimum, toRange.maximum};
  for (int round = 0; round < 32; ++round) {
    const FrequencyRange before = fit;
    fit.from = LargestWhere(fromRange.minimum, std::min(fromRange.maximum, fit.to), fromRange.minimum,
                            [&](std::int32_t from) { return heard(0, from, fit.to) <= span.low; });
    // Where the sliders cannot reach down to the span, the rows still span as many octaves as it does.
    fit.to = SmallestWhere(std::max(toRange.minimum, fit.from), toRange.maximum, toRange.maximum, [&](std::int32_t to) {
      const double top = heard(CanvasSize - 1, fit.from, to);
      return top >= span.high && top >= heard(0, fit.from, to) * span.high / span.low;
    });
    if (fit.from == before.from && fit.to == before.to) break;
  }
  // No row above half the play rate, where it would fold back among the others, while To can stay above From.
  const double folding = 0.5 * PlayRateFor(playRate, sampleRate);
  fit.to = LargestWhere(std::max(toRange.minimum, fit.from), fit.to, fit.to,
                        [&](std::int32_t to) { return heard(CanvasSize - 1, fit.from, to) <= folding; });
  return fit;
}
