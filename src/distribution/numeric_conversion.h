// SPDX-License-Identifier: GPL-3.0-or-later
// Conversions from floating point and wide integers to the 32-bit values the curves are kept in.
// Curve points may come from settings files, so every conversion saturates instead of overflowing.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

// A 64-bit value pinned into the 32-bit range.
inline std::int32_t SaturateToInt32(std::int64_t value) {
  constexpr std::int64_t low = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t high = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value < low ? low : (value > high ? high : value));
}

// A whole-numbered double pinned into the 32-bit range; NaN gives 0.
inline std::int32_t SaturateWholeToInt32(double whole) {
  if (std::isnan(whole)) return 0;
  if (whole <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  if (whole >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(whole);
}

// Nearest integer, halves to even (the default rounding mode), saturated; NaN gives 0.
inline std::int32_t RoundHalfEvenToInt32(double value) { return SaturateWholeToInt32(std::nearbyint(value)); }

// Nearest integer, halves away from zero, saturated; NaN gives 0.
inline std::int32_t RoundHalfAwayToInt32(double value) { return SaturateWholeToInt32(std::round(value)); }

// A double pinned into the finite single-precision range before it is narrowed; NaN stays NaN.
inline float SaturateToFloat(double value) {
  constexpr double highest = std::numeric_limits<float>::max();
  if (value > highest) return std::numeric_limits<float>::max();
  if (value < -highest) return -std::numeric_limits<float>::max();
  return static_cast<float>(value);
}
