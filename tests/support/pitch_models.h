// SPDX-License-Identifier: GPL-3.0-or-later
// Independent models of where sound lands, for expected values that do not come from the program's mapping
// code: the pitch a row of the equal-ratio mapping is heard at, and where a pitch lands when sampled.
#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace pitch_models {

// Row 50 sounds at from and each row (to / from)^(1/330) above the one before; the oscillator turns by 6 where a
// sine turns by 2π, so a row is heard at 6 / 2π of its frequency.
inline double HeardPitch(double row, double from = 90.0, double to = 9000.0) {
  return from * std::pow(to / from, (row - 50.0) / 330.0) * 3.0 / std::numbers::pi;
}

// A pitch sampled at rate is heard mirrored into 0 .. rate / 2.
inline double Folded(double hz, double rate) {
  const double m = std::fmod(hz, rate);
  return m > rate / 2.0 ? rate - m : m;
}

// count samples at rate holding a sine of the given pitch and amplitude from sample first on, silence before.
inline std::vector<float> Tone(double hz, double rate, std::size_t count, double amplitude = 0.5, double phase = 0.0,
                               std::size_t first = 0) {
  std::vector<float> samples(count, 0.0f);
  for (std::size_t i = first; i < count; ++i)
    samples[i] = static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * i / rate + phase));
  return samples;
}

}  // namespace pitch_models
