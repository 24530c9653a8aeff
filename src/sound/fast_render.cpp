// SPDX-License-Identifier: GPL-3.0-or-later
// The fast sample loop. Samples are cut into blocks that never cross a column; in each block every lit
// row, in ascending order, adds its sine to the block's sums. A row's sine starts at the block's first
// sample from the library's sine and cosine of exactly the reference argument and runs on by angle
// addition. Blocks are fixed by the settings alone, so any number of threads gives the same samples.
// The oscillator kernel is built once for plain x86-64 and once for AVX2, chosen when the program runs;
// neither build enables fused multiply-add, so both round every product and sum the same way.
#include "sound/fast_render.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

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

namespace {

// Long enough that the two library calls at each block start cost little, short enough that the sums
// stay in the first-level cache and the angle addition drifts by only a few units in the last place.
constexpr int MaxBlockSamples = 1024;
static_assert(MaxBlockSamples % OscillatorLanes == 0);
constexpr int MaxThreads = 8;
// Oscillator terms below which one more thread costs more to start than it saves.
constexpr std::int64_t TermsPerExtraThread = std::int64_t{1} << 20;

struct Block {
  std::int64_t first = 0;  // index of the block's first sample
  int count = 0;
  int column = 0;
};

// Per row: the phase step per sample and the sine and cosine of the lane offsets and of one lane step.
struct RowOscillator {
  double phaseStep = 0.0;
  OscillatorState laneOffset{};
  OscillatorStep step{};
};

struct RenderJob {
  const SynthesisTables* tables = nullptr;
  const std::vector<RowOscillator>* rows = nullptr;
  const std::vector<Block>* blocks = nullptr;
  OscillatorKernel kernel = nullptr;
  float* samples = nullptr;
  std::atomic<std::size_t> nextBlock{0};
};

// The level the reference multiplies row j's sine by in this column, formed the same way.
double TermLevel(const SynthesisTables& tables, int row, int column) {
  return static_cast<double>(tables.rowLevel[row]) *
         static_cast<double>(tables.pixelLevel[static_cast<std::size_t>(row) * tables.width + column]);
}

std::vector<RowOscillator> MakeRowOscillators(const SynthesisTables& tables, const RenderParameters& parameters) {
  const double rate = static_cast<double>(parameters.sampleRate);
  const double phaseFactor = static_cast<double>(parameters.phaseFactor);
  std::vector<RowOscillator> rows(static_cast<std::size_t>(tables.height));
  for (int j = 0; j < tables.height; ++j) {
    RowOscillator& row = rows[j];
    row.phaseStep = (phaseFactor * static_cast<double>(tables.rowFrequency[j])) / rate;
    for (int m = 0; m < OscillatorLanes; ++m) {
      row.laneOffset.sine[m] = std::sin(row.phaseStep * m);
      row.laneOffset.cosine[m] = std::cos(row.phaseStep * m);
    }
    row.step = {std::cos(row.phaseStep * OscillatorLanes), std::sin(row.phaseStep * OscillatorLanes)};
  }
  return rows;
}

// Column n sounds from n × perColumn on; the last column runs to the end of the sound.
std::vector<Block> PlanBlocks(int width, std::int64_t samplesPerColumn, std::int64_t sampleCount) {
  std::vector<Block> blocks;
  for (int column = 0; column < width; ++column) {
    const std::int64_t first = column * samplesPerColumn;
    if (first > sampleCount) break;
    const std::int64_t last = column == width - 1 ? sampleCount : std::min(sampleCount, first + samplesPerColumn - 1);
    for (std::int64_t start = first; start <= last; start += MaxBlockSamples) {
      const auto count = static_cast<int>(std::min<std::int64_t>(MaxBlockSamples, last - start + 1));
      blocks.push_back({start, count, column});
    }
  }
  return blocks;
}

std::int64_t CountTerms(const SynthesisTables& tables, const std::vector<Block>& blocks) {
  std::vector<std::int64_t> litRows(static_cast<std::size_t>(tables.width), 0);
  for (int j = 0; j < tables.height; ++j)
    for (int x = 0; x < tables.width; ++x)
      if (TermLevel(tables, j, x) != 0.0) ++litRows[x];
  std::int64_t terms = 0;
  for (const Block& block : blocks) terms += block.count * litRows[block.column];
  return terms;
}

void RenderBlock(const RenderJob& job, const Block& block, float* sums) {
  const SynthesisTables& tables = *job.tables;
  std::fill(sums, sums + MaxBlockSamples, 0.0f);
  const auto origin = static_cast<double>(block.first);
  for (int j = 0; j < tables.height; ++j) {
    const double level = TermLevel(tables, j, block.column);
    // An unlit pixel's term is a zero, and adding a zero leaves every sum as it is.
    if (level == 0.0) continue;
    const RowOscillator& row = (*job.rows)[j];
    const double phase = row.phaseStep * origin;
    const double sine = std::sin(phase);
    const double cosine = std::cos(phase);
    OscillatorState start;
    for (int m = 0; m < OscillatorLanes; ++m) {
      start.sine[m] = sine * row.laneOffset.cosine[m] + cosine * row.laneOffset.sine[m];
      start.cosine[m] = cosine * row.laneOffset.cosine[m] - sine * row.laneOffset.sine[m];
    }
    job.kernel(sums, block.count, level, start, row.step);
  }
  std::copy(sums, sums + block.count, job.samples + block.first);
}

void RenderBlocks(RenderJob& job) noexcept {
  alignas(64) float sums[MaxBlockSamples];
  const std::vector<Block>& blocks = *job.blocks;
  for (;;) {
    const std::size_t index = job.nextBlock.fetch_add(1, std::memory_order_relaxed);
    if (index >= blocks.size()) return;
    RenderBlock(job, blocks[index], sums);
  }
}

int ChooseThreadCount(const FastRenderOptions& options, std::int64_t terms, std::size_t blockCount) {
  const int wanted = options.threadCount > 0 ? options.threadCount
                                             : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const std::int64_t useful = 1 + terms / TermsPerExtraThread;
  return static_cast<int>(std::max<std::int64_t>(
      1, std::min<std::int64_t>({wanted, MaxThreads, useful, static_cast<std::int64_t>(blockCount)})));
}

}  // namespace

