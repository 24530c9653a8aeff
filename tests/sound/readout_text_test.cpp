// SPDX-License-Identifier: GPL-3.0-or-later
// The readout line's texts: note names against equal temperament worked out here, the canvas text against
// the synthesis tables, and each slider's name and unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "distribution/frequency_mapping.h"
#include "sound/readout_text.h"

namespace {

const std::string Dot = " \u00B7 ";

TEST(ReadoutNote, NearestEqualTemperedNoteAndCents) {
  auto fromA4 = [](double semitones) { return 440.0 * std::exp2(semitones / 12.0); };
  const struct { double hz; const char* shown; } cases[] = {
      {440.0, "A4 0 ct"}, {261.63, "C4 0 ct"}, {27.5, "A0 0 ct"}, {466.16, "A\u266F4 0 ct"},
      {fromA4(20.88), "F\u266F6 \u221212 ct"}, {fromA4(0.07), "A4 +7 ct"}, {fromA4(-0.004), "A4 0 ct"},
      // Either side of half a semitone the nearer note changes and the cents change sign.
      {fromA4(0.496), "A4 +50 ct"}, {fromA4(0.504), "A\u266F4 \u221250 ct"}, {fromA4(-0.496), "A4 \u221250 ct"},
      {fromA4(-0.504), "G\u266F4 +50 ct"}, {fromA4(-9.496), "C4 \u221250 ct"}, {fromA4(-9.504), "B3 +50 ct"},
      {0.0, ""}};
  for (auto [hz, shown] : cases) EXPECT_EQ(NoteNameOf(hz), shown) << hz;
}

// Every row under both mappings: the pitch the synthesis tables give the row, past half the sample rate (1500 Hz at
// the start settings) the pitch it folds to, and the note of the pitch heard (once the note of the one it folds from).
TEST(ReadoutCanvas, EachRowShowsThePitchTheSynthesisTablesGiveItWhereItFoldsAndTheNoteHeard) {
  const std::string bottom = CanvasReadoutText(0, 379, StartSynthSettings());
  EXPECT_EQ(bottom.substr(bottom.find(Dot)), Dot + "row 379" + Dot + "8475.2 Hz folds to 524.8 Hz" + Dot + "C5 +5 ct");
  for (int mapping : {0, 1}) {
    SynthSettingsRecord settings = StartSynthSettings();
    settings.FrqDistribution = mapping;
    const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency, nullptr};
    const SynthesisTables tables = BuildSynthesisTables(Raster(CanvasSize, CanvasSize), settings, sources);
    for (int row = 0; row < CanvasSize; ++row) {
      const double sounds = HeardFrequency(tables.rowFrequency[row], settings.PhaseFactor);
      const double wrapped = std::fmod(sounds, 3000.0);
      const double heard = sounds <= 1500.0 ? sounds : std::min(wrapped, 3000.0 - wrapped);
      const std::string text = CanvasReadoutText(7, row, settings), rowPart = Dot + "row " + std::to_string(row) + Dot;
      ASSERT_NE(text.find(rowPart), std::string::npos) << text;
      EXPECT_NEAR(std::stod(text.substr(text.find(rowPart) + rowPart.size())), sounds, 0.05 + 1e-9) << text;
      const std::size_t folds = text.find(" folds to ");
      ASSERT_EQ(folds != std::string::npos, sounds > 1500.0) << text;
      if (folds != std::string::npos) { EXPECT_NEAR(std::stod(text.substr(folds + 10)), heard, 0.05 + 1e-9) << text; }
      EXPECT_EQ(text.substr(text.rfind(Dot) + Dot.size()), NoteNameOf(heard)) << text;
    }
  }
}

