// SPDX-License-Identifier: GPL-3.0-or-later
// Notes and pictures: a note is a stroke one row high on the row heard nearest its pitch, from the column where it
// starts to the column where it ends, as bright as its velocity; a run of lit pixels along a row is a note.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "picture/raster.h"
#include "sound/midi_file.h"
#include "sound/synthesis.h"

// A pitch this far or nearer from its note is written without a bend.
constexpr double UnbentCents = 5.0;
// A note whose nearest row is heard further than this from it has no row.
constexpr double FarthestRowCents = 50.0;
// The brightness below which a pixel is silence, unless the export is told otherwise.
constexpr int StartSilenceBelow = 16;

// The pitch of an equal-tempered key (A4 = 440 Hz), bent by cents.
double KeyPitch(int key, double cents = 0.0);
// The pitch each row is heard at under settings: its frequency as the oscillator plays it, folded past half the
// sample rate. One value per canvas row, row 0 at the top.
std::vector<double> HeardRowPitches(const SynthSettingsRecord& settings);
// The row heard nearest hz in cents (the topmost of equals), or -1 when none is within FarthestRowCents of it.
int NearestRow(const std::vector<double>& rowPitches, double hz);

// Velocity to brightness by the square law General MIDI synthesisers follow (amplitude (v / 127)^2, so that the
// file's dynamics are heard as a synthesiser plays them); every note keeps at least brightness 1.
int BrightnessOfVelocity(int velocity);
// The velocity whose brightness is nearest level (1..127): the curve above, inverted.
int VelocityOfBrightness(double level);

// The seconds one canvas column sounds for under settings.
double ColumnSeconds(const SynthSettingsRecord& settings);
// The Sound Duration in milliseconds that plays seconds of music, within the slider.
int DurationForSeconds(double seconds);

// Which notes of a piece are taken: by track and by channel.
struct NoteChoice {
  std::vector<bool> tracks;  // one per track; a track past its end is taken
  std::array<bool, MidiChannels> channels{};
  bool fitDuration = false;  // fit the piece into the Sound Duration instead of setting it to the piece's length
  bool paintOver = false;    // draw on the canvas instead of on black
  bool operator==(const NoteChoice&) const = default;
};
// Every track and every channel but the drums'.
NoteChoice StartNoteChoice(int trackCount);
// The notes the choice takes.
std::vector<MidiNote> ChosenNotes(const MidiPiece& piece, const NoteChoice& choice);

// What drawing notes did.
struct NotesDrawn {
  std::size_t drawn = 0;
  std::size_t withoutRow = 0;  // pitches no row is heard near
  std::size_t cutOff = 0;      // starting past the canvas's end
  std::size_t shortened = 0;   // ending past it
  double cutAtSeconds = 0.0;   // the piece's time at the canvas's end, when anything was cut
};
// Draws each note, its times multiplied by timeScale, on the row heard nearest its pitch under settings: columns
// round(start / c) up to but not including round(end / c), c the column's seconds (at least one column). A pixel
// two notes share takes the brighter.
NotesDrawn DrawNotes(const std::vector<MidiNote>& notes, const SynthSettingsRecord& settings, double timeScale,
                     Raster& canvas);

// What a picture's notes are, and the lit rows that have no key (heard below C-1 or above G9).
struct PictureNotes {
  std::vector<MidiNote> notes;
  std::size_t rowsWithoutKey = 0;
};
// Each run of pixels at least silenceBelow bright along a row is a note on the key nearest the row's heard pitch,
// bent by the cents between them when more than UnbentCents, from its first column's start to its last column's
// end, its velocity that of the run's mean brightness.
PictureNotes NotesOfPicture(const Raster& picture, const SynthSettingsRecord& settings, int silenceBelow);
