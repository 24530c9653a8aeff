// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesis: the settings record it reads (made from the values the controls and the settings file
// hold), and the exact reference sample loop from picture tables to samples.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "picture/raster.h"
#include "picture/settings_file.h"

// A slider's milliseconds as seconds, stored as a 32-bit float.
constexpr float DurationFromMilliseconds(int milliseconds) { return static_cast<float>(milliseconds / 1000.0); }
// A distribution slider's position as a fraction, stored as a 32-bit float.
constexpr float FractionFromPosition(int position) { return static_cast<float>(position / 100.0); }

struct SynthSettingsRecord {
  std::int32_t SampleRate = SoundSettingRanges[SampleRateSetting].start;  // Hz
  float Duration = DurationFromMilliseconds(SoundSettingRanges[DurationSetting].start);  // seconds
  std::int32_t SampleCount = 0;  // SampleRate x Duration, rounded half to even
  std::int32_t FrqFrom = SoundSettingRanges[FrqFromSetting].start;  // Hz
  std::int32_t FrqTo = SoundSettingRanges[FrqToSetting].start;      // Hz
  std::int32_t FrqDistribution = SoundSettingRanges[DistributionSetting].start;
  float DistA = FractionFromPosition(SoundSettingRanges[DistASetting].start);
  float DistB = FractionFromPosition(SoundSettingRanges[DistBSetting].start);
  float DistC = FractionFromPosition(SoundSettingRanges[DistCSetting].start);
  float DistD = FractionFromPosition(SoundSettingRanges[DistDSetting].start);
  std::int32_t BandCurveEdited = 0;  // 1 once the user has changed the band level curve
  std::int32_t PhaseFactor = 6;      // the oscillator's stand-in for 2 pi
};

// SampleRate x Duration (the stored 32-bit float) in double precision, rounded half to even.
std::int32_t ComputeSampleCount(std::int32_t sampleRate, float duration);
// The settings the values stand for, each clamped first (BandCurveEdited and PhaseFactor at start values).
SynthSettingsRecord SynthSettingsFromValues(const SoundSettingValues& values);
// The start settings, with SampleCount computed.
SynthSettingsRecord StartSynthSettings();

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

// The frequency in Hz the tables give row: the shaped mapping at row / 380 while FrqDistribution is set,
// else the equal-ratio one; 0 when that source is missing.
float RowFrequencyOf(int row, const SynthSettingsRecord& settings, const SynthesisSources& sources);
// The pitch in Hz a row frequency is heard at: the oscillator turns by phaseFactor where a sine turns by 2 pi.
double HeardFrequency(float rowFrequency, std::int32_t phaseFactor);
// Where a pitch in Hz lands when sampled at sampleRate: past half the rate it is mirrored into 0 .. rate / 2.
double FoldedFrequency(double hz, double sampleRate);

// Builds the tables from the picture, the frequency settings and the sources; a missing source gives 0s.
SynthesisTables BuildSynthesisTables(const Raster& picture, const SynthSettingsRecord& settings,
                                     const SynthesisSources& sources);

// True when the tables hold one value per row and per pixel of a picture of at least one pixel.
bool TablesMatch(const SynthesisTables& tables);

// Samples per column when samples' worth of time is laid over width columns: samples / (width − 1) rounded half
// to even; at least 1.
std::int32_t SamplesPerColumnOver(double samples, int width);
// Samples one picture column sounds for: R × D / (width − 1) rounded half to even; at least 1.
std::int32_t ComputeSamplesPerColumn(std::int32_t sampleRate, float duration, int width);

// The S + 1 summed oscillator samples before normalisation; silence when the tables do not match
// their width × height or the parameters are out of range.
std::vector<float> RenderSamples(const SynthesisTables& tables, const RenderParameters& parameters);

// Scales the samples so the largest magnitude becomes 1.0; all-zero samples stay as they are.
void NormalizeSamples(std::span<float> samples);
