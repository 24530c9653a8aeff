// SPDX-License-Identifier: GPL-3.0-or-later
// The row-to-frequency mappings: the equal-ratio default and the Bezier-shaped distribution.
// Values are single precision; every intermediate is computed in double precision.
#include "distribution/frequency_mapping.h"

#include <cmath>
#include <cstddef>

namespace {

// The ratio between neighbouring rows is (to / from) to this power; held as the nearest float to 1/330.
constexpr float RowRatioExponent = 1.0f / 330.0f;
// The row that sounds at exactly from.
constexpr int FromRow = 50;
// The shaped mapping starts this many Hz below from (and ends as far below to).
constexpr double ShapedOffsetHz = 50.0;
constexpr int NewtonSteps = 5;

struct CubicCoefficients {
  float a, b, c;
};

// Power form of one coordinate of the Bezier curve through 0, p1, p2, 1.
CubicCoefficients PowerForm(float p1, float p2) {
  const double first = p1, second = p2;
  return {static_cast<float>(1.0 - 3.0 * second + 3.0 * first), static_cast<float>(3.0 * second - 6.0 * first),
          static_cast<float>(3.0 * first)};
}

// The curve parameter t at which X(t) = x, by Newton's method started at t = x, then clamped to 0..1.
float SolveForParameter(const CubicCoefficients& xCurve, float x) {
  float t = x;
  for (int step = 0; step < NewtonSteps; ++step) {
    const double miss = static_cast<double>(CubicValue(t, xCurve.a, xCurve.b, xCurve.c, 0.0f)) - x;
    t = static_cast<float>(t - miss * InverseCubicSlope(t, xCurve.a, xCurve.b, xCurve.c));
  }
  if (t > 1.0f) return 1.0f;
  if (t < 0.0f || std::isnan(t)) return 0.0f;
  return t;
}

}  // namespace

float DefaultFrequency(std::int32_t row, std::int32_t from, std::int32_t to) {
  if (from == 0) return 0.0f;  // no ratio exists; callers never pass it
  const float ratio = static_cast<float>(static_cast<double>(to) / from);
  const float step = static_cast<float>(std::pow(static_cast<double>(ratio), static_cast<double>(RowRatioExponent)));
  const float fromPower = static_cast<float>(std::pow(static_cast<double>(step), FromRow));
  const float rowPower = static_cast<float>(std::pow(static_cast<double>(step), static_cast<double>(row)));
  return static_cast<float>(static_cast<double>(from) / fromPower * rowPower);
}

float DistributionFrequency(float x, float a, float b, float c, float d, std::int32_t from, std::int32_t to) {
  const CubicCoefficients xCurve = PowerForm(a, c);
  const CubicCoefficients yCurve = PowerForm(b, d);
  const float t = SolveForParameter(xCurve, x);
  const float y = CubicValue(t, yCurve.a, yCurve.b, yCurve.c, 0.0f);
  if (from != 0 && to != 0) {
    const double low = static_cast<double>(from) - ShapedOffsetHz;
    const double high = static_cast<double>(to) - ShapedOffsetHz;
    return static_cast<float>((high - low) * y + low);
  }
  float previewRow = static_cast<float>(static_cast<double>(PreviewHeight) * y);
  if (previewRow > PreviewHeight) previewRow = PreviewHeight;
  return static_cast<float>(static_cast<double>(PreviewHeight) - previewRow);
}

float CubicValue(float t, float a, float b, float c, float d) {
  const double tt = t;
  return static_cast<float>(a * tt * tt * tt + b * tt * tt + c * tt + static_cast<double>(d));
}

float InverseCubicSlope(float t, float a, float b, float c) {
  const double tt = t;
  return static_cast<float>(1.0 / (3.0 * a * tt * tt + 2.0 * b * tt + static_cast<double>(c)));
}

std::array<float, PreviewWidth> PreviewSamples(float a, float b, float c, float d) {
  std::array<float, PreviewWidth> samples{};
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const float position = static_cast<float>(static_cast<double>(i) / PreviewWidth);
    // from = to = 0 asks the mapping for the preview row instead of a frequency.
    samples[i] = DistributionFrequency(position, a, b, c, d, 0, 0);
  }
  return samples;
}
