// SPDX-License-Identifier: GPL-3.0-or-later
// Sound into picture: the pace and play rate a sound is drawn for, each row's pitch as it will be heard, the
// measurement (analysis_bands.cpp) and the grey picture of its levels (analysis_picture.cpp).
#include "sound/analysis.h"

#include <algorithm>
#include <cmath>

#include "distribution/frequency_mapping.h"
#include "sound/analysis_bands.h"
#include "sound/analysis_picture.h"

namespace {

constexpr int Rows = CanvasSize;

}  // namespace

PlaybackPace PaceOfSound(std::size_t sampleCount, std::int32_t sampleRate) {
  const double milliseconds =
      sampleRate > 0 ? std::nearbyint(1000.0 * static_cast<double>(sampleCount) / sampleRate) : 0.0;
  const double longest = SoundSettingRanges[DurationSetting].maximum;
  return {ClampedSettingValue(DurationSetting, static_cast<std::int32_t>(std::min(milliseconds, longest))),
          ClampedSettingValue(SampleRateSetting, sampleRate)};
}

std::vector<double> HeardRowFrequencies(const SynthSettingsRecord& mapping) {
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, nullptr};
  std::vector<double> heard(Rows);
  for (int row = 0; row < Rows; ++row)
    heard[row] = HeardFrequency(RowFrequencyOf(row, mapping, sources), mapping.PhaseFactor);
  return heard;
}

std::int32_t PlayRateFor(std::int32_t choice, std::int32_t sampleRate) {
  return ClampedSettingValue(SampleRateSetting, choice > 0 ? choice : sampleRate);
}

MeasuredLevels MeasureSound(const SoundSpectrum& spectrum, const SynthSettingsRecord& mapping,
                            const AnalysisChoices& choices) {
  const std::int32_t playRate = PlayRateFor(choices.playRate, spectrum.sampleRate);
  // Each row is measured where it will sound: at its heard pitch, folded at the rate it is played at.
  std::vector<double> pitches = HeardRowFrequencies(mapping);
  for (double& pitch : pitches) pitch = FoldedFrequency(pitch, playRate);
  const std::vector<ColumnSpan> columns = ColumnSpans(spectrum.sampleCount, spectrum.sampleRate, playRate);
  return MeasureRowLevels(spectrum, pitches, columns, choices.placement, choices.threadCount);
}

MeasuredLevels MeasureSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                            const AnalysisChoices& choices) {
  return MeasureSound(SpectrumOfSound(samples, sampleRate, choices.threadCount), mapping, choices);
}

Raster AnalyseSound(const SoundSpectrum& spectrum, const SynthSettingsRecord& mapping, const AnalysisChoices& choices) {
  if (spectrum.bins.empty()) return Raster(CanvasSize, CanvasSize);
  return PictureOfLevels(MeasureSound(spectrum, mapping, choices), choices);
}

Raster AnalyseSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                    const AnalysisChoices& choices) {
  if (samples.empty() || sampleRate < 1) return Raster(CanvasSize, CanvasSize);
  return AnalyseSound(SpectrumOfSound(samples, sampleRate, choices.threadCount), mapping, choices);
}
