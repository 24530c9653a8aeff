// SPDX-License-Identifier: GPL-3.0-or-later
// Sound into picture: the level of each row's heard pitch over each column's stretch of the sound, measured
// with the row mapping synthesis uses, so that a sound this program made comes back as its picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture/raster.h"
#include "sound/sound_reader.h"
#include "sound/synthesis.h"

enum class AnalysisScale {
  Linear,    // brightness proportional to amplitude, the loudest cell 255: what synthesis reads back
  Decibels,  // 255 at the loudest cell, 0 at DecibelRange below it and lower
};
constexpr double DecibelRange = 60.0;

// The longest stretch of a sound that is analysed: the longest sound the duration slider makes.
constexpr double LongestAnalysedSeconds = SoundSettingRanges[DurationSetting].maximum / 1000.0;

// The duration slider's milliseconds and the sample rate that play sampleCount samples at sampleRate back
// at their own pace, each within its slider's range.
struct PlaybackPace {
  std::int32_t durationMs = 0;
  std::int32_t sampleRate = 0;
};
PlaybackPace PaceOfSound(std::size_t sampleCount, std::int32_t sampleRate);

struct AnalysisOptions {
  int threadCount = 0;  // threads to share the rows among; 0 uses the machine's cores
};

// Samples per picture column for a sound of sampleCount samples: (sampleCount − 1) / 379 rounded half to
// even, at least 1, as synthesis gives a sound of that length.
std::int32_t AnalysisSamplesPerColumn(std::size_t sampleCount);

// The pitch in Hz each of the canvas rows is heard at under the mapping settings (FrqFrom, FrqTo,
// FrqDistribution, DistA to DistD, PhaseFactor).
std::vector<double> HeardRowFrequencies(const SynthSettingsRecord& mapping);

// Each row's amplitude in each column, CanvasSize × CanvasSize values at row * CanvasSize + column: the
// sound through a band around the row's heard pitch that falls to nothing at the neighbouring rows'
// pitches, as an RMS over the column's samples. Pitches above half the rate are measured where they fold to.
// Columns that start after the last sample are 0; no samples or a rate below 1 give all 0s.
std::vector<double> AnalyseLevels(std::span<const float> samples, std::int32_t sampleRate,
                                  const SynthSettingsRecord& mapping, const AnalysisOptions& options = {});

// The grey picture of the levels: the loudest at 255 on the scale given; all 0s give a black picture.
Raster LevelsToPicture(std::span<const double> levels, AnalysisScale scale);

// The picture of a sound under the mapping settings: AnalyseLevels then LevelsToPicture.
Raster AnalyseSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                    AnalysisScale scale, const AnalysisOptions& options = {});

// How a tone between two rows' pitches is drawn.
enum class RowPlacement {
  Between,  // shared between the two rows by how near it is to each
  Nearest,  // wholly on the row whose pitch is nearest
};

constexpr double MinimumRangeDb = 20.0;
constexpr double MaximumRangeDb = 120.0;

// What a sound's picture is made with besides the row mapping.
struct AnalysisChoices {
  AnalysisScale scale = AnalysisScale::Linear;
  double rangeDb = DecibelRange;  // the decibel scale's range, MinimumRangeDb .. MaximumRangeDb
  double gainDb = 0.0;            // raises (or lowers) every level before the scale maps it to brightness
  RowPlacement placement = RowPlacement::Between;
  std::int32_t playRate = 0;      // Hz the picture will be synthesised at; 0: the sound's own rate within the slider
  std::vector<float> rowLevels;   // the band level synthesis multiplies each row by; empty when the curve is not in use
  int threadCount = 0;            // 0 uses the machine's cores
};

// The picture of a sound under the mapping settings and the choices.
Raster AnalyseSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                    const AnalysisChoices& choices);

struct FrequencyRange {
  std::int32_t from = 0;  // Hz, within the Frq From slider
  std::int32_t to = 0;    // Hz, within the Frq To slider, never below from
};
// The Frq From and Frq To that make the rows span the pitches where the sound has its energy, as heard at
// playRate, under the mapping's other settings.
FrequencyRange FitFrequencyRange(std::span<const float> samples, std::int32_t sampleRate,
                                 const SynthSettingsRecord& mapping, std::int32_t playRate);

// What a user should know about a sound before its picture is drawn, one sentence each: that it is nearly
// silent (its peak in dBFS), that its mix is far quieter than a single channel, that it plays longer than it lasts.
std::vector<std::string> SoundNotes(const ReadSound& sound, const PlaybackPace& pace);