std::vector<float> RenderSamplesFast(const SynthesisTables& tables, const RenderParameters& parameters,
                                     const FastRenderOptions& options) {
  if (parameters.sampleCount < 0) return {};
  std::vector<float> samples(static_cast<std::size_t>(parameters.sampleCount) + 1, 0.0f);
  if (!TablesMatch(tables) || parameters.sampleRate <= 0) return samples;

  const std::int64_t samplesPerColumn =
      ComputeSamplesPerColumn(parameters.sampleRate, parameters.duration, tables.width);
  const std::vector<Block> blocks = PlanBlocks(tables.width, samplesPerColumn, parameters.sampleCount);
  const std::vector<RowOscillator> rows = MakeRowOscillators(tables, parameters);
  RenderJob job;
  job.tables = &tables;
  job.rows = &rows;
  job.blocks = &blocks;
  job.kernel = ChooseOscillatorKernel(options.allowWideVectors);
  job.samples = samples.data();

  const int threadCount = ChooseThreadCount(options, CountTerms(tables, blocks), blocks.size());
  std::vector<std::thread> helpers;
  for (int t = 1; t < threadCount; ++t) {
    try {
      helpers.emplace_back([&job] { RenderBlocks(job); });
    } catch (const std::system_error&) {
      break;  // the threads already running and this one share out whatever is left
    }
  }
  RenderBlocks(job);
  for (std::thread& helper : helpers) helper.join();
  return samples;
}

std::vector<float> SynthesizeSound(const Raster& picture, const SynthSettingsRecord& settings,
                                   const SynthesisSources& sources) {
  const SynthesisTables tables = BuildSynthesisTables(picture, settings, sources);
  std::vector<float> samples = RenderSamplesFast(
      tables, {settings.SampleRate, settings.Duration, settings.SampleCount, settings.PhaseFactor});
  NormalizeSamples(samples);
  return samples;
}
