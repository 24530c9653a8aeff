// SPDX-License-Identifier: GPL-3.0-or-later
// vellora-render --analyse run as a user runs it: each of Import's choices reaches what is written (the picture
// of the channel and stretch asked for, analysed with the scale, range, gain, placement, play rate and band
// levels given, and the settings that play it back), the notes go to standard error, and a value out of
// bounds is a usage error with nothing written.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "distribution/band_editor.h"
#include "picture/image_file.h"
#include "picture/settings_file.h"
#include "sound/analysis.h"

namespace {

namespace fs = std::filesystem;
constexpr int Rate = 8000, Frames = 3 * Rate;

// Two channels: a steady 440 Hz tone, and a 1000 Hz one that sounds only after its first second.
float Channel(int channel, int frame) {
  return channel == 1 ? 0.5f * static_cast<float>(std::sin(2 * M_PI * 440 * frame / Rate))
                      : frame < Rate ? 0.0f : 0.8f * static_cast<float>(std::sin(2 * M_PI * 1000 * frame / Rate));
}

class Analyse : public ::testing::Test {
 protected:
  fs::path folder = fs::path(::testing::TempDir()) / ("vellora-analyse-" + std::to_string(getpid()));
  std::string sound = (folder / "stereo.wav").string(), picture = (folder / "out.bmp").string(), err;

  void SetUp() override {
    fs::create_directories(folder);
    std::vector<float> frames;
    for (int i = 0; i < 2 * Frames; ++i) frames.push_back(Channel(i % 2 + 1, i / 2));
    SF_INFO info{0, Rate, 2, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0, 0};
    SNDFILE* file = sf_open(sound.c_str(), SFM_WRITE, &info);
    ASSERT_EQ(sf_writef_float(file, frames.data(), Frames), Frames);
    sf_close(file);
  }
  void TearDown() override { fs::remove_all(folder); }

