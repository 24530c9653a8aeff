// Sound files read back with libsndfile hold the samples at the rate they were written with.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sound/sound_file.h"
#include "support/sound_file_reader.h"

namespace {

namespace fs = std::filesystem;

class SoundFile : public ::testing::Test {
 protected:
  fs::path folder;
  void SetUp() override {
    char pattern[] = "/tmp/vellora-sound-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }
};

std::vector<float> Tone(std::size_t count) {
  std::vector<float> samples(count);
  for (std::size_t i = 0; i < count; ++i) samples[i] = static_cast<float>(std::sin(0.05 * static_cast<double>(i)));
  samples[count / 2] = 1.0f;
  samples[count / 3] = -1.0f;
  return samples;
}

TEST_F(SoundFile, FloatWavKeepsEverySampleExactly) {
  const auto samples = Tone(15001);
  const std::string path = (folder / "a.wav").string();
  ASSERT_TRUE(WriteSoundFile(path, samples, 3000, SoundFileFormat::FloatWav).ok);
  const ReadSound back = ReadSoundFileBack(path);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.sampleRate, 3000);
  EXPECT_EQ(back.channels, 1);
  EXPECT_EQ(back.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(back.samples, samples);
}

TEST_F(SoundFile, Pcm16AndFlacKeepTheSamplesWithinOneStep) {
  const auto samples = Tone(2001);
  struct Case {
    SoundFileFormat format;
    const char* name;
    int code;
  };
  const Case cases[] = {{SoundFileFormat::Pcm16Wav, "b.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
                        {SoundFileFormat::Flac, "c.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (folder / c.name).string();
    ASSERT_TRUE(WriteSoundFile(path, samples, 22050, c.format).ok);
    const ReadSound back = ReadSoundFileBack(path);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.format, c.code);
    EXPECT_EQ(back.sampleRate, 22050);
    ASSERT_EQ(back.samples.size(), samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) ASSERT_NEAR(back.samples[i], samples[i], 1.0 / 32767) << i;
    // Full scale stays full scale rather than wrapping round.
    EXPECT_GT(back.samples[samples.size() / 2], 0.99f);
    EXPECT_LT(back.samples[samples.size() / 3], -0.99f);
  }
}

TEST_F(SoundFile, FormatFollowsTheName) {
  EXPECT_EQ(SoundFormatForPath("x.flac", false), SoundFileFormat::Flac);
  EXPECT_EQ(SoundFormatForPath("x.FLAC", true), SoundFileFormat::Flac);
  EXPECT_EQ(SoundFormatForPath("x.wav", false), SoundFileFormat::FloatWav);
  EXPECT_EQ(SoundFormatForPath("x.wav", true), SoundFileFormat::Pcm16Wav);
  EXPECT_EQ(SoundFormatForPath("flac", false), SoundFileFormat::FloatWav);
}

TEST_F(SoundFile, FailedWriteLeavesTheOldFileAndSaysWhy) {
  const std::string path = (folder / "keep.wav").string();
  { std::ofstream(path) << "old content"; }
  const auto outcome = WriteSoundFile((folder / "missing" / "x.wav").string(), Tone(100), 3000,
                                      SoundFileFormat::FloatWav);
  EXPECT_FALSE(outcome.ok);
  EXPECT_FALSE(outcome.error.empty());
  const auto notAFile = WriteSoundFile(folder.string(), Tone(100), 3000, SoundFileFormat::FloatWav);
  EXPECT_FALSE(notAFile.ok);
  std::ifstream in(path);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "old content");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "no temporary file left";
}

TEST_F(SoundFile, ZeroRateIsRefused) {
  std::string error;
  EXPECT_FALSE(EncodeSoundFile(Tone(10), 0, SoundFileFormat::FloatWav, error).has_value());
  EXPECT_FALSE(error.empty());
}

}  // namespace
