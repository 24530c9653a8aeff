// SPDX-License-Identifier: GPL-3.0-or-later
// Standard MIDI Files: the notes of a format 0 or 1 file with their times in seconds, read or refused with a
// reason, and notes written as a format 0 file that plays them at their pitches, pitch bends included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The bounds of what is read: beyond them a file is refused rather than read at length.
constexpr std::size_t MaximumMidiBytes = 16u << 20;
constexpr int MaximumMidiTracks = 256;
constexpr std::size_t MaximumMidiNotes = 200000;
constexpr double MaximumMidiSeconds = 3600.0;  // no note may start or end later
constexpr int MidiChannels = 16;
constexpr int DrumChannel = 9;  // the channel numbered 10, which General MIDI keeps for drums
// Ticks per quarter note and the tempo of the files written: 1920 ticks a second.
constexpr int WrittenDivision = 960;
constexpr int WrittenTempo = 500000;  // microseconds per quarter note
// The pitch bend range the files written set on each channel, in semitones (the General MIDI default).
constexpr int WrittenBendSemitones = 2;

struct MidiNote {
  int track = 0;      // from 0, in the order of the file's track chunks
  int channel = 0;    // 0..15; 9 is the drums' channel
  int key = 60;       // 0..127; 69 is A4
  int velocity = 64;  // 1..127
  double cents = 0.0; // the channel's pitch bend when the note starts
  double start = 0.0; // seconds from the start of the piece
  double end = 0.0;   // seconds; never before start
  bool operator==(const MidiNote&) const = default;
};

struct MidiPiece {
  int format = 0;
  std::vector<std::string> trackNames;  // one per track, empty where a track has no name
  std::vector<MidiNote> notes;          // by start, then track, channel and key
};

// A piece, or none and why (a phrase without a final stop, e.g. "it is cut short inside track 2").
struct MidiReadOutcome {
  std::optional<MidiPiece> piece;
  std::string error;
};

// The notes of SMF bytes; a note-on of velocity 0 ends a note, a note-off ends the earliest of its key and channel.
MidiReadOutcome DecodeMidiBytes(std::string_view bytes);
// The notes of the file at path, at most MaximumMidiBytes long.
MidiReadOutcome ReadMidiFile(const std::string& path);

// The seconds from the start of the piece to the end of its last note; 0 without notes.
double PieceSeconds(const std::vector<MidiNote>& notes);

// Notes in SMF bytes, and the notes that could not have their bend (more bent pitches at once than channels).
struct MidiEncoding {
  std::string bytes;
  std::size_t notesUnbent = 0;
};

// A format 0 file of the notes (their track and channel are not kept). Notes bent by 0 cents share the first
// channels; a bent note goes on a channel whose bend is its own, set when the channel is silent; the drums' channel
// is never used. A note that finds no such channel plays on the sounding channel whose bend is nearest its own.
MidiEncoding EncodeMidiFile(const std::vector<MidiNote>& notes);
