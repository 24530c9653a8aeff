// SPDX-License-Identifier: GPL-3.0-or-later
// Models of where sound lands, independent of the program's mapping code: the pitch a row of the equal-ratio
// mapping is heard at, where a pitch lands when sampled, the row heard nearest a key, and sounds made of sines.
#pragma once

#include <cmath>
#include <numbers>
#include <vector>

namespace pitch_models {

// Row 50 sounds at from and each row (to / from)^(1/330) above the one before; the oscillator turns by 6 where a
// sine turns by 2π, so a row is heard at 6 / 2π of its frequency.
inline double HeardPitch(double row, double from = 90.0, double to = 9000.0) {
  return from * std::pow(to / from, (row - 50.0) / 330.0) * 3.0 / std::numbers::pi;
}

// A pitch sampled at rate is heard mirrored into 0 .. rate / 2.
inline double Folded(double hz, double rate) { return std::fabs(hz - rate * std::round(hz / rate)); }

// A MIDI key's pitch in equal temperament, A4 (key 69) at 440 Hz.
inline double KeyHz(double key) { return 440.0 * std::exp2((key - 69) / 12.0); }

// The row of the start settings' mapping heard nearest a pitch when played at rate, folded (the lowest of a tie).
inline int NearestRow(double hz, double rate) {
  const auto miss = [=](int row) { return std::fabs(std::log(Folded(HeardPitch(row), rate) / hz)); };
  int best = 0;
  for (int row = 1; row < 380; ++row) best = miss(row) < miss(best) ? row : best;
  return best;
}

// count samples at rate: sines of the given pitches, each of the given amplitude and phase, from sample first on.
inline std::vector<float> Tones(const std::vector<double>& pitches, double rate, std::size_t count,
                                double amplitude = 0.5, std::size_t first = 0, double phase = 0.0) {
  std::vector<float> samples(count, 0.0f);
  for (std::size_t i = first; i < count; ++i)
    for (const double hz : pitches)
      samples[i] += static_cast<float>(amplitude * std::sin(2.0 * std::numbers::pi * hz * i / rate + phase));
  return samples;
}

}  // namespace pitch_models
