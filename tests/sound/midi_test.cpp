// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI files in and out: notes read from files built here byte by byte, refusals of damaged and hostile files, the
// files written read back, and notes on the canvas against a model of the rows' pitches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <unistd.h>
#include <random>

#include "sound/midi_file.h"
#include "sound/midi_picture.h"
#include "support/midi_models.h"
#include "support/pitch_models.h"

namespace {

using namespace midi_models;
using namespace pitch_models;

// At the start settings a column is 40 samples at 3000 Hz.
constexpr double Column = 40.0 / 3000.0;

MidiPiece Read(const std::string& bytes) {
  MidiReadOutcome read = DecodeMidiBytes(bytes);
  EXPECT_TRUE(read.piece) << read.error;
  return read.piece.value_or(MidiPiece{});
}

TEST(MidiRead, TimesThroughTheTempoMapAndEveryWayANoteEnds) {
  // 480 ticks a quarter: 0.5 s a quarter, from tick 960 1 s, from tick 1920 0.25 s (tempi in the first track).
  const std::string conductor = Track({{0, Tempo(500000)}, {960, Tempo(1000000)}, {960, Tempo(250000)}});
  const std::string lead = Track({{0, Bytes({0xFF, 0x03, 4}) + "Lead"}, {0, On(0, 60, 100)},
                                  {480, Bytes({60, 0})},                      // running status, velocity 0: an end
                                  {0, Bytes({0xF0, 2, 0x7E, 0xF7})},          // system exclusive
                                  {480, On(1, 64, 80)}, {480, On(1, 64, 90)},  // the same key twice
                                  {480, Off(1, 64)}, {480, Off(1, 64)}, {10, Off(2, 70)}});  // an end of nothing
  const MidiPiece piece = Read(File(1, 480, {conductor, lead}).insert(14, Chunk("XFIH", "skipped")));
  EXPECT_EQ(piece.format, 1);
  EXPECT_EQ(piece.trackNames, (std::vector<std::string>{"", "Lead"}));
  // The first of a key's notes to begin is the first to end.
  const std::vector<MidiNote> expected = {{1, 0, 60, 100, 0, 0.0, 0.5}, {1, 1, 64, 80, 0, 1.0, 3.0}, {1, 1, 64, 90, 0, 2.0, 3.25}};
  ASSERT_EQ(piece.notes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(std::tie(piece.notes[i].track, piece.notes[i].channel, piece.notes[i].key, piece.notes[i].velocity),
              std::tie(expected[i].track, expected[i].channel, expected[i].key, expected[i].velocity));
    EXPECT_NEAR(piece.notes[i].start, expected[i].start, 1e-12);
    EXPECT_NEAR(piece.notes[i].end, expected[i].end, 1e-12);
  }
  EXPECT_DOUBLE_EQ(PieceSeconds(piece.notes), 3.25);
  // Timecode: 25 frames of 40 ticks, 1000 ticks a second; 29 frames stands for 29.97.
  for (auto [frames, second] : {std::pair{25, 1000.0}, {29, 29.97 * 40}}) {
    const MidiPiece timed = Read(File(0, (256 - frames) << 8 | 40, {Track({{250, On(0, 60, 1)}, {1000, Off(0, 60)}})}));
    ASSERT_EQ(timed.notes.size(), 1u);
    EXPECT_NEAR(timed.notes[0].start, 250 / second, 1e-12);
    EXPECT_NEAR(timed.notes[0].end, 1250 / second, 1e-12);
  }
}

TEST(MidiRead, ANoteTakesItsChannelsBendInTheRangeTheChannelSets) {
  // Channel 3 sets its range to 12 semitones and bends half way up; channel 4 bends fully down in the 2 it starts with.
  const MidiPiece piece = Read(File(0, 96, {Track({{0, Bytes({0xB2, 101, 0})}, {0, Bytes({100, 0})},  // running status
                                                   {0, Bytes({6, 12})}, {0, Bytes({38, 0})},
                                                   {0, Bytes({0xE2, 0, 96})}, {0, Bytes({0xE3, 0, 0})},
                                                   {0, On(2, 60, 64)}, {0, On(3, 60, 64)}, {96, Off(2, 60)}, {0, Off(3, 60)}})}));
  ASSERT_EQ(piece.notes.size(), 2u);
  EXPECT_DOUBLE_EQ(piece.notes[0].cents, 600.0);
  EXPECT_DOUBLE_EQ(piece.notes[1].cents, -200.0);
}

TEST(MidiRead, DamagedAndHostileFilesAreRefusedWithTheReason) {
  const std::string note = Track({{0, On(0, 60, 64)}, {96, Off(0, 60)}});
  const std::string good = File(0, 96, {note});
  const std::string twoAnnounced = File(1, 96, {note}).replace(10, 2, BigEndian(2, 2));
  const std::string thousands = File(1, 96, std::vector<std::string>(300, note));
  const struct { std::string bytes; const char* reason; } cases[] = {
      {"RIFF....", "not a MIDI file"},
      {good.substr(0, 4) + BigEndian(4, 4) + good.substr(8), "header is damaged"},
      {File(2, 96, {note}), "format 2"},
      {File(0, 96, {note, note}), "format 0 but its header announces 2 tracks"},
      {File(1, 96, {}), "announces no tracks"},
      {thousands, "300 tracks, more than the 256"},
      {File(0, 0, {note}), "0 ticks"},
      {File(0, (256 - 23) << 8 | 4, {note}), "23 frames a second"},
      {good.substr(0, good.size() - 3), "cut short inside track 1"},
      {twoAnnounced, "holds 1 of the 2 tracks"},
      {File(0, 96, {Track({{0, Bytes({60, 64})}})}), "no running status"},
      {File(0, 96, {Track({{0, On(0, 60, 64)}, {0, Tempo(500000)}, {96, Bytes({60, 0})}})}), "no running status"},
      {File(0, 96, {Track({{0, Bytes({0xF0, 0x80, 0x80, 0x80, 0x80, 0})}})}), "longer than four bytes"},
      {File(0, 96, {Track({{0, Bytes({0xF3, 1})}})}), "0xF3"},
      {File(0, 96, {Track({{0, On(0, 60, 200)}})}), "above 127"},
      {File(0, 96, {Track({{0, Bytes({0xFF, 0x51, 2, 1, 2})}})}), "not three bytes"},
      {File(0, 96, {Track({{0, Tempo(0)}})}), "tempo of 0"},
      {File(0, 96, {Track({{0, On(0, 61, 64)}, {96, On(0, 62, 64)}, {96, Off(0, 62)}})}), "C\u266F4 on channel 1 of track 1 begins at 0.00 s and never ends"},
      {File(0, 1, {Track({{0, On(0, 60, 64)}, {0x0FFFFFFF, Off(0, 60)}})}), "past the hour"},
  };
  for (const auto& [bytes, reason] : cases) {
    const MidiReadOutcome read = DecodeMidiBytes(bytes);
    EXPECT_FALSE(read.piece) << reason;
    EXPECT_NE(read.error.find(reason), std::string::npos) << read.error << " | " << reason;
  }
  std::vector<Event> many;
  for (std::size_t i = 0; i <= MaximumMidiNotes; ++i) many.push_back({0, On(0, int(i % 128), 64)});
  EXPECT_NE(DecodeMidiBytes(File(0, 96, {Track(many)})).error.find("more than 200000 notes"), std::string::npos);
  const std::string huge = testing::TempDir() + "/vellora-huge-" + std::to_string(getpid()) + ".mid";
  std::ofstream(huge) << std::string(17 << 20, 'M');
  EXPECT_EQ(ReadMidiFile(huge).error, "it holds 17 MB, more than the 16 MB a MIDI file is read up to");
  std::remove(huge.c_str());
}

// Notes written and read back: the key and velocity exact, the times within half a tick, the bend within half a
// step of the 2-semitone range; no note on the drums' channel.
TEST(MidiWrite, NotesComeBackWithTheirPitchTimesVelocityAndBend) {
  std::mt19937 random(7);
  const double bends[] = {0.0, 12.5, -30.0, 41.0, -7.0};
  std::vector<MidiNote> notes;
  for (int i = 0; i < 300; ++i) {
    const double start = std::uniform_real_distribution<>(0.0, 20.0)(random);
    notes.push_back({0, 0, int(random() % 128), int(random() % 127 + 1), bends[random() % 5], start,
                     start + std::uniform_real_distribution<>(0.0, 0.5)(random)});
  }
  EXPECT_EQ(EncodeMidiFile(notes).notesUnbent, 0u);
  std::vector<MidiNote> back = Read(EncodeMidiFile(notes).bytes).notes;
  ASSERT_EQ(back.size(), notes.size());
  const auto order = [](const MidiNote& a, const MidiNote& b) { return std::tie(a.start, a.key) < std::tie(b.start, b.key); };
  std::sort(notes.begin(), notes.end(), order), std::sort(back.begin(), back.end(), order);
  for (std::size_t i = 0; i < notes.size(); ++i) {
    EXPECT_EQ(std::tie(back[i].key, back[i].velocity), std::tie(notes[i].key, notes[i].velocity));
    EXPECT_NE(back[i].channel, DrumChannel);
    EXPECT_NEAR(back[i].start, notes[i].start, 0.5 / 1920 + 1e-9);
    EXPECT_NEAR(back[i].end, std::max(notes[i].end, back[i].start + 1 / 1920.0), 0.5 / 1920 + 1e-9);
    EXPECT_NEAR(back[i].cents, notes[i].cents, 100.0 / 8192 + 1e-9);
  }
  // Twenty pitches bent differently at once: fifteen channels hold fifteen bends; five notes do without theirs.
  std::vector<MidiNote> chord;
  for (int i = 0; i < 20; ++i) chord.push_back({0, 0, 40 + i, 64, -40.0 + 4 * i, 0.0, 1.0});
  EXPECT_EQ(EncodeMidiFile(chord).notesUnbent, 5u);
  int bent = 0;
  for (const MidiNote& n : Read(EncodeMidiFile(chord).bytes).notes) bent += std::fabs(n.cents - (-40.0 + 4 * (n.key - 40))) < 0.02;
  EXPECT_EQ(bent, 15);
}

TEST(MidiPicture, VelocityIsBrightnessByTheSquareLaw) {
  const struct { int velocity, brightness; } cases[] = {{127, 255}, {90, 128}, {64, 65}, {20, 6}, {1, 1}, {0, 1}};
  for (auto [velocity, brightness] : cases) EXPECT_EQ(BrightnessOfVelocity(velocity), brightness) << velocity;
}

// Every key, one at a time: on the row heard nearest it, from its start column to its end column; a key no row is
// heard within half a semitone of is left out.
TEST(MidiPicture, EachSemitoneLandsOnTheRowHeardNearestItFromItsStartToItsEnd) {
  const SynthSettingsRecord settings = StartSynthSettings();
  int landed = 0;
  for (int key = 0; key < 128; ++key) {
    Raster canvas(CanvasSize, CanvasSize);
    const NotesDrawn drawn = DrawNotes({{0, 0, key, 127, 0, 1.0, 2.0}}, settings, 1.0, canvas);
    const int row = NearestRow(KeyHz(key), 3000.0);
    const double cents = std::fabs(1200 * std::log2(Folded(HeardPitch(row), 3000.0) / KeyHz(key)));
    EXPECT_EQ(drawn.withoutRow, cents > 50.0 ? 1u : 0u) << key;
    if (cents > 50.0) continue;
    ++landed;
    Raster expected(CanvasSize, CanvasSize);
    for (int x = 75; x < 150; ++x) expected.At(x, row) = White;  // 1 s to 2 s in columns of 1/75 s
    EXPECT_EQ(canvas, expected) << key;
  }
  EXPECT_GT(landed, 60);
}

// Notes on the canvas and back, and a piece past the canvas's end cut where it ends.
TEST(MidiPicture, MidiToPictureToMidiGivesTheNotesBackAndALongPieceIsCut) {
  std::mt19937 random(3);
  std::vector<MidiNote> notes;
  for (int key = 30; key < 90; key += 3)  // on each key notes apart by at least two columns
    for (double start = 0.1 * (key % 7); start < 4.5; start += 0.4 + 0.1 * (random() % 4))
      notes.push_back({0, 0, key, int(random() % 127 + 1), 0, start, start + 0.25});
  Raster canvas(CanvasSize, CanvasSize);
  ASSERT_EQ(DrawNotes(notes, StartSynthSettings(), 1.0, canvas).drawn, notes.size());
  std::vector<MidiNote> back = NotesOfPicture(canvas, StartSynthSettings(), 1).notes;
  ASSERT_EQ(back.size(), notes.size());
  // Strokes dimmer than the threshold are silence: velocity 65 gives brightness 66.8, 64 gives 64.8.
  EXPECT_EQ(NotesOfPicture(canvas, StartSynthSettings(), 66).notes.size(),
            std::size_t(std::count_if(notes.begin(), notes.end(), [](const MidiNote& n) { return n.velocity >= 65; })));
  const auto order = [](const MidiNote& a, const MidiNote& b) { return std::tie(a.key, a.start) < std::tie(b.key, b.start); };
  std::sort(notes.begin(), notes.end(), order), std::sort(back.begin(), back.end(), order);
  for (std::size_t i = 0; i < notes.size(); ++i) {
    EXPECT_EQ(back[i].key, notes[i].key);
    EXPECT_NEAR(back[i].start, notes[i].start, Column);
    EXPECT_NEAR(back[i].end, notes[i].end, Column);
    EXPECT_LE(std::abs(back[i].velocity - notes[i].velocity), 0.5 + 127.0 * 127 / (4 * 255.0 * notes[i].velocity));
  }
  // At 15 s the canvas ends after 380 columns of 15 × 3000 / 379 samples (119) at 3000 Hz: 30.15 s of a piece
  // played at half speed.
  SynthSettingsRecord longest = StartSynthSettings();
  longest.Duration = 15.0f;
  const NotesDrawn drawn = DrawNotes({{0, 0, 60, 64, 0, 28.0, 31.0}, {0, 0, 62, 64, 0, 30.2, 31.0}, {0, 0, 0, 64, 0, 1.0, 2.0}},
                                     longest, 0.5, canvas);
  EXPECT_EQ(std::tie(drawn.drawn, drawn.shortened, drawn.cutOff, drawn.withoutRow), std::tuple(1u, 1u, 1u, 1u));
  EXPECT_NEAR(drawn.cutAtSeconds, 380 * 119 / 3000.0 / 0.5, 1e-9);
}

// Strokes at brightnesses the velocity curve gives, through a written file and back: on rows heard at a key and on
// rows between keys (rows lie 24 cents apart), which the bend carries; every row below half the sample rate.
TEST(MidiPicture, PictureToMidiToPictureGivesTheStrokesBack) {
  Raster picture(CanvasSize, CanvasSize);
  for (int row = 3, velocity = 1; pitch_models::HeardPitch(row) < 1500.0; row += 11, velocity = velocity * 7 % 127 + 1) {
    const auto level = std::uint8_t(std::lround(255 * std::pow(velocity / 127.0, 2)));
    for (int x = row % 50; x < row % 50 + 40 + row % 30; ++x) picture.At(x, row) = MakeColour(level, level, level);
    picture.At(row % 50 + 100, row) = MakeColour(level, level, level);
  }
  Raster back(CanvasSize, CanvasSize);
  DrawNotes(Read(EncodeMidiFile(NotesOfPicture(picture, StartSynthSettings(), 1).notes).bytes).notes,
            StartSynthSettings(), 1.0, back);
  EXPECT_EQ(back, picture);
}

}  // namespace
