// SPDX-License-Identifier: GPL-3.0-or-later
// Sound into picture: the level of each row's heard pitch over each column's stretch of the sound, measured
// with the row mapping synthesis uses, so that a sound this program made comes back as its picture.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture/raster.h"
#include "sound/sound_reader.h"
#include "sound/synthesis.h"

enum class AnalysisScale {
  Linear,    // brightness proportional to amplitude: what synthesis reads back
  Decibels,  // brightness proportional to decibels, the range below 255 mapped down to 0
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

// The pitch in Hz each of the canvas rows is heard at under the mapping settings (FrqFrom, FrqTo,
// FrqDistribution, DistA to DistD, PhaseFactor).
std::vector<double> HeardRowFrequencies(const SynthSettingsRecord& mapping);

// How a tone between two rows' pitches is drawn. Nearest is the default: two rows sharing a tone play it as two
// sines whose sum beats at their spacing (100 % tremolo halfway), while one row plays it steady, at most half a
// row's spacing off pitch.
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
  double gainDb = 0.0;            // raises (or lowers) every level before the scale maps it to brightness, ±120
  RowPlacement placement = RowPlacement::Nearest;
  std::int32_t playRate = 0;      // Hz the picture will be synthesised at; 0: the sound's own rate within the slider
  std::vector<float> rowLevels;   // the band level synthesis multiplies each row by; empty when the curve is not in use
  int threadCount = 0;            // 0 uses the machine's cores
};

// The rate a picture of a sound at sampleRate is played at: the choice, or with 0 the sound's own rate, within
// the Sample Rate slider's range (with 0, as PaceOfSound gives it).
std::int32_t PlayRateFor(std::int32_t choice, std::int32_t sampleRate);

// A sound scaled to a peak of 1, continued past its ends and transformed once: what every measurement of the same
// samples shares, whatever the mapping and choices (an empty spectrum for no samples or a rate below 1).
struct SoundSpectrum {
  std::vector<std::complex<float>> bins;  // 0 Hz to half the rate
  std::size_t padded = 0;                 // the transform's length
  std::size_t sampleCount = 0;
  std::int32_t sampleRate = 0;
  double binHz = 0.0;
};
// threadCount as in AnalysisChoices; the spectrum is the same for any.
SoundSpectrum SpectrumOfSound(std::span<const float> samples, std::int32_t sampleRate, int threadCount = 0);

// The picture of a sound under the mapping settings and the choices: each row shows the amplitude the sound
// holds at the pitch the row is heard at when synthesised at the play rate, in the columns where synthesis at
// that rate and at PaceOfSound's duration plays it. No samples or a rate below 1 give a black picture.
Raster AnalyseSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                    const AnalysisChoices& choices);
// The same picture from the sound's spectrum.
Raster AnalyseSound(const SoundSpectrum& spectrum, const SynthSettingsRecord& mapping, const AnalysisChoices& choices);

struct FrequencyRange {
  std::int32_t from = 0;  // Hz, within the Frq From slider
  std::int32_t to = 0;    // Hz, within the Frq To slider, never below from
};
// The Frq From and Frq To that make the rows span the pitches where the sound has its energy, as heard at
// playRate, under the mapping's other settings.
FrequencyRange FitFrequencyRange(std::span<const float> samples, std::int32_t sampleRate,
                                 const SynthSettingsRecord& mapping, std::int32_t playRate);
// The same range from the sound's spectrum.
FrequencyRange FitFrequencyRange(const SoundSpectrum& spectrum, const SynthSettingsRecord& mapping,
                                 std::int32_t playRate);

// What a user should know about a sound before its picture is drawn, one sentence each: that it is nearly
// silent (its peak in dBFS), that its mix is far quieter than a single channel, that it plays longer than it lasts.
std::vector<std::string> SoundNotes(const ReadSound& sound, const PlaybackPace& pace);
