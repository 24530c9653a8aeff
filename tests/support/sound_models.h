// SPDX-License-Identifier: GPL-3.0-or-later
// Models of a sound independent of the synthesis code: the sines a picture's lit pixels sum to and their scaling to a
// peak of 1, the pitch of a row under either frequency mapping, a pitch measured from samples by zero crossings.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "picture/raster.h"

namespace sound_models {
// The unscaled sound of a picture whose row j sounds at frequency(j) Hz with band level level(j): S + 1 samples,
// S = rate × seconds rounded half to even (lrint's default mode); column c sounds for samples c·P to (c + 1)·P − 1,
// P = rate × seconds / (width − 1) rounded likewise, the last column to the end; each lit pixel adds level ×
// brightness × sin(6 f / rate × i), brightness (77 red + 150 green + 29 blue) / 256, the rows summed from the top
// into a float rounded after each addition.
template <class Frequency, class Level>
std::vector<float> Sound(const Raster& picture, Frequency frequency, Level level, int rate, float seconds) {
  const long perColumn = std::lrint(rate * double(seconds) / (picture.width - 1));
  std::vector<float> sound(std::lrint(rate * double(seconds)) + 1, 0.0f);
  for (long i = 0; i < long(sound.size()); ++i)
    for (int j = 0, x = int(std::min<long>(i / perColumn, picture.width - 1)); j < picture.height; ++j)
      if (const Colour c = picture.At(x, j); c & 0xFFFFFF)
        sound[i] = float(sound[i] + double(level(j)) * ((77 * (c & 255) + 150 * (c >> 8 & 255) + 29 * (c >> 16 & 255)) / 256.0) *
                                        std::sin(6.0 * double(frequency(j)) / rate * double(i)));
  return sound;
}

// The samples divided by their largest magnitude; silence stays silent.
inline std::vector<float> Scaled(std::vector<float> samples) {
  double peak = 0;
  for (float s : samples) peak = std::max(peak, std::fabs(double(s)));
  return std::ranges::for_each(samples, [peak](float& s) { s = peak > 0 ? float(s / peak) : s; }), samples;
}

// The Hz of a row: equal ratios putting row 50 at from and row 380 at to; or, given the four distribution values
// (hundredths), from − 50 plus (to − from) times the height of the Bézier curve through (0, 0), (A, B), (C, D),
// (1, 1) where it stands at row / 380, found as the shaped mapping finds it: five Newton steps from t = row / 380,
// then t kept within 0 .. 1.
inline double RowPitch(int row, int from, int to, const std::array<int, 4>* shape = nullptr) {
  if (!shape) return from * std::pow(double(to) / from, (row - 50) / 330.0);
  const auto [a, b, c, d] = *shape;
  auto curve = [](double t, int p, int q) { return 3 * (p * t * (1 - t) * (1 - t) + q * t * t * (1 - t)) / 100 + t * t * t; };
  auto slope = [](double t, int p, int q) { return 3 * (p * (1 - t) * (1 - 3 * t) + q * t * (2 - 3 * t)) / 100 + 3 * t * t; };
  double t = row / 380.0;
  for (int step = 0; step < 5; ++step) t -= (curve(t, a, c) - row / 380.0) / slope(t, a, c);
  return from - 50 + (to - from) * curve(std::clamp(t, 0.0, 1.0), b, d);
}

// The frequency of a steady sine in samples [first, last): its upward zero crossings, each placed between its two
// samples, counted over the time from the first to the last; 0 with fewer than two.
inline double MeasuredPitch(const std::vector<float>& samples, long first, long last, int rate) {
  double begin = -1, end = -1, crossings = 0;
  for (long i = std::max(first, 0L) + 1; i < std::min(last, long(samples.size())); ++i)
    if (samples[i - 1] < 0 && samples[i] >= 0 && ++crossings)
      end = double(i - 1) + samples[i - 1] / (samples[i - 1] - samples[i]), begin = begin < 0 ? end : begin;
  return crossings < 2 ? 0 : (crossings - 1) * rate / (end - begin);
}
}  // namespace sound_models
