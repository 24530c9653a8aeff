// The fast sample loop: the same sound as RenderSamples, computed in vectorised blocks on several threads.
#pragma once

#include <vector>

#include "sound/synthesis_core.h"

struct FastRenderOptions {
  int threadCount = 0;           // threads to share the samples among; 0 uses the machine's cores
  bool allowWideVectors = true;  // false keeps to the instructions every x86-64 processor has
};

// The S + 1 summed oscillator samples before normalisation, as RenderSamples gives them: the same order
// of additions per sample and the same rounding, the sines from angle addition (within about 1e-13 of
// the library's); unlit pixels add exactly nothing. The result does not depend on the options.
std::vector<float> RenderSamplesFast(const SynthesisTables& tables, const RenderParameters& parameters,
                                     const FastRenderOptions& options = {});
