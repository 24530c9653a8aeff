// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the readout line: times, rows, heard pitches with their notes, slider values and band levels,
// each number written the one way the line shows it.
#include "sound/readout_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "distribution/frequency_mapping.h"
#include "sound/playback.h"

namespace {

constexpr const char* Separator = " \u00B7 ";
constexpr const char* Minus = "\u2212";
constexpr std::array<const char*, 12> NoteNames = {"C",  "C\u266F", "D",  "D\u266F", "E",  "F",
                                                   "F\u266F", "G",  "G\u266F", "A",  "A\u266F", "B"};
constexpr double A4Hz = 440.0;
constexpr int A4Midi = 69;

std::string Printed(const char* format, ...) {
  std::array<char, 128> buffer{};
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
  va_end(arguments);
  return buffer.data();
}

}  // namespace

std::string NoteNameOf(double hz) {
  if (!(hz > 0.0) || !std::isfinite(hz)) return {};
  const long midi = std::lround(A4Midi + 12.0 * std::log2(hz / A4Hz));
  const double noteHz = A4Hz * std::exp2(static_cast<double>(midi - A4Midi) / 12.0);
  const long cents = std::lround(1200.0 * std::log2(hz / noteHz));
  // Octaves below midi 0 count down with the floor of the division, not its truncation.
  const long octave = (midi >= 0 ? midi / 12 : (midi - 11) / 12) - 1;
  std::string text = NoteNames[static_cast<std::size_t>((midi % 12 + 12) % 12)] + std::to_string(octave);
  if (cents == 0) return text + " 0 ct";
  return text + " " + (cents > 0 ? "+" : Minus) + std::to_string(std::labs(cents)) + " ct";
}

std::string CanvasReadoutText(int x, int y, const SynthSettingsRecord& settings) {
  const std::int64_t perColumn = ComputeSamplesPerColumn(settings.SampleRate, settings.Duration, CanvasSize);
  const std::int64_t start = perColumn * x;
  std::string text = Printed("%.2f s", static_cast<double>(start) / settings.SampleRate);
  // The playback stops short of the sound's end: a column that starts past what it delivers is never heard.
  const auto played = PlayedSampleCount(static_cast<std::size_t>(std::max(settings.SampleCount, 0)) + 1);
  if (start >= static_cast<std::int64_t>(played)) text += " (not heard)";

  const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, nullptr};
  const double nominal = HeardFrequency(RowFrequencyOf(y, settings, sources), settings.PhaseFactor);
  text += Separator + Printed("row %d", y) + Separator + Printed("%.1f Hz", nominal);
  // Past half the sample rate the pitch heard is the one it folds to, and the note is that pitch's.
  double heard = nominal;
  if (nominal > settings.SampleRate / 2.0) {
    heard = FoldedFrequency(nominal, settings.SampleRate);
    text += Printed(" folds to %.1f Hz", heard);
  }
  if (const std::string note = NoteNameOf(heard); !note.empty()) text += Separator + note;
  return text;
}

std::string SliderReadoutText(SoundSetting setting, int value) {
  switch (setting) {
    case DurationSetting: return Printed("Sound Duration %.3f s", value / 1000.0);
    case SampleRateSetting: return Printed("Sample Rate %d Hz", value);
    case FrqFromSetting: return Printed("Frq From %d Hz", value);
    case FrqToSetting: return Printed("Frq To %d Hz", value);
    case DistASetting: return Printed("Distribution A %.2f", FractionFromPosition(value));
    case DistBSetting: return Printed("Distribution B %.2f", FractionFromPosition(value));
    case DistCSetting: return Printed("Distribution C %.2f", FractionFromPosition(value));
    case DistDSetting: return Printed("Distribution D %.2f", FractionFromPosition(value));
    default: return {};
  }
}

std::string BandReadoutText(int row, double level, std::optional<double> curveNotInUse) {
  std::string text = Printed("row %d", row) + Separator + Printed("level %.2f", level);
  if (curveNotInUse) text += Separator + Printed("curve %.2f not in use until edited", *curveNotInUse);
  return text;
}

std::string ImportReadoutText(const std::string& name, std::size_t samplesTaken, std::int64_t fileFrames,
                              std::int32_t fileRate, std::int32_t durationMs, std::int32_t playRate,
                              std::int64_t firstFrame) {
  const double fileSeconds = static_cast<double>(fileFrames) / fileRate;
  const double takenSeconds = static_cast<double>(samplesTaken) / fileRate;
  const std::string whole = Printed(" (%.2f s at %d Hz)", fileSeconds, fileRate);
  std::string text;
  if (firstFrame > 0)
    text = Printed("Imported %.2f s from %.2f s of ", takenSeconds, static_cast<double>(firstFrame) / fileRate) + name + whole;
  else if (static_cast<std::int64_t>(samplesTaken) < fileFrames)
    text = Printed("Imported the first %g s of ", takenSeconds) + name + whole;
  else
    text = "Imported " + name + Printed(": %.2f s at %d Hz", fileSeconds, fileRate);
  if (playRate != fileRate) text += Separator + Printed("plays at %d Hz", playRate);
  if (std::fabs(durationMs / 1000.0 - takenSeconds) >= 0.0005)
    text += Separator + Printed("plays over %.3f s", durationMs / 1000.0);
  return text;
}

namespace {

std::string Counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Joined(std::string text, const std::vector<std::string>& remarks) {
  for (const std::string& remark : remarks) text += Separator + remark;
  return text;
}

}  // namespace

std::vector<std::string> NotesDrawnRemarks(const NotesDrawn& drawn) {
  std::vector<std::string> remarks;
  if (drawn.withoutRow > 0)
    remarks.push_back(Counted(drawn.withoutRow, "note", "notes") + " left out: no row is heard within half a semitone of " +
                      (drawn.withoutRow == 1 ? "it" : "them"));
  if (drawn.cutOff + drawn.shortened > 0)
    remarks.push_back(Printed("cut at %.2f s: ", drawn.cutAtSeconds) + Counted(drawn.cutOff, "note", "notes") +
                      " left out, " + std::to_string(drawn.shortened) + " shortened");
  return remarks;
}

std::string MidiImportReadoutText(const std::string& name, const NotesDrawn& drawn, std::int32_t durationMs) {
  return Joined("Imported " + Counted(drawn.drawn, "note", "notes") + " of " + name +
                    Printed(" over %.3f s", durationMs / 1000.0),
                NotesDrawnRemarks(drawn));
}

std::vector<std::string> NotesWrittenRemarks(std::size_t rowsWithoutKey, std::size_t notesUnbent) {
  std::vector<std::string> remarks;
  if (rowsWithoutKey > 0)
    remarks.push_back(Counted(rowsWithoutKey, "lit row has", "lit rows have") + " no MIDI key");
  if (notesUnbent > 0)
    remarks.push_back(Counted(notesUnbent, "note plays without its", "notes play without their") +
                      " bend: more pitches were bent at once than 15 channels hold");
  return remarks;
}

std::string MidiExportReadoutText(const std::string& name, std::size_t notes, std::size_t rowsWithoutKey,
                                  std::size_t notesUnbent) {
  return Joined("Exported " + Counted(notes, "note", "notes") + " to " + name, NotesWrittenRemarks(rowsWithoutKey, notesUnbent));
}
