// SPDX-License-Identifier: GPL-3.0-or-later
// vellora-render with MIDI files, run as a user runs it: a melody's resynthesis on its notes by a pitch tracker of
// the test's own, the notes it writes read back by a second reader (mido) with their times, velocities and the bends
// that put them on Vellora's pitches, and the track, channel and time options.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>

#include "support/midi_models.h"
#include "support/pitch_models.h"
#include "support/sound_file_reader.h"

namespace {

namespace fs = std::filesystem;
using namespace midi_models;
using namespace pitch_models;

constexpr int Rate = 22050;                  // high enough that no row folds (the bottom row is heard at 8.6 kHz)
const int Melody[] = {60, 64, 67, 72, 71, 69, 65, 62};  // a key a second, at 480 ticks (0.5 s) a quarter

struct Note {
  int key, velocity, channel;
  double start, end, cents;
};

class RenderMidi : public testing::Test {
 protected:
  fs::path folder = fs::path(testing::TempDir()) / ("vellora-midi-render-" + std::to_string(getpid()));
  void SetUp() override {
    fs::remove_all(folder), fs::create_directories(folder);
    std::vector<Event> melody, other = {{0, Bytes({0xFF, 0x03, 5}) + "Other"}, {0, On(2, 48, 90)}, {960, Off(2, 48)}};
    for (std::size_t i = 0; i < std::size(Melody); ++i)
      melody.push_back({0, On(0, Melody[i], 40 + 10 * int(i))}), melody.push_back({960, Off(0, Melody[i])});
    std::ofstream(folder / "melody.mid", std::ios::binary) << File(1, 480, {Track(melody), Track(other)});
  }
  void TearDown() override { fs::remove_all(folder); }
  // Runs the command in the folder; its exit code.
  int Run(const std::string& command) const {
    const int status = std::system(("cd " + folder.string() + " && " + command).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // The notes of a file as mido reads them.
  std::vector<Note> Mido(const std::string& name) const {
    const std::string out = (folder / (name + ".txt")).string();
    // Debian's Python, which python3-mido installs into.
    EXPECT_EQ(Run("/usr/bin/python3 " VELLORA_SOURCE_DIR "/tests/support/midi_notes.py " + name + " >" + out), 0);
    std::ifstream in(out);
    std::vector<Note> notes;
    for (Note n; in >> n.key >> n.start >> n.end >> n.velocity >> n.cents >> n.channel;) notes.push_back(n);
    return notes;
  }
};

// The key whose pitch holds the most of a frame's energy (Hann window, Goertzel at each key from C2 to C8).
int LoudestKey(const std::vector<float>& samples, std::size_t from, std::size_t length) {
  int best = 0;
  double bestPower = -1.0;
  for (int key = 36; key <= 108; ++key) {
    const double w = 2 * std::numbers::pi * KeyHz(key) / Rate, c = 2 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (std::size_t i = 0; i < length; ++i) {
      const double window = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * double(i) / double(length));
      const double s0 = window * samples[from + i] + c * s1 - s2;
      s2 = s1, s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - c * s1 * s2;
    if (power > bestPower) bestPower = power, best = key;
  }
  return best;
}

// The melody played back from its picture is on the melody's notes in at least 98 % of the frames that sound: the
// note each frame should hold is the one whose columns (round(time / column) on) the frame's centre lies in.
TEST_F(RenderMidi, AMelodysResynthesisIsOnItsNotesInNearlyEveryVoicedFrame) {
  ASSERT_EQ(Run(VELLORA_RENDER_PATH " --midi melody.mid --tracks 1 --sample-rate 22050 -o melody.wav"), 0);
  const std::vector<float> sound = ReadSoundFile((folder / "melody.wav").string()).samples;
  const double column = std::nearbyint(Rate * 8.0 / 379) / Rate;  // Sound Duration 8 s, the melody's length
  ASSERT_EQ(sound.size(), std::size_t(8 * Rate + 1));
  constexpr std::size_t Frame = 2048, Hop = 512;
  int voiced = 0, right = 0;
  for (std::size_t from = 0; from + Frame <= sound.size(); from += Hop) {
    double energy = 0;
    for (std::size_t i = from; i < from + Frame; ++i) energy += sound[i] * sound[i];
    if (std::sqrt(energy / Frame) < 0.05) continue;
    ++voiced;
    const double centre = double(from + Frame / 2) / Rate;
    int note = 0;  // note i begins at column round(i / column)
    for (int i = 1; i < 8; ++i) note = std::nearbyint(i / column) * column <= centre ? i : note;
    right += LoudestKey(sound, from, Frame) == Melody[note];
  }
  RecordProperty("voicedFramesOnTheirNote", std::to_string(right) + " of " + std::to_string(voiced));
  EXPECT_GT(voiced, 300);
  EXPECT_GE(right, 0.98 * voiced) << right << " of " << voiced;
}

// Written from the picture of the melody and read by mido: the same keys, each note from its start to its end within
// a column, its velocity within the curve's rounding, bent to the pitch its row is heard at.
TEST_F(RenderMidi, TheNotesWrittenReadInASecondReaderAsTheNotesDrawnAtVellorasPitches) {
  ASSERT_EQ(Run(VELLORA_RENDER_PATH " --midi melody.mid --channels 1 --save-midi out.mid --silence-below 1"), 0);
  const std::vector<Note> notes = Mido("out.mid");
  ASSERT_EQ(notes.size(), std::size(Melody));
  const double column = std::nearbyint(3000 * 8.0 / 379) / 3000;  // 3000 Hz at the start settings
  for (const Note& note : notes) {
    const std::size_t i = std::find(std::begin(Melody), std::end(Melody), note.key) - std::begin(Melody);
    ASSERT_LT(i, std::size(Melody)) << note.key;
    EXPECT_NEAR(note.start, double(i), column) << note.key;
    EXPECT_NEAR(note.end, double(i + 1), column) << note.key;
    const int velocity = 40 + 10 * int(i);
    EXPECT_LE(std::abs(note.velocity - velocity), 0.5 + 127.0 * 127 / (4 * 255.0 * velocity)) << note.key;
    // The row heard nearest the key, and the file's pitch within 5 cents of it (a row nearer its key is not bent).
    const double heard = Folded(HeardPitch(NearestRow(KeyHz(note.key), 3000)), 3000);
    EXPECT_NEAR(note.key + note.cents / 100, 69 + 12 * std::log2(heard / 440), 0.05 + 1e-3) << note.key;
    EXPECT_TRUE(note.cents == 0 || std::fabs(note.cents) > 5) << note.cents;
  }
  // Channel 3 alone: the other track's note, 1 s long, fitted into 3.79 s (columns of 30 samples) ends at column 379.
  ASSERT_EQ(Run(VELLORA_RENDER_PATH " --midi melody.mid --fit-duration --duration-ms 3790 --channels 3 --save-midi fit.mid"), 0);
  const std::vector<Note> fitted = Mido("fit.mid");
  ASSERT_EQ(fitted.size(), 1u);
  EXPECT_EQ(fitted[0].key, 48);
  EXPECT_NEAR(fitted[0].start, 0.0, 1e-3);
  EXPECT_NEAR(fitted[0].end, 3.79, 1e-3);
}

}  // namespace
