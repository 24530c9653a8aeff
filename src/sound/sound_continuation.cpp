// SPDX-License-Identifier: GPL-3.0-or-later
// A sound continued past its ends by what it holds there: each end foreseen by linear prediction (Burg's method),
// so a tone runs on through an end with its own phase and a recording that stops abruptly makes no step.
#include "sound/sound_continuation.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>

namespace {

// Coefficients a[1 .. order] of the all-pole predictor x[n] ≈ −Σ a[i] x[n − i] fitted to x by Burg's method,
// whose every reflection lies within ±1: the predictor is stable and a tone it has seen runs on with its phase.
std::vector<double> BurgPredictor(std::span<const double> x, std::size_t order) {
  const std::size_t n = x.size();
  order = std::min(order, n / 2);
  std::vector<double> a(order + 1, 0.0), previous;
  a[0] = 1.0;
  std::vector<double> forward(x.begin(), x.end()), backward(x.begin(), x.end());
  double energy = 0.0;
  for (const double v : x) energy += v * v;
  for (std::size_t m = 1; m <= order; ++m) {
    double num = 0.0, den = 0.0;
    for (std::size_t i = m; i < n; ++i) {
      num += forward[i] * backward[i - 1];
      den += forward[i] * forward[i] + backward[i - 1] * backward[i - 1];
    }
    // What is left to predict is rounding noise: the predictor is complete.
    if (!(den > 1e-12 * energy)) break;
    const double k = -2.0 * num / den;
    previous.assign(a.begin(), a.begin() + static_cast<long>(m) + 1);
    for (std::size_t i = 1; i <= m; ++i) a[i] += k * previous[m - i];
    for (std::size_t i = n - 1; i >= m; --i) {
      const double f = forward[i];
      forward[i] = f + k * backward[i - 1];
      backward[i] = backward[i - 1] + k * f;
    }
  }
  return a;
}

// The count samples that would follow the given ones, as the predictor fitted to them foresees. The prediction
// fades by 1/e over FadeSeconds, so no tone it foresees grows, and never leaves ±PredictionLimit.
std::vector<double> Predicted(std::vector<double> history, std::size_t count, double sampleRate) {
  constexpr std::size_t PredictionOrder = 32;
  constexpr double FadeSeconds = 4.0, PredictionLimit = 4.0;
  std::vector<double> a = BurgPredictor(history, PredictionOrder);
  const double fade = std::exp(-1.0 / (FadeSeconds * sampleRate));
  double factor = 1.0;
  for (double& coefficient : a) coefficient *= factor, factor *= fade;
  // Four running sums, so the additions need not wait for one another.
  a.resize(1 + (a.size() + 2) / 4 * 4, 0.0);
  const std::size_t order = a.size() - 1, start = history.size();
  history.insert(history.begin(), order, 0.0);
  history.resize(order + start + count);
  for (std::size_t n = order + start; n < history.size(); ++n) {
    double sums[4] = {0.0, 0.0, 0.0, 0.0};
    for (std::size_t i = 1; i <= order; i += 4)
      for (std::size_t k = 0; k < 4; ++k) sums[k] -= a[i + k] * history[n - i - k];
    history[n] = std::clamp((sums[0] + sums[1]) + (sums[2] + sums[3]), -PredictionLimit, PredictionLimit);
  }
  return {history.begin() + static_cast<long>(order + start), history.end()};
}

// How much of a continuation is kept d samples past its end: all of it for hold samples, then a raised-cosine fade
// over as many again. Two continuations meeting over a gap of three holds add up to 1 in its middle third.
double ContinuationShare(std::size_t d, std::size_t hold) {
  if (d <= hold) return 1.0;
  if (d >= 2 * hold) return 0.0;
  // Half a sample on: the two distances to a point of the gap add up to the gap plus one sample.
  const double c = std::cos(0.5 * std::numbers::pi * (static_cast<double>(d - hold) - 0.5) / static_cast<double>(hold));
  return c * c;
}

}  // namespace

std::vector<float> ContinuedSound(std::span<const float> samples, double peak, std::size_t length, double sampleRate,
                                  bool inParallel) {
  constexpr std::size_t PredictionSpan = 4096;
  constexpr double HoldSeconds = 2.0;
  if (length < samples.size()) return {};
  const std::size_t n = samples.size(), gap = length - n, span = std::min(n, PredictionSpan);
  const std::size_t hold =
      std::max<std::size_t>(1, std::min(gap / 3, static_cast<std::size_t>(HoldSeconds * sampleRate)));
  // Only the ends are needed at full precision, for the predictions; the rest goes straight into the buffer.
  auto scaled = [&](std::size_t i) {
    return std::isfinite(samples[i]) && peak != 0.0 ? static_cast<double>(samples[i]) / peak : 0.0;
  };
  std::vector<float> out(length);
  for (std::size_t i = 0; i < n; ++i) out[i] = static_cast<float>(scaled(i));
  std::vector<double> startReversed(span), end(span);
  for (std::size_t i = 0; i < span; ++i) startReversed[i] = scaled(span - 1 - i), end[i] = scaled(n - span + i);
  std::vector<double> beforeStart;
  auto foreseeStart = [&] { beforeStart = Predicted(std::move(startReversed), 2 * hold, sampleRate); };
  std::thread helper;
  if (inParallel) helper = std::thread(foreseeStart);
  const std::vector<double> afterEnd = Predicted(std::move(end), 2 * hold, sampleRate);
  if (inParallel) helper.join();
  else foreseeStart();
  for (std::size_t j = 0; j < gap; ++j) {
    // Buffer position n + j is j + 1 samples after the last sample and gap − j samples before the first.
    const std::size_t after = j + 1, before = gap - j;
    const double end = after < 2 * hold ? ContinuationShare(after, hold) * afterEnd[after - 1] : 0.0;
    const double start = before < 2 * hold ? ContinuationShare(before, hold) * beforeStart[before - 1] : 0.0;
    out[n + j] = static_cast<float>(end + start);
  }
  return out;
}