// Playback delivers whole buffers only: at the start settings (3000 Hz, 5 s, columns of 40 samples) 14976 of the
// 15001 samples, so column 375 (sample 15000 on) is never heard; at 3800 Hz for 1 s (columns of 10) 3790 of 3801;
// at 2000 Hz for 1.043 s (columns of 6) 2085 of 2087, in buffers of 5: column 347 (sample 2082 on) is heard, 348 not.
TEST(ReadoutCanvas, ColumnStartTimeAndColumnsNeverHeard) {
  SynthSettingsRecord second = StartSynthSettings(), third = second;
  second.SampleRate = 3800, second.Duration = 1.0f, second.SampleCount = 3800;
  third.SampleRate = 2000, third.Duration = 1.043f, third.SampleCount = 2086;
  const SynthSettingsRecord start = StartSynthSettings();
  const struct { const SynthSettingsRecord settings; int x; const char* shown; } cases[] = {
      {start, 0, "0.00 s"}, {start, 58, "0.77 s"}, {start, 374, "4.99 s"}, {start, 375, "5.00 s (not heard)"},
      {start, 379, "5.05 s (not heard)"}, {second, 378, "0.99 s"}, {second, 379, "1.00 s (not heard)"},
      {third, 347, "1.04 s"}, {third, 348, "1.04 s (not heard)"}};
  for (const auto& [settings, x, shown] : cases) {
    const std::string text = CanvasReadoutText(x, 100, settings);
    EXPECT_EQ(text.substr(0, text.find(Dot)), shown) << x;
  }
}

TEST(ReadoutSlider, EachSettingWithItsNameAndUnit) {
  const struct { SoundSetting setting; int value; const char* shown; } cases[] = {
      {DurationSetting, 5000, "Sound Duration 5.000 s"}, {DurationSetting, 1001, "Sound Duration 1.001 s"},
      {SampleRateSetting, 3000, "Sample Rate 3000 Hz"},  {FrqFromSetting, 90, "Frq From 90 Hz"},
      {FrqToSetting, 9000, "Frq To 9000 Hz"},            {DistASetting, 50, "Distribution A 0.50"},
      {DistBSetting, 5, "Distribution B 0.05"},          {DistCSetting, 75, "Distribution C 0.75"},
      {DistDSetting, 99, "Distribution D 0.99"},         {DistributionSetting, 1, ""}};
  for (auto [setting, value, shown] : cases) EXPECT_EQ(SliderReadoutText(setting, value), shown) << value;
}

// What an import took and how it plays where the sliders cannot follow the file's rate or length.
TEST(ReadoutImport, SaysWhatWasTakenAndHowItPlays) {
  const struct { long taken, frames; int rate, durationMs, playRate; long first; const char* shown; } cases[] = {
      {110250, 110250, 44100, 2500, 22050, 0, "Imported a.wav: 2.50 s at 44100 Hz \u00B7 plays at 22050 Hz"},
      {120000, 505600, 8000, 15000, 8000, 0, "Imported the first 15 s of a.wav (63.20 s at 8000 Hz)"},
      {120001, 505600, 8000, 15000, 8000, 96000, "Imported 15.00 s from 12.00 s of a.wav (63.20 s at 8000 Hz)"},
      {4000, 4000, 8000, 1000, 8000, 0, "Imported a.wav: 0.50 s at 8000 Hz \u00B7 plays over 1.000 s"},
      {12345, 12345, 4000, 3086, 4000, 0, "Imported a.wav: 3.09 s at 4000 Hz"}};
  for (auto [taken, frames, rate, durationMs, playRate, first, shown] : cases)
    EXPECT_EQ(ImportReadoutText("a.wav", taken, frames, rate, durationMs, playRate, first), shown) << frames;
  // Import MIDI: the notes drawn, those no row is heard near, and those a long piece's cut left out or shortened.
  const std::pair<NotesDrawn, const char*> notes[] = {
      {{1}, "Imported 1 note of a.mid over 12.400 s"},
      {{152, 3}, "Imported 152 notes of a.mid over 12.400 s \u00B7 3 notes left out: no row is heard within half a semitone of them"},
      {{2, 1, 4, 1, 15.07}, "Imported 2 notes of a.mid over 12.400 s \u00B7 1 note left out: no row is heard within half a "
                            "semitone of it \u00B7 cut at 15.07 s: 4 notes left out, 1 shortened"},
      {{0, 0, 0, 1, 9.5}, "Imported 0 notes of a.mid over 12.400 s \u00B7 cut at 9.50 s: 0 notes left out, 1 shortened"}};
  for (const auto& [drawn, shown] : notes) EXPECT_EQ(MidiImportReadoutText("a.mid", drawn, 12400), shown);
}

}  // namespace
