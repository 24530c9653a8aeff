// SPDX-License-Identifier: GPL-3.0-or-later
// Sound into picture through a bank of bands cut from one spectrum of the whole sound. Each distinct row
// pitch gets a raised-cosine band from the pitch below it to the pitch above it, so neighbouring bands add
// up to 1 and a tone at a row's own pitch reaches no other row. The band, moved down to 0 Hz and turned
// back into time at a low rate, is the row's amplitude envelope; its RMS over a column's samples is the
// cell's level. Closely spaced low rows get narrow bands, that is long spans of sound centred on each
// column; the wide bands of the top rows follow the sound column by column.
#include "sound/analysis.h"

#include <kiss_fft.h>
#include <kiss_fftr.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <numbers>
#include <thread>

#include "distribution/frequency_mapping.h"

namespace {

constexpr std::size_t MinimumTransformSize = 64;
// Envelope points per column, so that every full column is measured at more than one instant.
constexpr std::size_t EnvelopePointsPerColumn = 2;
constexpr int Columns = CanvasSize;
constexpr int Rows = CanvasSize;

// Transform lengths are products of 2, 3 and 5 only, the radices the FFT library does quickly.
bool SmoothLength(std::size_t n) {
  for (std::size_t factor : {2, 3, 5})
    while (n % factor == 0) n /= factor;
  return n == 1;
}

std::size_t EvenSmoothLengthAtLeast(std::size_t n) {
  std::size_t length = std::max<std::size_t>(2, n + (n & 1));
  while (!SmoothLength(length)) length += 2;
  return length;
}

// The shortest length at least n that divides padded, so envelope points fall on whole samples.
std::size_t DivisorAtLeast(std::size_t padded, std::size_t n) {
  std::size_t best = padded;
  for (std::size_t twos = 1; twos <= padded; twos *= 2)
    for (std::size_t threes = twos; threes <= padded; threes *= 3)
      for (std::size_t length = threes; length <= padded; length *= 5)
        if (padded % length == 0 && length >= n && length < best) best = length;
  return best;
}

// A pitch and how far its band reaches below and above it, all in Hz.
struct Band {
  double centre = 0.0;
  double below = 0.0;
  double above = 0.0;
};

// The zero-padded spectrum of the whole sound and how its bins and samples relate to the columns.
struct Spectrum {
  std::vector<kiss_fft_cpx> bins;  // 0 Hz to half the rate
  std::size_t padded = 0;          // transform length: the sound and half as much silence after it
  double binHz = 0.0;
  std::size_t sampleCount = 0;
  std::size_t samplesPerColumn = 1;
};

// One inverse transform configuration per envelope length, shared read-only by the threads.
class InverseTransforms {
 public:
  InverseTransforms() = default;
  InverseTransforms(const InverseTransforms&) = delete;
  InverseTransforms& operator=(const InverseTransforms&) = delete;
  ~InverseTransforms() {
    for (auto& [length, config] : configs_) kiss_fft_free(config);
  }
  bool Prepare(std::size_t length) {
    if (configs_.count(length)) return true;
    kiss_fft_cfg config = kiss_fft_alloc(static_cast<int>(length), 1, nullptr, nullptr);
    if (!config) return false;
    configs_[length] = config;
    return true;
  }
  kiss_fft_cfg For(std::size_t length) const { return configs_.at(length); }

 private:
  std::map<std::size_t, kiss_fft_cfg> configs_;
};

std::vector<Band> BandsOf(const std::vector<double>& pitches, const Spectrum& spectrum, double sampleRate) {
  std::vector<double> distinct = pitches;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::vector<Band> bands(distinct.size());
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    Band& band = bands[i];
    band.centre = distinct[i];
    band.below = i > 0 ? distinct[i] - distinct[i - 1] : 0.0;
    band.above = i + 1 < distinct.size() ? distinct[i + 1] - distinct[i] : 0.0;
    if (band.below == 0.0 && band.above == 0.0) {
      // A pitch without neighbours is measured as finely in time as a column allows.
      band.below = band.above = sampleRate / static_cast<double>(spectrum.samplesPerColumn);
    } else if (band.below == 0.0) {
      band.below = band.above;
    } else if (band.above == 0.0) {
      band.above = band.below;
    }
    // A band narrower than a bin would miss a tone between two bins.
    band.below = std::max(band.below, spectrum.binHz);
    band.above = std::max(band.above, spectrum.binHz);
  }
  return bands;
}

// Raised-cosine weight of a bin at offset hz from the band's pitch: 1 there, 0 at the reach and beyond.
double BandWeight(double offset, const Band& band) {
  const double reach = offset < 0.0 ? band.below : band.above;
  const double fraction = std::fabs(offset) / reach;
  if (fraction >= 1.0) return 0.0;
  const double c = std::cos(0.5 * std::numbers::pi * fraction);
  return c * c;
}

