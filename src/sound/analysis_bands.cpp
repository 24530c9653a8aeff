// SPDX-License-Identifier: GPL-3.0-or-later
// Sound into levels through a bank of bands cut from one spectrum of the whole sound. The sound is continued past
// both ends by what it holds there, foreseen by linear prediction, so that no band sees a step where the
// recording starts or stops (a step is broadband: it would light every row of the first and last columns) and a
// tone runs on through an end with its own phase. Each distinct played pitch gets a raised-cosine band from the
// pitch below it to the pitch above, so neighbouring bands add up to 1 and a tone at a row's own pitch reaches
// no other row. The band, moved down to 0 Hz and turned back into time at a low rate, is the row's amplitude
// envelope; its RMS over a column's stretch is the cell's level, and the turn of its phase from point to point is
// the frequency the band hears, which nearest placement moves the level by.
#include "sound/analysis_bands.h"

#include <kiss_fft.h>
#include <kiss_fftr.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <map>
#include <numbers>
#include <thread>

#include "sound/sound_continuation.h"

namespace {

constexpr std::size_t MinimumTransformSize = 64;
// Envelope points per column, so that every full column is measured at more than one instant.
constexpr double EnvelopePointsPerColumn = 2.0;
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

// The transform length for n samples: the sound and at least half as much again for its continuations, so that
// the longest bands reach no further round than the continuations go.
std::size_t TransformLength(std::size_t n) {
  return EvenSmoothLengthAtLeast(std::max(MinimumTransformSize, n + n / 2));
}

// A pitch and how far its band reaches below and above it, all in Hz.
struct Band {
  double centre = 0.0;
  double below = 0.0;
  double above = 0.0;
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

std::vector<Band> BandsOf(const std::vector<double>& distinct, const SoundSpectrum& spectrum, double columnLength) {
  std::vector<Band> bands(distinct.size());
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    Band& band = bands[i];
    band.centre = distinct[i];
    band.below = i > 0 ? distinct[i] - distinct[i - 1] : 0.0;
    band.above = i + 1 < distinct.size() ? distinct[i + 1] - distinct[i] : 0.0;
    if (band.below == 0.0 && band.above == 0.0) {
      // A pitch without neighbours is measured as finely in time as a column allows.
      band.below = band.above = static_cast<double>(spectrum.sampleRate) / columnLength;
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

struct BandBins {
  long first = 0;
  long last = -1;  // below first: the band lies above every bin the sound holds
  long centre = 0;
  std::size_t envelopeLength = 0;
};

BandBins BinsOf(const SoundSpectrum& spectrum, const Band& band, double columnLength) {
  BandBins bins;
  const long lastBin = static_cast<long>(spectrum.padded / 2);
  bins.first = std::max(0L, static_cast<long>(std::ceil((band.centre - band.below) / spectrum.binHz)));
  bins.last = std::min(lastBin, static_cast<long>(std::floor((band.centre + band.above) / spectrum.binHz)));
  bins.centre = std::lround(band.centre / spectrum.binHz);
  if (bins.last < bins.first) return bins;
  // The envelope holds every bin of the band on its own side of 0 Hz, so the phase turns less than half a
  // circle from point to point, and at least two points fall in every column.
  const long reach = std::max(bins.centre - bins.first, bins.last - bins.centre);
  const double forColumns = EnvelopePointsPerColumn * static_cast<double>(spectrum.padded) / columnLength + 1.0;
  const std::size_t needed = std::max({static_cast<std::size_t>(2 * reach + 2), static_cast<std::size_t>(forColumns),
                                       MinimumTransformSize});
  bins.envelopeLength = DivisorAtLeast(spectrum.padded, needed);
  return bins;
}

// The envelope of band index among the distinct pitches and, for each column, its level and, placed nearest, which
// neighbouring pitch (−1, 0 or +1 away) is nearest to the frequency it turns at there.
void MeasureBand(const SoundSpectrum& spectrum, const std::vector<Band>& bands, std::size_t index, const BandBins& bins,
                 std::span<const ColumnSpan> columns, bool nearest, const InverseTransforms& inverse,
                 std::vector<kiss_fft_cpx>& baseband, std::vector<kiss_fft_cpx>& envelope, double* levels,
                 std::int8_t* moves) {
  const Band& band = bands[index];
  const std::size_t length = bins.envelopeLength;
  baseband.assign(length, kiss_fft_cpx{0.0f, 0.0f});
  envelope.resize(length);
  const long wrap = static_cast<long>(length);
  for (long k = bins.first; k <= bins.last; ++k) {
    const double weight = BandWeight(static_cast<double>(k) * spectrum.binHz - band.centre, band);
    if (weight == 0.0) continue;
    kiss_fft_cpx& slot = baseband[static_cast<std::size_t>(((k - bins.centre) % wrap + wrap) % wrap)];
    const std::complex<float>& bin = spectrum.bins[static_cast<std::size_t>(k)];
    slot.r += static_cast<float>(weight * bin.real());
    slot.i += static_cast<float>(weight * bin.imag());
  }
  kiss_fft(inverse.For(length), baseband.data(), envelope.data());

  // A real tone of amplitude a puts a/2 at its positive pitch; the inverse transform is not scaled.
  const double scale = 2.0 / static_cast<double>(spectrum.padded);
  const double step = static_cast<double>(spectrum.padded / length);
  const double pointsPerSecond = static_cast<double>(spectrum.sampleRate) / step;
  const double centreHz = static_cast<double>(bins.centre) * spectrum.binHz;
  for (int column = 0; column < Columns; ++column) {
    const ColumnSpan& span = columns[static_cast<std::size_t>(column)];
    std::size_t first = static_cast<std::size_t>(std::ceil(span.first / step));
    std::size_t stop = static_cast<std::size_t>(std::ceil(span.end / step));
    if (first >= stop) {
      first = static_cast<std::size_t>(0.5 * (span.first + span.end) / step);
      stop = first + 1;
    }
    double energy = 0.0, turnR = 0.0, turnI = 0.0;
    for (std::size_t m = first; m < stop; ++m) {
      const kiss_fft_cpx& at = envelope[m % length];
      const kiss_fft_cpx& next = envelope[(m + 1) % length];
      const double atR = at.r, atI = at.i, nextR = next.r, nextI = next.i;
      energy += atR * atR + atI * atI;
      // next times the conjugate of at, written out: the library's complex product checks every result for NaN.
      turnR += nextR * atR + nextI * atI;
      turnI += nextI * atR - nextR * atI;
    }
    levels[column] = scale * std::sqrt(energy / static_cast<double>(stop - first));
    if (!nearest) continue;
    const double heardHz = centreHz + std::atan2(turnI, turnR) / (2.0 * std::numbers::pi) * pointsPerSecond;
    std::size_t to = index;
    for (std::size_t other : {index - 1, index + 1})
      if (other < bands.size() && std::fabs(bands[other].centre - heardHz) < std::fabs(bands[to].centre - heardHz))
        to = other;
    moves[column] = static_cast<std::int8_t>(static_cast<long>(to) - static_cast<long>(index));
  }
}

int ThreadCountFor(int threadCount, std::size_t bandCount) {
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const std::size_t wanted = threadCount > 0 ? static_cast<std::size_t>(threadCount) : cores;
  return static_cast<int>(std::max<std::size_t>(1, std::min(wanted, bandCount)));
}

}  // namespace

std::vector<ColumnSpan> ColumnSpans(std::size_t sampleCount, std::int32_t sampleRate, std::int32_t playRate) {
  std::vector<ColumnSpan> spans(Columns);
  if (sampleCount == 0 || sampleRate < 1 || playRate < 1) return spans;
  const float duration = DurationFromMilliseconds(PaceOfSound(sampleCount, sampleRate).durationMs);
  const double played = static_cast<double>(ComputeSampleCount(playRate, duration)) + 1.0;
  const double perColumn = ComputeSamplesPerColumn(playRate, duration, Columns);
  // Played samples to the sound's: the same instant, unless the sound is shorter than the picture's shortest
  // duration, which then spreads it over its whole length.
  const double seconds = static_cast<double>(sampleCount) / sampleRate;
  const double stretch = std::min(1.0, seconds / static_cast<double>(duration));
  const double toSound = static_cast<double>(sampleRate) / playRate * stretch;
  for (int column = 0; column < Columns; ++column) {
    const double start = column * perColumn;
    // The last column sounds to the end, as it does in synthesis.
    const double end = column == Columns - 1 ? std::max(played, start + perColumn) : start + perColumn;
    spans[static_cast<std::size_t>(column)] = {start * toSound, end * toSound};
  }
  return spans;
}

SoundSpectrum SpectrumOfSound(std::span<const float> samples, std::int32_t sampleRate, int threadCount) {
  SoundSpectrum spectrum;
  if (samples.empty() || sampleRate < 1) return spectrum;
  // Scaled to a peak of 1 before the single-precision transform; anything not a finite number is silence.
  double peak = 0.0;
  for (const float sample : samples)
    if (std::isfinite(sample)) peak = std::max(peak, std::fabs(static_cast<double>(sample)));
  const std::size_t padded = TransformLength(samples.size());
  const std::vector<float> continued =
      ContinuedSound(samples, peak, padded, sampleRate, ThreadCountFor(threadCount, 2) > 1);
  kiss_fftr_cfg forward = kiss_fftr_alloc(static_cast<int>(padded), 0, nullptr, nullptr);
  if (!forward) return spectrum;
  spectrum.bins.resize(padded / 2 + 1);
  kiss_fftr(forward, continued.data(), reinterpret_cast<kiss_fft_cpx*>(spectrum.bins.data()));
  kiss_fftr_free(forward);
  spectrum.padded = padded;
  spectrum.sampleCount = samples.size();
  spectrum.sampleRate = sampleRate;
  spectrum.binHz = static_cast<double>(sampleRate) / static_cast<double>(padded);
  return spectrum;
}

MeasuredLevels MeasureRowLevels(const SoundSpectrum& spectrum, std::span<const double> rowPitches,
                                std::span<const ColumnSpan> columns, RowPlacement placement, int threadCount) {
  MeasuredLevels measured{std::vector<double>(static_cast<std::size_t>(Rows) * Columns, 0.0),
                          std::vector<int>(Rows, 2)};
  std::vector<double>& levels = measured.levels;
  if (spectrum.bins.empty() || rowPitches.size() != static_cast<std::size_t>(Rows) ||
      columns.size() != static_cast<std::size_t>(Columns))
    return measured;
  const std::int32_t sampleRate = spectrum.sampleRate;

  std::vector<double> distinct(rowPitches.begin(), rowPitches.end());
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  const double columnLength = std::max(1.0, (columns.back().first - columns.front().first) / (Columns - 1));
  const std::vector<Band> bands = BandsOf(distinct, spectrum, columnLength);
  std::vector<BandBins> bins;
  InverseTransforms inverse;
  for (const Band& band : bands) {
    bins.push_back(BinsOf(spectrum, band, columnLength));
    if (bins.back().last >= bins.back().first && !inverse.Prepare(bins.back().envelopeLength)) return measured;
  }

  std::vector<double> bandLevels(bands.size() * Columns, 0.0);
  std::vector<std::int8_t> moves(bands.size() * Columns, 0);
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    std::vector<kiss_fft_cpx> baseband, envelope;
    for (std::size_t b; (b = next.fetch_add(1)) < bands.size();)
      if (bins[b].last >= bins[b].first)
        MeasureBand(spectrum, bands, b, bins[b], columns, placement == RowPlacement::Nearest, inverse, baseband,
                    envelope, &bandLevels[b * Columns], &moves[b * Columns]);
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < ThreadCountFor(threadCount, bands.size()); ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();

  // Each band's level, on its own pitch or, placed nearest, on the pitch nearest to what it hears: a tone between
  // two pitches is then wholly on the nearer, for the two bands' shares of it add up to the tone.
  std::vector<double> pitchLevels(bands.size() * Columns, 0.0);
  for (std::size_t cell = 0; cell < bandLevels.size(); ++cell)
    pitchLevels[static_cast<std::size_t>(static_cast<long>(cell) + moves[cell] * Columns)] += bandLevels[cell];
  for (int row = 0; row < Rows; ++row) {
    const double pitch = rowPitches[static_cast<std::size_t>(row)];
    const auto b = static_cast<std::size_t>(std::lower_bound(distinct.begin(), distinct.end(), pitch) - distinct.begin());
    std::copy_n(&pitchLevels[b * Columns], Columns, &levels[static_cast<std::size_t>(row) * Columns]);
    // A band reaching r Hz either side responds over 2 / r seconds.
    const double settling = 4.0 / (bands[b].below + bands[b].above) * sampleRate / columnLength;
    measured.settlingColumns[static_cast<std::size_t>(row)] =
        static_cast<int>(std::clamp(std::ceil(settling), 2.0, static_cast<double>(Columns)));
  }
  return measured;
}

PowerSpectrum PowerSpectrumOf(const SoundSpectrum& spectrum) {
  PowerSpectrum power;
  power.binHz = spectrum.binHz;
  power.energy.reserve(spectrum.bins.size());
  for (const std::complex<float>& bin : spectrum.bins)
    power.energy.push_back(static_cast<double>(bin.real()) * bin.real() + static_cast<double>(bin.imag()) * bin.imag());
  return power;
}
