// Building a 32-bit integer from text digits without overflow: values beyond the range saturate.
#pragma once

#include <cstdint>
#include <limits>

struct SaturatingNumber {
  bool negative = false;
  std::uint64_t magnitude = 0;  // held at most one past the largest magnitude a result can have

  void AddDigit(unsigned digit, unsigned base) {
    constexpr std::uint64_t cap = std::uint64_t{1} << 31;  // |INT32_MIN|; anything larger saturates
    magnitude = magnitude * base + digit;
    if (magnitude > cap) magnitude = cap + 1;
  }
  std::int32_t Value() const {
    constexpr std::uint64_t largest = std::numeric_limits<std::int32_t>::max();
    if (negative) return magnitude > largest ? std::numeric_limits<std::int32_t>::min()
                                             : -static_cast<std::int32_t>(magnitude);
    return magnitude > largest ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
  }
};
