// SPDX-License-Identifier: GPL-3.0-or-later
// Times the reference sample loop against the fast one on the worst case and on the start-up settings,
// and prints how many times faster the fast one is; beside them, the analysis of the worst case's sound and the
// import and export of a MIDI file of 10,000 notes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "distribution/frequency_mapping.h"
#include "picture/raster_ops.h"
#include "sound/analysis.h"
#include "sound/fast_render.h"
#include "sound/midi_file.h"
#include "sound/midi_picture.h"
#include "sound/synthesis.h"

namespace {

constexpr int WorstRate = 22050;
constexpr float WorstDuration = 15.0f;
constexpr int StartRate = 3000;
constexpr float StartDuration = 5.0f;
constexpr int BrushRadius = 5;
constexpr double Pi = 3.14159265358979323846;

// A band curve with a bump in the middle and a fall towards the top, never quite 0.
float CurvedLevel(int row) {
  const double t = static_cast<double>(row) / CanvasSize;
  return static_cast<float>(0.15 + 0.6 * t + 0.25 * std::sin(3.0 * Pi * t));
}

float UneditedLevel(int) { return 0.5f; }

// Smooth light and shade with grain, like a photograph; every pixel has some brightness.
Raster PhotoLikePicture() {
  Raster picture(CanvasSize, CanvasSize);
  std::uint32_t state = 2024;
  for (int y = 0; y < CanvasSize; ++y) {
    for (int x = 0; x < CanvasSize; ++x) {
      state = state * 1664525u + 1013904223u;
      const double shade = 0.5 + 0.3 * std::sin(x * 0.021 + y * 0.013) + 0.15 * std::cos(x * 0.07 - y * 0.05);
      const int grain = static_cast<int>((state >> 24) % 24) - 12;
      auto channel = [&](double tint) {
        const int value = static_cast<int>(255.0 * shade * tint) + grain;
        return static_cast<std::uint8_t>(value < 8 ? 8 : (value > 255 ? 255 : value));
      };
      picture.At(x, y) = MakeColour(channel(1.0), channel(0.85), channel(0.7));
    }
  }
  return picture;
}

// A black canvas with three white brush strokes of the start-up brush.
Raster BrushStrokes() {
  Raster picture(CanvasSize, CanvasSize);
  const int strokes[][4] = {{40, 60, 150, 90}, {160, 300, 260, 200}, {280, 120, 340, 140}};
  for (const auto& s : strokes)
    for (int k = 0; k <= 40; ++k)
      FillCircleOn(picture, s[0] + (s[2] - s[0]) * k / 40, s[1] + (s[3] - s[1]) * k / 40, BrushRadius, White);
  return picture;
}

struct Case {
  SynthesisTables tables;
  RenderParameters parameters;
};

const Case& WorstCase() {
  static const Case c = [] {
    SynthSettingsRecord settings;
    settings.SampleRate = WorstRate;
    settings.Duration = WorstDuration;
    settings.SampleCount = ComputeSampleCount(WorstRate, WorstDuration);
    settings.FrqDistribution = 1;
    return Case{BuildSynthesisTables(PhotoLikePicture(), settings, {&DefaultFrequency, &DistributionFrequency, &CurvedLevel}),
                {settings.SampleRate, settings.Duration, settings.SampleCount, settings.PhaseFactor}};
  }();
  return c;
}

const Case& StartUpCase() {
  static const Case c = [] {
    SynthSettingsRecord settings;
    settings.SampleRate = StartRate;
    settings.Duration = StartDuration;
    settings.SampleCount = ComputeSampleCount(StartRate, StartDuration);
    return Case{BuildSynthesisTables(BrushStrokes(), settings, {&DefaultFrequency, &DistributionFrequency, &UneditedLevel}),
                {settings.SampleRate, settings.Duration, settings.SampleCount, settings.PhaseFactor}};
  }();
  return c;
}

// One timed case: a picture with its settings, and the loop that renders it.
struct Entry {
  const char* name;  // "<picture>/<loop>"; the reference of the same picture is "<picture>/reference"
  const Case& (*picture)();
  bool reference;
  FastRenderOptions options;
};

const Entry Entries[] = {
    {"worst/reference", &WorstCase, true, {}},
    {"worst/fast", &WorstCase, false, {}},
    {"worst/fast_one_thread", &WorstCase, false, {1, true}},
    {"worst/fast_baseline_vectors", &WorstCase, false, {0, false}},
    {"start_up/reference", &StartUpCase, true, {}},
    {"start_up/fast", &StartUpCase, false, {}},
};
constexpr int SlowReferenceIterations = 2;

void RunEntry(benchmark::State& state, const Entry& entry) {
  const Case& c = entry.picture();
  for (auto _ : state) {
    if (entry.reference)
      benchmark::DoNotOptimize(RenderSamples(c.tables, c.parameters));
    else
      benchmark::DoNotOptimize(RenderSamplesFast(c.tables, c.parameters, entry.options));
  }
}

// 10,000 notes over 15 s on the keys the start settings' rows reach, written as a MIDI file.
const std::string& TenThousandNotes() {
  static const std::string bytes = [] {
    std::vector<MidiNote> notes;
    for (int i = 0; i < 10000; ++i) {
      const double start = 14.9 * i / 10000;
      notes.push_back({0, 0, 30 + i * 7 % 60, 1 + i % 127, 0.0, start, start + 0.1});
    }
    return EncodeMidiFile(notes).bytes;
  }();
  return bytes;
}

// Import MIDI: the file read and its notes drawn over 15 s; must stay well within 0.1 s.
void RunMidiImport(benchmark::State& state) {
  SynthSettingsRecord settings = StartSynthSettings();
  settings.Duration = 15.0f;
  for (auto _ : state) {
    const MidiReadOutcome read = DecodeMidiBytes(TenThousandNotes());
    Raster canvas(CanvasSize, CanvasSize);
    benchmark::DoNotOptimize(DrawNotes(read.piece->notes, settings, 1.0, canvas));
  }
}

// Export MIDI: a picture of those 10,000 notes (less those that share a row) made into notes and written.
void RunMidiExport(benchmark::State& state) {
  SynthSettingsRecord settings = StartSynthSettings();
  settings.Duration = 15.0f;
  Raster canvas(CanvasSize, CanvasSize);
  DrawNotes(DecodeMidiBytes(TenThousandNotes()).piece->notes, settings, 1.0, canvas);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeMidiFile(NotesOfPicture(canvas, settings, 1).notes));
}

