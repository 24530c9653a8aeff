// SPDX-License-Identifier: GPL-3.0-or-later
// vellora-render: its command line, and that a rendering holds the program's sound for the picture and settings.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "distribution/band_editor.h"
#include "distribution/frequency_mapping.h"
#include "picture/image_file.h"
#include "picture/picture_transform.h"
#include "picture/raster_ops.h"
#include "picture/settings_file.h"
#include "render/render.h"
#include "sound/fast_render.h"
#include "support/sound_file_reader.h"

namespace {

namespace fs = std::filesystem;

RenderCommandLine Parse(const std::string& arguments) {
  std::vector<std::string> words = {"vellora-render"};
  std::istringstream in(arguments);
  for (std::string word; in >> word;) words.push_back(word);
  return ParseRenderCommandLine(words);
}

TEST(RenderCommandLine, ValuesOutsideTheSlidersAndMissingPartsAreUsageErrors) {
  const std::pair<const char*, int> cases[] = {
      {"--help", 0}, {"--version", 0}, {"p.bmp", 2}, {"-o o.wav", 2}, {"p.bmp -o o.wav --loud", 2},
      {"p.bmp -o o.wav", 0}, {"p.bmp --save-picture s.bmp", 0}, {"p.bmp --play", 0},
      {"p.bmp -o o.wav --sample-rate 1999", 2}, {"p.bmp -o o.wav --sample-rate 2000", 0},
      {"p.bmp -o o.wav --sample-rate 22050", 0}, {"p.bmp -o o.wav --sample-rate 22051", 2},
      {"p.bmp -o o.wav --duration-ms 999", 2}, {"p.bmp -o o.wav --duration-ms 15001", 2},
      {"p.bmp -o o.wav --from 69", 2}, {"p.bmp -o o.wav --to 9001", 2}, {"p.bmp -o o.wav --format mp3", 2},
      {"p.bmp -o o.wav --distribution 1,2,3", 2}, {"p.bmp -o o.wav --distribution 1,2,3,100", 2},
      {"--analyse s.wav --save-picture p.bmp", 0}, {"--analyse s.wav -o o.wav --scale db", 0},
      {"p.bmp --analyse s.wav -o o.wav", 2}, {"p.bmp -o o.wav --scale db", 2}, {"--analyse s.wav -o o.wav --scale x", 2}};
  for (auto [arguments, exitCode] : cases) {
    const RenderCommandLine line = Parse(arguments);
    const bool stopsAtOnce = std::string(arguments).starts_with("--help") || std::string(arguments).starts_with("--version");
    EXPECT_EQ(line.exitCode, exitCode) << arguments << "\n" << line.message;
    EXPECT_EQ(line.options.has_value(), exitCode == 0 && !stopsAtOnce) << arguments;
    EXPECT_EQ(line.message.empty(), line.options.has_value()) << arguments;
  }
  EXPECT_EQ(Parse("p.bmp -o o.wav --distribution 1,2,3,4").options->distribution, (std::array{1, 2, 3, 4}));
}

// The sample rate and the samples of a sound file.
std::pair<int, std::vector<float>> ReadWav(const std::string& path) {
  SoundFileContents contents = ReadSoundFile(path);
  return {contents.sampleRate, std::move(contents.samples)};
}

class RenderRun : public ::testing::Test {
 protected:
  fs::path folder = fs::path(::testing::TempDir()) / ("vellora-render-" + std::to_string(getpid()));
  std::string image = (folder / "pic.bmp").string(), out = (folder / "out.wav").string(), err;
  Raster picture{500, 450};

  void SetUp() override {
    fs::create_directories(folder);
    FillCircleOn(picture, 120, 150, 40, White);
    FillRectOn(picture, 250, 220, 90, 60, MakeColour(10, 250, 60));
    std::ofstream(image, std::ios::binary) << EncodeBmp24(picture);
  }
  void TearDown() override { fs::remove_all(folder); }

