// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes read as Import MIDI reads a MIDI file, with the outcome's promises checked: a piece or a
// reason, every note's numbers in range and its times ordered within the hour, the notes in order of start, and
// the notes written again read back as as many notes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sound/midi_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const MidiReadOutcome read = DecodeMidiBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  Check(read.piece.has_value() == read.error.empty());
  if (!read.piece) return 0;
  const MidiPiece& piece = *read.piece;
  Check(piece.format == 0 || piece.format == 1);
  Check(!piece.trackNames.empty() && piece.trackNames.size() <= MaximumMidiTracks);
  Check(piece.notes.size() <= MaximumMidiNotes);
  double previous = 0.0;
  for (const MidiNote& note : piece.notes) {
    Check(note.track >= 0 && note.track < static_cast<int>(piece.trackNames.size()));
    Check(note.channel >= 0 && note.channel < MidiChannels && note.key >= 0 && note.key <= 127);
    Check(note.velocity >= 1 && note.velocity <= 127);
    Check(note.start >= previous && note.end >= note.start && note.end <= MaximumMidiSeconds);
    Check(note.cents >= -12800.0 && note.cents <= 12800.0);
    previous = note.start;
  }
  const MidiReadOutcome again = DecodeMidiBytes(EncodeMidiFile(piece.notes).bytes);
  Check(again.piece && again.piece->notes.size() == piece.notes.size());
  return 0;
}
