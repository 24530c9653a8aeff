// The inner loop of the fast synthesis: one row's sine added into a block of per-sample sums.
#pragma once

// Samples advanced together: the state holds this many consecutive samples' sines and cosines.
constexpr int OscillatorLanes = 16;

// Sine and cosine of the oscillator's phase at the first OscillatorLanes samples of a block.
struct OscillatorState {
  double sine[OscillatorLanes];
  double cosine[OscillatorLanes];
};

// The rotation that moves every lane OscillatorLanes samples on.
struct OscillatorStep {
  double cosine;
  double sine;
};

// Adds level × sine to each of the first count sums, each addition made in double precision and rounded
// to float; sums must hold count rounded up to a multiple of OscillatorLanes (the extra ones are scratch).
using OscillatorKernel = void (*)(float* sums, int count, double level, const OscillatorState& start,
                                  OscillatorStep step);

// The kernel for any x86-64 processor.
void AddOscillatorBaseline(float* sums, int count, double level, const OscillatorState& start, OscillatorStep step);
// The same arithmetic on 256-bit vectors; only for processors with AVX2. Gives bit-identical sums.
void AddOscillatorWide(float* sums, int count, double level, const OscillatorState& start, OscillatorStep step);
// True when this processor can run AddOscillatorWide.
bool WideOscillatorAvailable();
// The fastest kernel this processor runs, or the baseline one when wide vectors are not allowed.
OscillatorKernel ChooseOscillatorKernel(bool allowWide);
