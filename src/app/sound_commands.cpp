// SPDX-License-Identifier: GPL-3.0-or-later
// The sound's commands: Synthesize (snapshot, synthesis unless Repeat, playback with the scan cursor) and
// Export Sound.
#include <new>
#include <string>

#include "app/commands.h"
#include "app/controls.h"
#include "app/state.h"
#include "distribution/frequency_mapping.h"
#include "picture/document.h"
#include "picture/surface.h"
#include "sound/fast_render.h"
#include "sound/playback.h"
#include "sound/sound_file.h"
#include "sound/synthesis.h"

void RunSynthesizeCommand() {
  const ImageRef snapshot = NewImage(CanvasImage, CanvasSize, CanvasSize);
  if (snapshot && BeginDrawing(HandleTarget(snapshot))) {
    BlitImage(CanvasPicture(PaintCanvas), 0, 0);
    EndDrawing();
  }
  // Repeat replays the last sound; before the first synthesis there is none, so make it now.
  const bool haveSound = SoundBuffer.size() >= MinimumPlayableSamples;
  if (RepeatFlag != 1 || !haveSound) {
    PrepareSynthesis();
    RenderSound();
  }
  // A replay after a rate change plays the old samples at the new rate; Export writes them as they were heard.
  SoundBufferRate = SynthSettings.SampleRate;
  PlaySoundBuffer();
}

void PrepareSynthesis() {
  const Raster* picture = CanvasPicture(PaintCanvas);
  const Raster noPicture;
  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, &BandLevel};
  try {
    SynthesisTables tables = BuildSynthesisTables(picture ? *picture : noPicture, SynthSettings, sources);
    RowFrequency = std::move(tables.rowFrequency);
    RowLevel = std::move(tables.rowLevel);
    PixelLevel = std::move(tables.pixelLevel);
    SynthesisWidth = tables.width;
    SynthesisHeight = tables.height;
  } catch (const std::bad_alloc&) {
    // Empty tables render as silence rather than as a sound of the previous picture.
    RowFrequency.clear();
    RowLevel.clear();
    PixelLevel.clear();
    SynthesisWidth = 0;
    SynthesisHeight = 0;
  }
}

void RenderSound() {
  const RenderParameters parameters{SynthSettings.SampleRate, SynthSettings.Duration, SynthSettings.SampleCount,
                                    SynthSettings.PhaseFactor};
  try {
    const SynthesisTables tables{SynthesisWidth, SynthesisHeight, RowFrequency, RowLevel, PixelLevel};
    SoundBuffer = RenderSamplesFast(tables, parameters);  // every sample is new, none of the old buffer is kept
    SamplesPerColumn = ComputeSamplesPerColumn(parameters.sampleRate, parameters.duration, SynthesisWidth);
  } catch (const std::bad_alloc&) {
    // Too little memory for this sound: keep no sound at all, so nothing stale is played as if it were new.
    SoundBuffer.assign(1, 0.0f);
    return;
  }
  NormalizeSound();
}

void NormalizeSound() { NormalizeSamples(SoundBuffer); }

void PlaySoundBuffer() {
  PlaybackHooks hooks;
  hooks.cursorStep = [](std::int32_t x) { DrawScanCursor(x); };
  hooks.idle = [] { UiProcessPaintOnly(); };
  const PlaybackOutcome outcome = PlaySamples(SoundBuffer, SynthSettings.SampleRate, hooks);
  // When the last buffer was still within the picture its cursor line would otherwise stay there.
  if (outcome.buffersDelivered > 0) RestoreCanvasPicture();
  if (outcome.error != paNoError) UiMessageBox("", outcome.errorText);
}

void DrawScanCursor(std::int32_t x) {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  BlitImage(ImageHandle(CanvasImage), 0, 0);
  // The line runs one pixel past the bottom edge; clipping drops that pixel.
  if (x < CanvasSize) DrawLine(x, 0, x, CanvasSize, White);
  EndDrawing();
}

void RestoreCanvasPicture() {
  if (!BeginDrawing(CanvasTarget(PaintCanvas))) return;
  BlitImage(ImageHandle(CanvasImage), 0, 0);
  EndDrawing();
}

namespace {

constexpr const char* ExportTitle = "Export Sound";
constexpr const char* ExportFilters = "WAV (*.wav)|*.wav|FLAC (*.flac)|*.flac";
constexpr int WavFilter = 0;

}  // namespace

void RunExportSoundCommand() {
  // SoundBufferRate is set by each Synthesize; before the first there is nothing to export.
  if (SoundBufferRate <= 0) {
    UiMessageBox(ExportTitle, "Press Synthesize first: there is no sound to export yet.");
    return;
  }
  const FileChoice choice = UiFileDialog(true, ExportTitle, ExportFilters);
  if (choice.path.empty()) return;
  const bool wav = choice.filterIndex == WavFilter;
  const std::string path = NameWithExtension(choice.path, wav ? ".wav" : ".flac");
  const SoundFileOutcome outcome =
      WriteSoundFile(path, SoundBuffer, SoundBufferRate, wav ? SoundFileFormat::FloatWav : SoundFileFormat::Flac);
  if (!outcome.ok) UiMessageBox(ExportTitle, "Could not write " + path + ": " + outcome.error);
}
