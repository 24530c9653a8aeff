// SPDX-License-Identifier: GPL-3.0-or-later
// The settings record from the controls' values, and the reference sample loop: plain and exact, one sine
// per row per sample, rows summed in order.
#include "sound/synthesis.h"

#include <cmath>
#include <cstddef>
#include <numbers>

namespace {

constexpr int RedWeight = 77;
constexpr int GreenWeight = 150;
constexpr int BlueWeight = 29;
constexpr double LevelScale = 256.0;

}  // namespace

float PixelLevelOf(Colour colour) {
  const int weighted = RedWeight * RedOf(colour) + GreenWeight * GreenOf(colour) + BlueWeight * BlueOf(colour);
  return static_cast<float>(weighted / LevelScale);
}

float RowFrequencyOf(int row, const SynthSettingsRecord& settings, const SynthesisSources& sources) {
  if (settings.FrqDistribution != 0) {
    // The shaped mapping is laid out over the canvas size, whatever the picture's height.
    const float position = static_cast<float>(row) / static_cast<float>(CanvasSize);
    if (!sources.distributionFrequency) return 0.0f;
    return sources.distributionFrequency(position, settings.DistA, settings.DistB, settings.DistC, settings.DistD,
                                         settings.FrqFrom, settings.FrqTo);
  }
  return sources.defaultFrequency ? sources.defaultFrequency(row, settings.FrqFrom, settings.FrqTo) : 0.0f;
}

double HeardFrequency(float rowFrequency, std::int32_t phaseFactor) {
  return static_cast<double>(rowFrequency) * static_cast<double>(phaseFactor) / (2.0 * std::numbers::pi);
}

double FoldedFrequency(double hz, double sampleRate) {
  return std::fabs(hz - sampleRate * std::nearbyint(hz / sampleRate));
}

SynthesisTables BuildSynthesisTables(const Raster& picture, const SynthSettingsRecord& settings,
                                     const SynthesisSources& sources) {
  SynthesisTables tables;
  tables.width = picture.width;
  tables.height = picture.height;
  const auto rows = static_cast<std::size_t>(picture.height);
  tables.rowFrequency.assign(rows, 0.0f);
  tables.rowLevel.assign(rows, 0.0f);
  tables.pixelLevel.assign(rows * static_cast<std::size_t>(picture.width), 0.0f);

  for (int j = 0; j < picture.height; ++j) {
    tables.rowFrequency[j] = RowFrequencyOf(j, settings, sources);
    if (sources.bandLevel) tables.rowLevel[j] = sources.bandLevel(j);
  }

  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      tables.pixelLevel[static_cast<std::size_t>(y) * picture.width + x] = PixelLevelOf(picture.At(x, y));
  return tables;
}

bool TablesMatch(const SynthesisTables& tables) {
  if (tables.width < 1 || tables.height < 1) return false;
  const auto rows = static_cast<std::size_t>(tables.height);
  return tables.rowFrequency.size() == rows && tables.rowLevel.size() == rows &&
         tables.pixelLevel.size() == rows * static_cast<std::size_t>(tables.width);
}

std::int32_t SamplesPerColumnOver(double samples, int width) {
  if (width < 2) return 1;
  const double rounded = std::nearbyint(samples / static_cast<double>(width - 1));
  // A column shorter than one sample would divide by zero; the sliders never get there.
  return rounded >= 1.0 ? static_cast<std::int32_t>(rounded) : 1;
}

std::int32_t ComputeSamplesPerColumn(std::int32_t sampleRate, float duration, int width) {
  return SamplesPerColumnOver(static_cast<double>(sampleRate) * static_cast<double>(duration), width);
}

std::vector<float> RenderSamples(const SynthesisTables& tables, const RenderParameters& parameters) {
  if (parameters.sampleCount < 0) return {};
  std::vector<float> samples(static_cast<std::size_t>(parameters.sampleCount) + 1, 0.0f);
  if (!TablesMatch(tables) || parameters.sampleRate <= 0) return samples;

  const int width = tables.width;
  const int height = tables.height;
  const std::int64_t samplesPerColumn = ComputeSamplesPerColumn(parameters.sampleRate, parameters.duration, width);
  const double rate = static_cast<double>(parameters.sampleRate);
  const double phaseFactor = static_cast<double>(parameters.phaseFactor);

  for (std::int64_t i = 0; i <= parameters.sampleCount; ++i) {
    std::int64_t column = i / samplesPerColumn;
    if (column > width - 1) column = width - 1;
    float acc = 0.0f;
    for (int j = 0; j < height; ++j) {
      const double sine =
          std::sin(((phaseFactor * static_cast<double>(tables.rowFrequency[j])) / rate) * static_cast<double>(i));
      const double level = static_cast<double>(tables.rowLevel[j]) *
                           static_cast<double>(tables.pixelLevel[static_cast<std::size_t>(j) * width + column]);
      acc = static_cast<float>(static_cast<double>(acc) + level * sine);
    }
    samples[static_cast<std::size_t>(i)] = acc;
  }
  return samples;
}

void NormalizeSamples(std::span<float> samples) {
  double peak = 0.0;
  for (const float sample : samples)
    if (std::fabs(static_cast<double>(sample)) > peak) peak = std::fabs(static_cast<double>(sample));
  if (peak <= 0.0) return;
  for (float& sample : samples) sample = static_cast<float>(static_cast<double>(sample) / peak);
}

// std::nearbyint rounds half to even in the default rounding mode.
std::int32_t ComputeSampleCount(std::int32_t sampleRate, float duration) {
  return static_cast<std::int32_t>(std::nearbyint(static_cast<double>(sampleRate) * static_cast<double>(duration)));
}

SynthSettingsRecord SynthSettingsFromValues(const SoundSettingValues& values) {
  auto value = [&values](int setting) { return ClampedSettingValue(setting, values[setting]); };
  SynthSettingsRecord settings;
  settings.SampleRate = value(SampleRateSetting);
  settings.Duration = DurationFromMilliseconds(value(DurationSetting));
  settings.SampleCount = ComputeSampleCount(settings.SampleRate, settings.Duration);
  settings.FrqFrom = value(FrqFromSetting);
  settings.FrqTo = value(FrqToSetting);
  settings.FrqDistribution = value(DistributionSetting);
  settings.DistA = FractionFromPosition(value(DistASetting));
  settings.DistB = FractionFromPosition(value(DistBSetting));
  settings.DistC = FractionFromPosition(value(DistCSetting));
  settings.DistD = FractionFromPosition(value(DistDSetting));
  return settings;
}

SynthSettingsRecord StartSynthSettings() { return SynthSettingsFromValues(StartSoundSettingValues()); }
