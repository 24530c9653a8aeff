// SPDX-License-Identifier: GPL-3.0-or-later
// vellora-render run as a user runs it: what each option does to the files it writes, its exit codes and messages,
// checked against models of the sound, of the bitmap layout and of the settings file's lines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <thread>

#include "picture/image_file.h"
#include "support/alsa_capture.h"
#include "support/image_builders.h"
#include "support/sound_file_reader.h"
#include "support/sound_models.h"

namespace {

namespace fs = std::filesystem;
using namespace sound_models;

using Outcome = std::tuple<int, std::string, std::string>;  // exit code, standard output, standard error
// Each quarter of the canvas's width is one row in one colour (first column, row, colour): four steady tones.
constexpr int Quarters[][3] = {{0, 50, 0xFFFFFF}, {95, 379, 0x00FF00}, {190, 0, 0xFFFFFF}, {285, 190, 0x0000FF}};
constexpr int Float = SF_FORMAT_WAV | SF_FORMAT_FLOAT, Pcm16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16, Flac = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
enum Points { Fresh, Beside, Missing };  // the band points a fresh editor has, pic.bmp.vlr's, those of a file without any

std::string Get(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class RenderProgram : public testing::Test {
 protected:
  fs::path folder = fs::path(testing::TempDir()) / ("vellora-render-" + std::to_string(getpid()));
  Raster canvas{380, 380};

  void SetUp() override {
    fs::remove_all(folder), fs::create_directories(folder / "in");
    Raster wide(760, 380);  // each column twice: Load's stretch gives the canvas back
    for (auto [first, row, colour] : Quarters)
      for (int x = first; x < first + 95; ++x) canvas.At(x, row) = wide.At(2 * x, row) = wide.At(2 * x + 1, row) = colour;
    Put("in/pic.bmp", SavedBmpLayout(wide)), Put("in/bare.bmp", SavedBmpLayout(wide)), Put("in/notes.bmp", "not a picture");
    Put("in/pic.bmp.vlr", "SoundDuration = 1500\nSampleRate = 8000\nFrqFrom = 300\nFrqTo = 300\nFrqDistA = 30\nFrqDistB = 60\n"
        "FrqDistC = 40\nFrqBandP1 = 3,70\nFrqBandP2 = 16,14\nFrqBandP3 = 32,14\nFrqBandP4 = 80,56\n"
        "FrqBandP5 = 100,0\nFrqBandP6 = 120,35\nFrqBandP7 = 140,7\nFrqBandP8 = 160,7\n");
    Put("in/other.vlr", "SoundDuration = 2000\nSampleRate = 30000\nFrqFrom = 500\nFrqTo = 500\nFrqDistribution = 1\n"
        "FrqDistA = 20\nFrqDistB = 80\nFrqDistC = 60\nFrqDistD = 40\n");
  }
  void TearDown() override { fs::remove_all(folder); }
  void Put(const std::string& name, const std::string& bytes) const { std::ofstream(folder / name, std::ios::binary) << bytes; }
  std::map<fs::path, std::string> Files() const {  // everything under the folder, a file with its content
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      files[entry.path()] = entry.is_regular_file() ? Get(entry.path()) : "folder";
    return files;
  }
  // Runs the program in the folder, after the shell commands given.
  Outcome Run(const std::string& arguments, const std::string& shell = "") const {
    const std::string out = folder.string() + ".out", err = folder.string() + ".err", cd = "cd " + folder.string() + " && ";
    const int status = std::system((cd + shell + VELLORA_RENDER_PATH " " + arguments + " >" + out + " 2>" + err).c_str());
    const Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Get(out), Get(err)};
    fs::remove(out), fs::remove(err);
    return outcome;
  }
};

TEST_F(RenderProgram, EachOptionReachesTheSoundAndTheSavedPictureAndSettings) {
  const char* points[][8] = {{"0,35", "22,35", "44,35", "66,35", "89,35", "111,35", "133,35", "159,35"},
                             {"0,70", "16,14", "32,14", "80,56", "100,0", "120,35", "140,7", "159,7"},  // ends keep their x
                             {"0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "0,0", "159,0"}};
  // pic.bmp.vlr's curve at the lit rows (X = 2.375 x, Y = 10000 y / 70): the first point's 10000; 2000 from X 38 to 76;
  // the point at X 190, 8000; 1000 from X 332.5 on. Without --band-curve every row has level 0.5.
  const std::map<int, float> curveLevels = {{0, 1.0f}, {50, 0.2f}, {190, 0.8f}, {379, 0.1f}};
  struct Row { const char* output; const char* arguments; std::array<int, 9> values; Points points; bool curve; int format; };
  const Row rows[] = {  // values: duration ms, rate, From, To, distribution, A, B, C, D
      {"out.wav", "in/pic.bmp --band-curve", {1500, 8000, 300, 300, 0, 30, 60, 40, 75}, Beside, true, Float},
      {"out.wav", "in/pic.bmp --format pcm16 --band-curve --sample-rate 2003", {1500, 2003, 300, 300, 0, 30, 60, 40, 75}, Beside, true, Pcm16},
      {"out.flac", "in/pic.bmp", {1500, 8000, 300, 300, 0, 30, 60, 40, 75}, Beside, false, Flac},
      {"out.FLaC", "in/pic.bmp --format pcm16 --band-curve", {1500, 8000, 300, 300, 0, 30, 60, 40, 75}, Beside, true, Flac},
      {"outflac", "in/pic.bmp --sample-rate 2999 --duration-ms 1001", {1001, 2999, 300, 300, 0, 30, 60, 40, 75}, Beside, false, Float},
      {"", "in/pic.bmp", {1500, 8000, 300, 300, 0, 30, 60, 40, 75}, Beside, false, 0},
      {"out.wav", "in/pic.bmp --settings in/other.vlr --to 4000", {2000, 22050, 500, 4000, 1, 20, 80, 60, 40}, Missing, false, Float},
      {"out.wav", "in/bare.bmp", {5000, 3000, 90, 9000, 0, 50, 5, 75, 75}, Fresh, false, Float},
      {"out.wav", "in/pic.bmp --duration-ms 1000", {1000, 8000, 300, 300, 0, 30, 60, 40, 75}, Beside, false, Float},
      {"out.wav", "in/pic.bmp --duration-ms 15000 --sample-rate 22050 --band-curve", {15000, 22050, 300, 300, 0, 30, 60, 40, 75}, Beside, true, Float},
      {"out.wav", "in/pic.bmp --sample-rate 2000 --duration-ms 1001", {1001, 2000, 300, 300, 0, 30, 60, 40, 75}, Beside, false, Float},
      {"out.wav", "in/pic.bmp --from 1500 --to 9000", {1500, 8000, 1500, 9000, 0, 30, 60, 40, 75}, Beside, false, Float},
      {"out.wav", "in/pic.bmp --to 70 --from 70", {1500, 8000, 70, 70, 0, 30, 60, 40, 75}, Beside, false, Float},
      {"out.wav", "in/pic.bmp --distribution 1,1,1,1 --from 70 --to 9000", {1500, 8000, 70, 9000, 1, 1, 1, 1, 1}, Beside, false, Float},
      {"out.wav", "in/pic.bmp --distribution 99,99,99,99 --to 5000", {1500, 8000, 300, 5000, 1, 99, 99, 99, 99}, Beside, false, Float},
      {"out.wav", "in/pic.bmp --distribution 10,90,80,20 --band-curve", {1500, 8000, 300, 300, 1, 10, 90, 80, 20}, Beside, true, Float}};
  const char* keys[] = {"SoundDuration", "SampleRate", "FrqFrom", "FrqTo", "FrqDistribution", "FrqDistA", "FrqDistB", "FrqDistC", "FrqDistD"};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.output << " " << row.arguments);
    Put("out.wav", "old"), Put("saved.bmp", "old");
    ASSERT_EQ(Run(row.arguments + (*row.output ? " -o " + std::string(row.output) : "") + " --save-picture saved.bmp"), Outcome(0, "", ""));
    std::string settings;  // key lines in the settings file's order
    for (int k = 0; k < 9; ++k) settings += keys[k] + (" = " + std::to_string(row.values[k])) + "\r\n";
    for (int p = 0; p < 8; ++p) settings += "FrqBandP" + std::to_string(p + 1) + " = " + points[row.points][p] + "\r\n";
    EXPECT_EQ(std::tuple(Get(folder / "saved.bmp.vlr"), Get(folder / "saved.bmp") == SavedBmpLayout(canvas), Get(folder / "out.wav") == "old"),
              std::tuple(settings, true, std::string(row.output) != "out.wav"));
    if (!*row.output) continue;
    const auto [ms, rate, from, to, shaped, a, b, c, d] = row.values;
    const std::array<int, 4> shape = {a, b, c, d};
    const float seconds = float(ms / 1000.0);
    const long count = std::lrint(rate * double(seconds)) + 1, perColumn = std::lrint(rate * double(seconds) / 379);
    const SoundFileContents sound = ReadSoundFile((folder / row.output).string());
    EXPECT_EQ(std::tuple(sound.format, sound.sampleRate, sound.channels, sound.samples.size()),
              std::tuple(row.format, rate, 1, std::size_t(count)));
    for (auto [first, lit, colour] : Quarters) {  // a row is heard at 6 / 2 pi of its Hz, folded below half the rate
      const double heard = std::fmod(RowPitch(lit, from, to, shaped ? &shape : nullptr) * 3 / std::numbers::pi, rate);
      const double hz = std::min(heard, rate - heard), end = first < 285 ? (first + 95) * perColumn : count;
      EXPECT_NEAR(MeasuredPitch(sound.samples, first * perColumn, long(end), rate), hz, hz * 0.002) << "row " << lit;
    }
    if (from != to) continue;  // one pitch for every row: the samples themselves follow from the model
    const auto level = [&](int j) { return row.curve && row.points == Beside ? curveLevels.at(j) : 0.5f; };
    const float pitch = float(shaped ? from - 50 : from), tolerance = row.format == Float ? 1e-6f : 1.5f / 32767;
    const std::vector<float> model = Scaled(Sound(canvas, [pitch](int) { return pitch; }, level, rate, seconds));
    for (std::size_t i = 0; i < std::min(model.size(), sound.samples.size()); ++i)
      ASSERT_NEAR(sound.samples[i], model[i], tolerance) << i;
  }
}

// Usage errors (2) and files that cannot be read, written or played (1, in one line) change no file; --help and
// --version (0) neither.
TEST_F(RenderProgram, ExitCodesAndMessagesAndNothingWrittenBesidesComplete) {
  const std::string nowhere = RouteAlsaToNowhere();  // for the program started below too
  ASSERT_FALSE(nowhere.empty());
  struct Row { std::string arguments; int code; std::string message, shell = ""; };
  std::vector<Row> rows = {
      {"--help", 0, "Usage: vellora-render"}, {"--version", 0, "vellora-render " VELLORA_VERSION "\n"},
      {"", 2, "Give a picture"}, {"-o out.wav", 2, "Give a picture"}, {"in/pic.bmp", 2, "Nothing to do"},
      {"in/pic.bmp -o out.wav --from 600 --to 500", 2, "vellora-render: --from (600 Hz) is above --to (500 Hz)\n"},
      {"in/pic.bmp -o out.wav --from 301", 2, "--from (301 Hz) is above --to (300 Hz)"},  // To from pic.bmp.vlr
      {"in/pic.bmp --analyse in/s.wav -o out.wav", 2, "--analyse"}, {"--analyse in/s.wav -o out.wav --scale x", 2, "--scale"},
      {"in/none.bmp -o out.wav", 1, "vellora-render: cannot read in/none.bmp: no such file\n"},
      {"in/notes.bmp -o out.wav", 1, "vellora-render: cannot read in/notes.bmp: not a BMP"},
      {"in/pic.bmp -o out.wav --settings in/none.vlr", 1, "vellora-render: cannot read settings file in/none.vlr\n"},
      {"in/pic.bmp -o in", 1, "vellora-render: cannot write in: Is a directory\n"},
      {"in/pic.bmp --save-picture dir.bmp", 1, "vellora-render: cannot write dir.bmp: Is a directory\n"},  // .vlr kept too
      {"in/pic.bmp --play", 1, "vellora-render: cannot play the sound: "},
      // Writes beyond a file size limit fail (the signal ignored): the old file stays whole and no other is left.
      {"in/pic.bmp -o out.wav", 1, "vellora-render: cannot write out.wav: File too large\n", "trap '' XFSZ; ulimit -f 20; "}};
  // One past each end of every range, and values or options that do not exist: usage errors naming the option.
  for (std::string option : {"--duration-ms 999", "--duration-ms 15001", "--sample-rate 1999", "--sample-rate 22051",
                             "--from 69", "--from 1501 --to 9000", "--to 69", "--to 9001", "--distribution 0,50,50,50",
                             "--distribution 50,50,50,100", "--distribution 1,2,3", "--distribution 1,2,3,4,5",
                             "--format mp3", "--loud", "--scale db", "--from 0x12C", "--distribution 1,2,3,0x4"})
    rows.push_back({"in/pic.bmp -o out.wav " + option, 2, option.substr(0, option.find(' '))});
  Put("out.wav", "old"), Put("dir.bmp.vlr", "old"), fs::create_directory(folder / "dir.bmp");
  const auto before = Files();
  for (const auto& [arguments, code, message, shell] : rows) {
    const auto [exitCode, out, err] = Run(arguments, shell);
    EXPECT_EQ(exitCode, code) << arguments << "\n" << err;
    EXPECT_NE((code ? err : out).find(message), std::string::npos) << arguments << "\n" << out << err;
    if (code == 1) {  // one line: the audio libraries' own say is kept off it
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << arguments << "\n" << err;
    }
    EXPECT_EQ(code ? out : err, "") << arguments;
    EXPECT_TRUE(Files() == before) << arguments;
  }
  fs::remove_all(nowhere);
}

// A file holds nothing of the moment it was written: the same picture and settings give the same bytes.
TEST_F(RenderProgram, TheSameRenderGivesTheSameBytesEveryTime) {
  const std::pair<std::string, std::string> renders[] = {{"a.wav", ""}, {"b.wav", " --format pcm16"}, {"c.flac", ""}};
  std::vector<std::string> first;
  for (const auto& [file, format] : renders) {
    ASSERT_EQ(Run("in/pic.bmp -o " + file + format), Outcome(0, "", ""));
    first.push_back(Get(folder / file));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));  // a time stamp in seconds would have moved on
  for (std::size_t k = 0; k < std::size(renders); ++k) {
    const auto& [file, format] = renders[k];
    ASSERT_EQ(Run("in/pic.bmp -o " + file + format), Outcome(0, "", ""));
    EXPECT_TRUE(Get(folder / file) == first[k]) << file << format;
  }
}

// Numbers were read as C reads them: 02000 ms as octal, 1024 ms; 011025 Hz as 4629 Hz. Now decimal, + allowed, 0x.. refused.
TEST_F(RenderProgram, NumbersWithALeadingZeroWereReadAsOctal) {
  EXPECT_EQ(Run("in/pic.bmp --save-picture s.bmp --duration-ms 02000 --sample-rate 011025 --from +0100"), Outcome(0, "", ""));
  EXPECT_TRUE(Get(folder / "s.bmp.vlr").starts_with("SoundDuration = 2000\r\nSampleRate = 11025\r\nFrqFrom = 100\r\n"));
}

}  // namespace
