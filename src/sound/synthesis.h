// The synthesis: picture tables in, samples out, following the program's exact reference sample loop.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "sound/sound_settings.h"
#include "picture/raster.h"

// The three tables one synthesis is made from, for a width × height picture.
struct SynthesisTables {
  int width = 0;
  int height = 0;
  std::vector<float> rowFrequency;  // Hz of each row, row 0 at the top
  std::vector<float> rowLevel;      // band level of each row, 0 to 1
  std::vector<float> pixelLevel;    // brightness 0 to 255 of pixel (x, y) at y * width + x
};

// Where the per-row values come from: the two frequency mappings and the band level curve.
struct SynthesisSources {
  float (*defaultFrequency)(std::int32_t row, std::int32_t from, std::int32_t to) = nullptr;
  float (*distributionFrequency)(float x, float a, float b, float c, float d, std::int32_t from,
                                 std::int32_t to) = nullptr;
  std::function<float(int row)> bandLevel;
};

// What the sample loop needs besides the tables.
struct RenderParameters {
  std::int32_t sampleRate = 0;   // R, samples per second
  float duration = 0.0f;         // D, seconds
  std::int32_t sampleCount = 0;  // S: the sound has S + 1 samples
  std::int32_t phaseFactor = 0;  // the oscillator's stand-in for 2 pi
};

// The brightness of one colour: (77 r + 150 g + 29 b) / 256, exact in single precision.
float PixelLevelOf(Colour colour);

// Builds the tables from the picture, the frequency settings and the sources; a missing source gives 0s.
SynthesisTables BuildSynthesisTables(const Raster& picture, const SynthSettingsRecord& settings,
                                     const SynthesisSources& sources);

// Samples one picture column sounds for: R × D / (width − 1) rounded half to even; at least 1.
std::int32_t ComputeSamplesPerColumn(std::int32_t sampleRate, float duration, int width);

// The S + 1 summed oscillator samples before normalisation; silence when the tables do not match
// their width × height or the parameters are out of range.
std::vector<float> RenderSamples(const SynthesisTables& tables, const RenderParameters& parameters);

// Scales the samples so the largest magnitude becomes 1.0; all-zero samples stay as they are.
void NormalizeSamples(std::span<float> samples);