// The worst case's sound (22050 Hz, 15 s, every pixel lit) analysed back into a picture.
void RunAnalysis(benchmark::State& state, int threadCount) {
  static const std::vector<float> sound = [] {
    std::vector<float> samples = RenderSamplesFast(WorstCase().tables, WorstCase().parameters);
    NormalizeSamples(samples);
    return samples;
  }();
  SynthSettingsRecord mapping;
  mapping.FrqDistribution = 1;
  AnalysisChoices choices;
  choices.threadCount = threadCount;
  for (auto _ : state) benchmark::DoNotOptimize(AnalyseSound(sound, WorstRate, mapping, choices));
}

std::string PictureOf(const std::string& name) { return name.substr(0, name.find('/')); }
std::string LoopOf(const std::string& name) {
  const std::size_t from = name.find('/') + 1;
  return name.substr(from, name.find('/', from) - from);
}

// The console report, then each fast loop's time set against the reference time of the same picture.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        milliseconds_[PictureOf(run.benchmark_name())][LoopOf(run.benchmark_name())] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-32s %14s %12s %10s\n", "case", "reference ms", "fast ms", "faster by");
    for (const auto& [picture, loops] : milliseconds_) {
      const auto reference = loops.find("reference");
      if (reference == loops.end()) continue;
      for (const auto& [loop, milliseconds] : loops) {
        if (loop == "reference") continue;
        const std::string name = picture + "/" + loop;
        std::printf("%-32s %14.3f %12.3f %9.1fx\n", name.c_str(), reference->second, milliseconds,
                    reference->second / milliseconds);
      }
    }
    std::printf("wide vectors on this processor: %s\n", WideOscillatorAvailable() ? "AVX2" : "none");
  }

 private:
  std::map<std::string, std::map<std::string, double>> milliseconds_;  // milliseconds by picture and loop
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  for (const Entry& entry : Entries) {
    auto* timed = benchmark::RegisterBenchmark(entry.name, RunEntry, entry)->Unit(benchmark::kMillisecond)->UseRealTime();
    if (entry.reference && entry.picture == &WorstCase) timed->Iterations(SlowReferenceIterations);
  }
  for (int threads : {0, 1})
    benchmark::RegisterBenchmark(threads ? "analysis/worst_one_thread" : "analysis/worst", RunAnalysis, threads)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  benchmark::RegisterBenchmark("midi/import_10000_notes", RunMidiImport)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("midi/export_10000_notes", RunMidiExport)->Unit(benchmark::kMillisecond)->UseRealTime();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
