// The oscillator kernel, built once for plain x86-64 and once for AVX2, chosen when the program runs.
// Neither build enables fused multiply-add, so both round every product and sum the same way and the
// reference loop's order of additions is kept exactly.
#include "sound/oscillator_kernel.h"

#include <cstring>

namespace {

using Doubles = double __attribute__((vector_size(32)));
using Floats = float __attribute__((vector_size(16)));
constexpr int VectorLanes = 4;
constexpr int VectorsPerState = OscillatorLanes / VectorLanes;
static_assert(OscillatorLanes % VectorLanes == 0);

// The shared body: lanes advance by angle addition, sums are widened, added to and rounded back.
// Always inlined, so each build below compiles it for its own instruction set.
[[gnu::always_inline]] inline void AddOscillatorBody(float* sums, int count, double level,
                                                     const OscillatorState& start, OscillatorStep step) {
  Doubles sine[VectorsPerState];
  Doubles cosine[VectorsPerState];
#pragma GCC unroll 4
  for (int v = 0; v < VectorsPerState; ++v) {
    std::memcpy(&sine[v], start.sine + v * VectorLanes, sizeof(Doubles));
    std::memcpy(&cosine[v], start.cosine + v * VectorLanes, sizeof(Doubles));
  }
  const Doubles gain = {level, level, level, level};
  const Doubles stepCosine = {step.cosine, step.cosine, step.cosine, step.cosine};
  const Doubles stepSine = {step.sine, step.sine, step.sine, step.sine};
  for (int base = 0; base < count; base += OscillatorLanes) {
#pragma GCC unroll 4
    for (int v = 0; v < VectorsPerState; ++v) {
      float* at = sums + base + v * VectorLanes;
      Floats narrow;
      std::memcpy(&narrow, at, sizeof(Floats));
      const Doubles wide = __builtin_convertvector(narrow, Doubles) + gain * sine[v];
      narrow = __builtin_convertvector(wide, Floats);
      std::memcpy(at, &narrow, sizeof(Floats));
      const Doubles nextSine = sine[v] * stepCosine + cosine[v] * stepSine;
      cosine[v] = cosine[v] * stepCosine - sine[v] * stepSine;
      sine[v] = nextSine;
    }
  }
}

}  // namespace

void AddOscillatorBaseline(float* sums, int count, double level, const OscillatorState& start, OscillatorStep step) {
  AddOscillatorBody(sums, count, level, start, step);
}

[[gnu::target("avx2")]] void AddOscillatorWide(float* sums, int count, double level, const OscillatorState& start,
                                               OscillatorStep step) {
  AddOscillatorBody(sums, count, level, start, step);
}

bool WideOscillatorAvailable() { return __builtin_cpu_supports("avx2"); }

OscillatorKernel ChooseOscillatorKernel(bool allowWide) {
  return allowWide && WideOscillatorAvailable() ? &AddOscillatorWide : &AddOscillatorBaseline;
}