std::size_t EnvelopeLength(const Spectrum& spectrum, long firstBin, long lastBin) {
  const std::size_t binCount = static_cast<std::size_t>(lastBin - firstBin + 1);
  const std::size_t forColumns = EnvelopePointsPerColumn * spectrum.padded / spectrum.samplesPerColumn + 1;
  return DivisorAtLeast(spectrum.padded, std::max({binCount, forColumns, MinimumTransformSize}));
}

struct BandBins {
  long first = 0;
  long last = -1;
  long centre = 0;
  std::size_t envelopeLength = 0;
};

BandBins BinsOf(const Spectrum& spectrum, const Band& band) {
  BandBins bins;
  const long lastBin = static_cast<long>(spectrum.padded / 2);
  bins.first = std::max(0L, static_cast<long>(std::ceil((band.centre - band.below) / spectrum.binHz)));
  bins.last = std::min(lastBin, static_cast<long>(std::floor((band.centre + band.above) / spectrum.binHz)));
  bins.centre = std::lround(band.centre / spectrum.binHz);
  if (bins.last < bins.first) bins.last = bins.first;
  bins.envelopeLength = EnvelopeLength(spectrum, bins.first, bins.last);
  return bins;
}

// The band's envelope and its RMS over each column, written to levels[0 .. Columns - 1].
void MeasureBand(const Spectrum& spectrum, const Band& band, const BandBins& bins, const InverseTransforms& inverse,
                 std::vector<kiss_fft_cpx>& baseband, std::vector<kiss_fft_cpx>& envelope, double* levels) {
  const std::size_t length = bins.envelopeLength;
  baseband.assign(length, kiss_fft_cpx{0.0f, 0.0f});
  envelope.resize(length);
  const long wrap = static_cast<long>(length);
  for (long k = bins.first; k <= bins.last; ++k) {
    const double weight = BandWeight(static_cast<double>(k) * spectrum.binHz - band.centre, band);
    if (weight == 0.0) continue;
    kiss_fft_cpx& slot = baseband[static_cast<std::size_t>(((k - bins.centre) % wrap + wrap) % wrap)];
    slot.r += static_cast<float>(weight * spectrum.bins[static_cast<std::size_t>(k)].r);
    slot.i += static_cast<float>(weight * spectrum.bins[static_cast<std::size_t>(k)].i);
  }
  kiss_fft(inverse.For(length), baseband.data(), envelope.data());

  // A real tone of amplitude a puts a/2 at its positive pitch; the inverse transform is not scaled.
  const double scale = 2.0 / static_cast<double>(spectrum.padded);
  const std::size_t step = spectrum.padded / length;
  const std::size_t per = spectrum.samplesPerColumn;
  for (int column = 0; column < Columns; ++column) {
    const std::size_t start = static_cast<std::size_t>(column) * per;
    if (start >= spectrum.sampleCount) {
      levels[column] = 0.0;
      continue;
    }
    // The last column sounds to the end, as it does in synthesis.
    const std::size_t end = column == Columns - 1 ? spectrum.sampleCount : std::min(spectrum.sampleCount, start + per);
    std::size_t first = (start + step - 1) / step;
    std::size_t stop = (end + step - 1) / step;
    if (first >= stop) {
      first = (start + end) / 2 / step;
      stop = first + 1;
    }
    double energy = 0.0;
    for (std::size_t m = first; m < stop; ++m)
      energy += static_cast<double>(envelope[m].r) * envelope[m].r + static_cast<double>(envelope[m].i) * envelope[m].i;
    levels[column] = scale * std::sqrt(energy / static_cast<double>(stop - first));
  }
}

bool SpectrumOf(std::span<const float> samples, std::int32_t sampleRate, Spectrum& spectrum) {
  spectrum.sampleCount = samples.size();
  spectrum.samplesPerColumn = static_cast<std::size_t>(AnalysisSamplesPerColumn(samples.size()));
  // The silence keeps the end of the sound from reaching round to its start through the longest spans.
  spectrum.padded = EvenSmoothLengthAtLeast(std::max(MinimumTransformSize, samples.size() + samples.size() / 2));
  spectrum.binHz = static_cast<double>(sampleRate) / static_cast<double>(spectrum.padded);
  std::vector<kiss_fft_scalar> padded(spectrum.padded, 0.0f);
  // Anything not a number would spread over every band; it is taken as silence.
  for (std::size_t i = 0; i < samples.size(); ++i) padded[i] = std::isfinite(samples[i]) ? samples[i] : 0.0f;
  kiss_fftr_cfg forward = kiss_fftr_alloc(static_cast<int>(spectrum.padded), 0, nullptr, nullptr);
  if (!forward) return false;
  spectrum.bins.resize(spectrum.padded / 2 + 1);
  kiss_fftr(forward, padded.data(), spectrum.bins.data());
  kiss_fftr_free(forward);
  return true;
}

