// SPDX-License-Identifier: GPL-3.0-or-later
// The fast sample loop: the same sound as RenderSamples, computed in vectorised blocks on several threads.
#pragma once

#include <vector>

#include "sound/synthesis.h"

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

struct FastRenderOptions {
  int threadCount = 0;           // threads to share the samples among; 0 uses the machine's cores
  bool allowWideVectors = true;  // false keeps to the instructions every x86-64 processor has
};

// The S + 1 summed oscillator samples before normalisation, as RenderSamples gives them: the same order
// of additions per sample and the same rounding, the sines from angle addition (within about 1e-13 of
// the library's); unlit pixels add exactly nothing. The result does not depend on the options.
std::vector<float> RenderSamplesFast(const SynthesisTables& tables, const RenderParameters& parameters,
                                     const FastRenderOptions& options = {});

// What "Synthesize" computes for a picture: the tables, the samples and their normalisation in one step.
std::vector<float> SynthesizeSound(const Raster& picture, const SynthSettingsRecord& settings,
                                   const SynthesisSources& sources);
