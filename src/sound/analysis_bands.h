// SPDX-License-Identifier: GPL-3.0-or-later
// The measuring half of the analysis: the stretch of the sound each picture column stands for, and the amplitude
// each row's played pitch has in each column, measured through a bank of bands cut from one spectrum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sound/analysis.h"

// Where a column's stretch lies in the sound, in samples of the sound (fractions allowed; past the last sample
// the sound is taken as continuing by its own mirror image).
struct ColumnSpan {
  double first = 0.0;
  double end = 0.0;
};

// The stretch of a sound of sampleCount samples at sampleRate that each of the canvas columns sounds when the
// picture is synthesised at playRate with the duration PaceOfSound gives: columns fall where synthesis puts
// them, and a sound shorter than the shortest duration is spread over the whole picture.
std::vector<ColumnSpan> ColumnSpans(std::size_t sampleCount, std::int32_t sampleRate, std::int32_t playRate);

// What a measurement gives: each row's amplitude in each column, and how many columns each row's band takes to
// settle after the sound changes (a level changes no faster in the picture).
struct MeasuredLevels {
  std::vector<double> levels;        // CanvasSize × CanvasSize, at row * CanvasSize + column
  std::vector<int> settlingColumns;  // CanvasSize, each at least 2
};

// Each row's amplitude in each column of the sound whose spectrum is given. rowPitches[row] is the pitch in Hz
// the row will be heard at, as the sound holds it (0 .. half of sampleRate; anything above holds nothing). Each
// distinct pitch has a band reaching to its neighbours on either side; with RowPlacement::Nearest each band's
// level goes to the pitch nearest to the frequency it measures. All 0s for no samples, a rate below 1 or spans
// not one per column; threadCount 0 uses the machine's cores.
MeasuredLevels MeasureRowLevels(const SoundSpectrum& spectrum, std::span<const double> rowPitches,
                                std::span<const ColumnSpan> columns, RowPlacement placement, int threadCount);

// The measuring half of AnalyseSound: each row's level in each column of the sound under the mapping, at the
// choices' play rate and with their placement (PictureOfLevels draws it under their scale, range, gain and band
// levels). Needs samples and a rate of at least 1.
MeasuredLevels MeasureSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                            const AnalysisChoices& choices);
// The same levels from the sound's spectrum: a change of mapping or placement measures again without transforming
// the sound again.
MeasuredLevels MeasureSound(const SoundSpectrum& spectrum, const SynthSettingsRecord& mapping,
                            const AnalysisChoices& choices);

// The energy of the sound at each bin of its spectrum, with the width of a bin in Hz.
struct PowerSpectrum {
  std::vector<double> energy;
  double binHz = 0.0;
};
PowerSpectrum PowerSpectrumOf(const SoundSpectrum& spectrum);