int ThreadCountFor(const AnalysisOptions& options, std::size_t bandCount) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t wanted = options.threadCount > 0 ? static_cast<std::size_t>(options.threadCount) : cores;
  return static_cast<int>(std::max<std::size_t>(1, std::min(wanted, bandCount)));
}

}  // namespace

std::int32_t AnalysisSamplesPerColumn(std::size_t sampleCount) {
  return sampleCount < 2 ? 1 : SamplesPerColumnOver(static_cast<double>(sampleCount - 1), Columns);
}

PlaybackPace PaceOfSound(std::size_t sampleCount, std::int32_t sampleRate) {
  const double milliseconds =
      sampleRate > 0 ? std::nearbyint(1000.0 * static_cast<double>(sampleCount) / sampleRate) : 0.0;
  const double longest = SoundSettingRanges[DurationSetting].maximum;
  return {ClampedSettingValue(DurationSetting, static_cast<std::int32_t>(std::min(milliseconds, longest))),
          ClampedSettingValue(SampleRateSetting, sampleRate)};
}

std::vector<double> HeardRowFrequencies(const SynthSettingsRecord& mapping) {
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, nullptr};
  std::vector<double> heard(Rows);
  for (int row = 0; row < Rows; ++row)
    heard[row] = HeardFrequency(RowFrequencyOf(row, mapping, sources), mapping.PhaseFactor);
  return heard;
}

std::vector<double> AnalyseLevels(std::span<const float> samples, std::int32_t sampleRate,
                                  const SynthSettingsRecord& mapping, const AnalysisOptions& options) {
  std::vector<double> levels(static_cast<std::size_t>(Rows) * Columns, 0.0);
  Spectrum spectrum;
  if (samples.empty() || sampleRate < 1 || !SpectrumOf(samples, sampleRate, spectrum)) return levels;

  std::vector<double> pitches = HeardRowFrequencies(mapping);
  for (double& pitch : pitches) pitch = FoldedFrequency(pitch, sampleRate);
  const std::vector<Band> bands = BandsOf(pitches, spectrum, sampleRate);
  std::vector<BandBins> bins;
  InverseTransforms inverse;
  for (const Band& band : bands) {
    bins.push_back(BinsOf(spectrum, band));
    if (!inverse.Prepare(bins.back().envelopeLength)) return levels;
  }

  std::vector<double> bandLevels(bands.size() * Columns, 0.0);
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    std::vector<kiss_fft_cpx> baseband, envelope;
    for (std::size_t b; (b = next.fetch_add(1)) < bands.size();)
      MeasureBand(spectrum, bands[b], bins[b], inverse, baseband, envelope, &bandLevels[b * Columns]);
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < ThreadCountFor(options, bands.size()); ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();

  for (int row = 0; row < Rows; ++row) {
    const auto band = std::lower_bound(bands.begin(), bands.end(), pitches[row],
                                       [](const Band& b, double pitch) { return b.centre < pitch; });
    const double* source = &bandLevels[static_cast<std::size_t>(band - bands.begin()) * Columns];
    std::copy(source, source + Columns, &levels[static_cast<std::size_t>(row) * Columns]);
  }
  return levels;
}

Raster LevelsToPicture(std::span<const double> levels, AnalysisScale scale) {
  Raster picture(Columns, Rows);
  if (levels.size() != static_cast<std::size_t>(Rows) * Columns) return picture;
  double loudest = 0.0;
  for (const double level : levels)
    if (std::isfinite(level)) loudest = std::max(loudest, level);
  if (loudest <= 0.0) return picture;
  for (int row = 0; row < Rows; ++row) {
    for (int column = 0; column < Columns; ++column) {
      const double level = levels[static_cast<std::size_t>(row) * Columns + column];
      if (!(level > 0.0) || !std::isfinite(level)) continue;
      const double ratio = level / loudest;
      const double brightness =
          scale == AnalysisScale::Linear ? 255.0 * ratio : 255.0 * (1.0 + 20.0 * std::log10(ratio) / DecibelRange);
      const double grey = std::clamp(std::nearbyint(brightness), 0.0, 255.0);
      const auto value = static_cast<std::uint8_t>(grey);
      picture.At(column, row) = MakeColour(value, value, value);
    }
  }
  return picture;
}

Raster AnalyseSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                    AnalysisScale scale, const AnalysisOptions& options) {
  return LevelsToPicture(AnalyseLevels(samples, sampleRate, mapping, options), scale);
}

// Interface placeholders until the choices are honoured: today's picture, range and no notes.
Raster AnalyseSound(std::span<const float> samples, std::int32_t sampleRate, const SynthSettingsRecord& mapping,
                    const AnalysisChoices& choices) {
  return AnalyseSound(samples, sampleRate, mapping, choices.scale, AnalysisOptions{choices.threadCount});
}

FrequencyRange FitFrequencyRange(std::span<const float>, std::int32_t, const SynthSettingsRecord& mapping,
                                 std::int32_t) {
  return {mapping.FrqFrom, mapping.FrqTo};
}