  int Render(const std::string& arguments) { return Run(image + " " + arguments); }
  int Run(const std::string& arguments) {
    const RenderCommandLine line = Parse(arguments);
    std::ostringstream messages;
    const int code = line.options ? RunRender(*line.options, messages) : line.exitCode;
    err = messages.str();
    return code;
  }
  // The program's sound for the picture as Load fits it to the canvas; values in the settings file's order.
  std::vector<float> Expected(const SoundSettingValues& values, bool bandCurve, const BandLevelEditor& editor) const {
    const SynthesisSources sources{&DefaultFrequency, &DistributionFrequency,
                                   [&](int row) { return BandLevelOf(editor, bandCurve, row); }};
    SynthSettingsRecord settings = SynthSettingsFromValues(values);
    settings.BandCurveEdited = bandCurve;
    return SynthesizeSound(StretchToSize(picture, CanvasSize, CanvasSize), settings, sources);
  }
};

TEST_F(RenderRun, SoundFollowsTheSettingsFileAndBandCurveAndSavePictureWritesTheCanvas) {
  std::ofstream(image + ".vlr") << "SampleRate = 8000\r\nSoundDuration = 1500\r\nFrqFrom = 200\r\nFrqTo = 4000\r\n"
                                   "FrqDistribution = 1\r\nFrqDistA = 30\r\nFrqBandP1 = 0,70\r\nFrqBandP2 = 22,10\r\n"
                                   "FrqBandP3 = 45,35\r\nFrqBandP4 = 68,60\r\nFrqBandP5 = 90,20\r\n"
                                   "FrqBandP6 = 113,35\r\nFrqBandP7 = 136,50\r\nFrqBandP8 = 159,5\r\n";
  ASSERT_EQ(Render("-o " + out + " --band-curve --save-picture " + out + ".bmp"), 0) << err;
  const std::vector<StoredBandPoint> points = {{0, 70},   {22, 10},  {45, 35},  {68, 60},
                                               {90, 20}, {113, 35}, {136, 50}, {159, 5}};
  BandLevelEditor editor = ProgramBandEditorRecord();
  ASSERT_TRUE(ImportBandPointsInto(editor, points));
  EXPECT_EQ(ReadWav(out), std::pair(8000, Expected({1500, 8000, 200, 4000, 1, 30, 5, 75, 75}, true, editor)));
  std::ifstream saved(out + ".bmp", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), EncodeBmp24(StretchToSize(picture, 380, 380)));
  const SettingsValues values = ReadSettingsValuesFile(out + ".bmp.vlr").value_or(SettingsValues{});
  EXPECT_EQ(std::pair(values.integers[SampleRateSetting], values.bandPoints), std::pair(8000, points));
}

// Run as a user runs it, once: the options lie over the settings file.
TEST_F(RenderRun, TheProgramTakesItsOptionsOverTheSettingsFile) {
  std::ofstream(image + ".vlr") << "SampleRate = 8000\r\nSoundDuration = 1500\r\nFrqDistB = 40\r\n";
  const std::string options = " --sample-rate 22050 --duration-ms 1000 --from 300 --to 600 --distribution 1,99,50,50";
  const int status = std::system((std::string(VELLORA_RENDER_PATH) + " " + image + " -o " + out + options).c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadWav(out),
            std::pair(22050, Expected({1000, 22050, 300, 600, 1, 1, 99, 50, 50}, false, ProgramBandEditorRecord())));
}

TEST_F(RenderRun, FailuresGiveTheirExitCodeAndMessage) {
  EXPECT_EQ(Render("-o " + out + " --from 1500 --to 100"), 2);
  EXPECT_NE(err.find("--from"), std::string::npos) << err;
  EXPECT_EQ(Render("-o " + out + " --settings " + (folder / "x.vlr").string()), 1);
  EXPECT_NE(err.find("x.vlr"), std::string::npos) << err;
  EXPECT_EQ(Run("--analyse " + image + " -o " + out), 1);  // a picture is not a sound
  EXPECT_NE(err.find("pic.bmp"), std::string::npos) << err;
  image = (folder / "none.bmp").string();
  EXPECT_EQ(Render("-o " + out), 1);
  EXPECT_NE(err.find("none.bmp"), std::string::npos) << err;
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