  // Runs the program with the arguments; what it says goes to err.
  int Run(const std::string& arguments) {
    const std::string said = (folder / "said.txt").string();
    const int status = std::system((std::string(VELLORA_RENDER_PATH) + " " + arguments + " 2>" + said).c_str());
    std::ifstream in(said);
    err.assign(std::istreambuf_iterator<char>(in), {});
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

// The stretch of the file from frame first on: the mean of its channels, or one channel.
std::vector<float> Stretch(int channel, int first) {
  std::vector<float> samples;
  for (int i = first; i < Frames; ++i)
    samples.push_back(channel ? Channel(channel, i) : static_cast<float>((double(Channel(1, i)) + Channel(2, i)) / 2));
  return samples;
}

TEST_F(Analyse, EachChoiceReachesThePictureAndTheSettingsWritten) {
  std::ofstream(folder / "bands.vlr") << "FrqBandP1 = 0,70\nFrqBandP2 = 22,10\nFrqBandP3 = 45,35\nFrqBandP4 = 68,60\n"
                                         "FrqBandP5 = 90,20\nFrqBandP6 = 113,35\nFrqBandP7 = 136,50\nFrqBandP8 = 159,5\n";
  BandLevelEditor editor = ProgramBandEditorRecord();
  ASSERT_TRUE(ImportBandPointsInto(editor, ReadSettingsValuesFile((folder / "bands.vlr").string())->bandPoints));
  std::vector<float> curve;
  for (int row = 0; row < CanvasSize; ++row) curve.push_back(BandLevelOf(editor, true, row));
  // The sound's own pace: 3 s at 8000 Hz; the start values for the rest.
  const SoundSettingValues own = {3000, Rate, 90, 9000, 0, 50, 5, 75, 75};
  SoundSettingValues fitted = own, slow = own;  // fitted as heard at 2000 Hz, where 1000 Hz is as high as a row goes
  slow[SampleRateSetting] = fitted[SampleRateSetting] = 2000;
  const FrequencyRange range = FitFrequencyRange(Stretch(0, 0), Rate, SynthSettingsFromValues(own), 2000);
  fitted[FrqFromSetting] = range.from, fitted[FrqToSetting] = range.to;
  struct Case { std::string arguments; int channel, first; AnalysisChoices choices; SoundSettingValues values; const char* note; };
  const Case cases[] = {
      {"", 0, 0, {}, own, ""},
      {"--channel 2 --start 0.99995", 2, Rate, {}, {2000, Rate, 90, 9000, 0, 50, 5, 75, 75}, "from 1.000 s to its end is"},
      {"--channel 1 --scale db --range-db 20 --gain-db -120", 1, 0,
       {.scale = AnalysisScale::Decibels, .rangeDb = 20, .gainDb = -120, .rowLevels = {}}, own, ""},
      {"--channel mix --scale db --range-db 120 --gain-db 120 --placement nearest --sample-rate 2000", 0, 0,
       {.scale = AnalysisScale::Decibels, .rangeDb = 120, .gainDb = 120, .placement = RowPlacement::Nearest, .rowLevels = {}},
       slow, ""},
      {"--placement between --start 2.99993 --sample-rate 2000", 0, Frames - 1,
       {.placement = RowPlacement::Between, .rowLevels = {}}, {1000, 2000, 90, 9000, 0, 50, 5, 75, 75}, "plays over 1.000 s,"},
      {"--band-curve --settings " + (folder / "bands.vlr").string(), 0, 0, {.rowLevels = curve}, own, ""},
      {"--fit-range --sample-rate 2000", 0, 0, {}, fitted, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    ASSERT_EQ(Run("--analyse " + sound + " " + c.arguments + " --save-picture " + picture), 0) << err;
    const SettingsValues values = ReadSettingsValuesFile(picture + ".vlr").value_or(SettingsValues{});
    EXPECT_EQ(values.integers, c.values);
    AnalysisChoices choices = c.choices;
    choices.playRate = c.values[SampleRateSetting];
    std::ifstream written(picture, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
              EncodeBmp24(AnalyseSound(Stretch(c.channel, c.first), Rate, SynthSettingsFromValues(c.values), choices)));
    EXPECT_EQ(err.empty(), !*c.note) << err;
    EXPECT_NE(err.find(c.note), std::string::npos) << err;
  }
}

// Each refusal names the option it is about, and --analyse when it needs that.
TEST_F(Analyse, ValuesOutOfBoundsAreUsageErrorsAndWriteNothing) {
  const std::string a = "--analyse " + sound + " ";
  const std::pair<std::string, const char*> cases[] = {
      {a + "--channel 0", "--channel"}, {a + "--channel x", "--channel"}, {a + "--channel 3", "no channel 3"},
      {a + "--start -0.001", "--start"}, {a + "--start nan", "--start"}, {a + "--start 2.99994", "past its end"},
      {a + "--scale db --range-db 19.9", "--range-db"}, {a + "--scale db --range-db 120.1", "--range-db"},
      {a + "--range-db 60", "--scale db"}, {a + "--gain-db -120.1", "--gain-db"}, {a + "--gain-db 120.1", "--gain-db"},
      {a + "--placement above", "--placement"}, {a + "--fit-range --from 100", "--from"}, {a + "--to 90 --fit-range", "--to"},
      {sound + " --channel 1", "--analyse"}, {sound + " --start 0", "--analyse"}, {sound + " --gain-db 0", "--analyse"},
      {sound + " --range-db 60", "--analyse"}, {sound + " --placement between", "--analyse"}, {sound + " --fit-range", "--analyse"}};
  for (const auto& [arguments, named] : cases) {
    EXPECT_EQ(Run(arguments + " --save-picture " + picture), 2) << arguments;
    EXPECT_NE(err.find(named), std::string::npos) << arguments << ": " << err;
  }
  EXPECT_FALSE(fs::exists(picture));
}

}  // namespace
