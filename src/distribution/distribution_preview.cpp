// The small preview of the shaped frequency distribution: a white curve on black.
#include "distribution/distribution_preview.h"

#include <cstddef>

#include "app/control_ids.h"
#include "app/settings.h"
#include "distribution/frequency_mapping.h"
#include "distribution/numeric_conversion.h"
#include "picture/surface.h"

static_assert(PreviewWidth == 160, "the preview keeps one sample per pixel column");

std::array<float, 160> PreviewSamples(float a, float b, float c, float d) {
  std::array<float, 160> samples{};
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const float position = static_cast<float>(static_cast<double>(i) / PreviewWidth);
    // from = to = 0 asks the mapping for the preview row instead of a frequency.
    samples[i] = DistributionFrequency(position, a, b, c, d, 0, 0);
  }
  return samples;
}

void DrawDistributionPreview() {
  if (SynthSettings.FrqDistribution == 0) return;
  const auto samples = PreviewSamples(SynthSettings.DistA, SynthSettings.DistB, SynthSettings.DistC, SynthSettings.DistD);
  if (!BeginDrawing(CanvasTarget(DistributionPreview))) return;
  FillRect(0, 0, PreviewWidth, PreviewHeight, Black);
  for (int i = 0; i + 1 < PreviewWidth; ++i) {
    DrawLine(i, RoundHalfEvenToInt32(samples[i]), i + 1, RoundHalfEvenToInt32(samples[i + 1]), White);
  }
  EndDrawing();
}

void RefreshDistributionPreview() {
  if (SynthSettings.FrqDistribution != 0) {
    DrawDistributionPreview();
  } else if (BeginDrawing(CanvasTarget(DistributionPreview))) {
    FillRect(0, 0, PreviewWidth, PreviewHeight, Black);
    EndDrawing();
  }
}
