// SPDX-License-Identifier: GPL-3.0-or-later
// The texts of the readout line under the canvas: what lies under the pointer on the canvas, the band level
// editor or a slider, built from plain values (the program puts them on the window).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "picture/settings_file.h"
#include "sound/midi_picture.h"
#include "sound/synthesis.h"

// The equal-tempered note nearest hz (A4 = 440 Hz) and the cents from it: "F♯6 −12 ct"; empty unless hz > 0.
std::string NoteNameOf(double hz);
// Canvas pixel (x, y): column x's start time, marked "(not heard)" when the playback ends before the column starts,
// row y, the pitch the row sounds at, past half the sample rate the pitch it folds to, and the note of the pitch
// heard: "2.31 s · row 200 · 697.1 Hz · F5 −3 ct", "4.85 s · row 379 · 8475.2 Hz folds to 524.8 Hz · C5 +5 ct".
std::string CanvasReadoutText(int x, int y, const SynthSettingsRecord& settings);
// A setting's name and its control's value in the setting's unit: "Sound Duration 5.000 s", "Distribution A
// 0.50"; empty for the distribution box, which is no slider.
std::string SliderReadoutText(SoundSetting setting, int value);
// The band level editor at row (its X value): the level synthesis gives the row, and while the curve is not in use
// (every row 0.5 until it is edited) the curve's own level there: "row 190 · level 0.62", "row 190 · level 0.50 ·
// curve 0.62 not in use until edited".
std::string BandReadoutText(int row, double level, std::optional<double> curveNotInUse);
// After a sound is imported: how much of which file was taken, and where the sliders could not follow the file,
// how it plays: "Imported the first 15 s of song.wav (63.20 s at 44100 Hz) · plays at 22050 Hz"; a stretch taken
// from firstFrame on: "Imported 15.00 s from 12.00 s of song.wav (63.20 s at 44100 Hz)".
std::string ImportReadoutText(const std::string& name, std::size_t samplesTaken, std::int64_t fileFrames,
                              std::int32_t fileRate, std::int32_t durationMs, std::int32_t playRate,
                              std::int64_t firstFrame = 0);
// What drawing a MIDI file's notes left out or cut, one remark each: "3 notes left out: no row is heard within half a
// semitone of them", "cut at 15.07 s: 4 notes left out, 1 shortened"; none when every note was drawn whole.
std::vector<std::string> NotesDrawnRemarks(const NotesDrawn& drawn);
// After a MIDI file is imported: "Imported 152 notes of song.mid over 12.400 s", then the remarks.
std::string MidiImportReadoutText(const std::string& name, const NotesDrawn& drawn, std::int32_t durationMs);
// What writing a picture's notes could not keep, one remark each: "2 lit rows have no MIDI key", "5 notes play
// without their bend: more pitches were bent at once than 15 channels hold".
std::vector<std::string> NotesWrittenRemarks(std::size_t rowsWithoutKey, std::size_t notesUnbent);
// After the picture's notes are exported: "Exported 120 notes to song.mid", then the remarks.
std::string MidiExportReadoutText(const std::string& name, std::size_t notes, std::size_t rowsWithoutKey,
                                  std::size_t notesUnbent);
