// SPDX-License-Identifier: GPL-3.0-or-later
// A sound continued past its ends by what it holds there, for transforms that take it as going round in a circle.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

// The samples divided by peak (anything not a finite number as 0) in a circular buffer of length samples, continued
// past its end and before its start by what they hold there: each end foreseen by linear prediction from its last 4096 samples, for
// as long as the longest band listens (2 s) or a third of the gap, then faded out, the two meeting in the gap.
// inParallel foresees the two ends on two threads. Empty when length is below the sound's.
std::vector<float> ContinuedSound(std::span<const float> samples, double peak, std::size_t length, double sampleRate,
                                  bool inParallel);
