// SPDX-License-Identifier: GPL-3.0-or-later
// Reading sound files for analysis: files of each format written here through libsndfile come back mixed to
// mono; damaged and hostile files are refused with their reason.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "sound/sound_reader.h"

namespace {

const auto Folder = std::filesystem::temp_directory_path() / ("vellora-reader-" + std::to_string(getpid()));

float Wave(int channel, int frame) {  // channels that differ, so that a wrong mix shows
  return channel == 0 ? 0.6f * std::sin(0.05f * frame) : 0.3f * std::cos(0.031f * frame);
}

// A file of the format holding Wave on each channel, made by libsndfile itself.
std::string Encoded(int format, int channels, int rate, int frames) {
  std::vector<float> interleaved;
  for (int i = 0; i < frames * channels; ++i) interleaved.push_back(Wave(i % channels, i / channels));
  std::filesystem::create_directories(Folder);
  SF_INFO info{0, rate, channels, format, 0, 0};
  SNDFILE* file = sf_open((Folder / "encoded").c_str(), SFM_WRITE, &info);
  EXPECT_EQ(sf_writef_float(file, interleaved.data(), frames), frames) << sf_strerror(nullptr);
  sf_close(file);
  std::ifstream in(Folder / "encoded", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Patched(std::string bytes, std::size_t at, const void* value, std::size_t size) {
  return bytes.replace(at, size, static_cast<const char*>(value), size);
}
std::string DataSize(const std::string& wav, std::uint32_t size) { return Patched(wav, wav.find("data") + 4, &size, 4); }
std::string FloatWavWith(float value) {  // one sample in the middle replaced
  const std::string wav = Encoded(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 8000, 100);
  return Patched(wav, wav.find("data") + 8 + 4 * 37, &value, 4);
}
std::string WithoutLength(const std::string& flac) {  // FLAC's total length, 36 bits from byte 21, set to 0
  const char top = static_cast<char>(flac[21] & 0xF0);
  return Patched(Patched(flac, 21, &top, 1), 22, "\0\0\0\0", 4);
}
void ExpectRefused(const SoundReadOutcome& outcome, const std::string& reason, const std::string& what) {
  EXPECT_FALSE(outcome.sound) << what;
  EXPECT_NE(outcome.error.find(reason), std::string::npos) << what << ": " << outcome.error;
}

TEST(SoundReader, ReadsEachFormatByContentMixedToMonoAndCutAtMaxSeconds) {
  constexpr float Pcm16 = 1.0f / 16384;  // written as round(x * 32767), read back as n / 32768
  constexpr int Frames = 3000;
  struct Case { const char* name; int format, channels, rate; float tolerance; double cutSeconds; std::size_t kept; };
  const Case cases[] = {{"pcm16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, Pcm16, 0.2501, 2001},
                        {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, MaximumSoundRate, 0.0f, 0.005, 1921},
                        {"flac.txt", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 22050, Pcm16, 0.1, 2206},
                        {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 16000, 0.05f, 0.125, 2001},
                        {"mono.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, MinimumSoundRate, Pcm16, 2.5, 2501}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = Encoded(c.format, c.channels, c.rate, Frames);
    std::ofstream(Folder / c.name, std::ios::binary) << bytes;
    const SoundReadOutcome whole = ReadSoundFile(Folder / c.name, 1e3), cut = ReadSoundFile(Folder / c.name, c.cutSeconds);
    ASSERT_TRUE(whole.sound && cut.sound && (whole.error + cut.error).empty()) << whole.error << cut.error;
    for (const ReadSound* sound : {&*whole.sound, &*cut.sound})
      EXPECT_EQ(std::tuple(sound->sampleRate, sound->channels, sound->fileFrames), std::tuple(c.rate, c.channels, Frames));
    ASSERT_EQ(whole.sound->samples.size(), static_cast<std::size_t>(Frames));
    for (int i = 0; i < Frames; ++i) {
      double sum = 0.0;
      for (int channel = 0; channel < c.channels; ++channel) sum += Wave(channel, i);
      ASSERT_NEAR(whole.sound->samples[i], sum / c.channels, c.tolerance) << i;
    }
    ASSERT_EQ(cut.sound->samples.size(), c.kept);
    EXPECT_TRUE(std::equal(cut.sound->samples.begin(), cut.sound->samples.end(), whole.sound->samples.begin()));
    EXPECT_EQ(DecodeSoundBytes(bytes, 1000.0).sound->samples, whole.sound->samples) << "the same from memory";
  }
  std::filesystem::remove_all(Folder);
}

TEST(SoundReader, RefusesDamagedAndHostileFilesWithTheirReason) {
  const std::string wav = Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, 3000);  // 12000 bytes of sound
  const std::string flac = Encoded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, 20000);
  const std::string ogg = Encoded(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 16000, 20000);
  const std::string aiff = Encoded(SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 8000, 3000);
  const std::string damaged = Patched(flac, flac.size() / 2, "\xFF\0\xFF", 3);
  const std::uint16_t noChannels = 0;
  struct Case { const char* what; std::string bytes; double maxSeconds; const char* reason; };
  const Case cases[] = {
      {"truncated WAV", wav.substr(0, wav.size() - 1000), 1000.0, "claims 12000 bytes of sound but holds 11000"},
      {"truncated WAV, cut before", wav.substr(0, wav.size() - 1000), 0.01, "claims 12000 bytes of sound but holds 11000"},
      {"huge WAV", DataSize(wav, 0x7FFFFFFF), 1000.0, "claims 2147483647 bytes of sound but holds 12000"},
      {"huger WAV", DataSize(wav, 0xFFFFFFFF), 1000.0, "claims 4294967295 bytes of sound but holds 12000"},
      {"truncated FLAC", flac.substr(0, flac.size() * 6 / 10), 1000.0, "claims 20000 frames but holds"},
      {"truncated FLAC, cut before", flac.substr(0, flac.size() * 6 / 10), 0.5, "claims 20000 frames but holds 8192"},
      {"damaged FLAC", damaged, 1000.0, "lost sync"},
      {"no length, damaged past the cut (a fuzz find)", WithoutLength(damaged), 0.01, "damaged"},
      {"truncated AIFF", aiff.substr(0, aiff.size() - 1000), 1000.0, "claims 6008 bytes of sound but holds 5008"},
      {"truncated OGG", ogg.substr(0, ogg.size() * 9 / 10), 1000.0, "cut short"},
      {"zero channels", Patched(wav, 22, &noChannels, 2), 1000.0, "channel count is zero"},
      {"too many channels", Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 257, 8000, 4), 1000.0, "257 channels"},
      {"rate too low", Encoded(SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 999, 10), 1000.0, "999 Hz"},
      {"rate too high", Encoded(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 384001, 10), 1000.0, "384001 Hz"},
      {"no frames", Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 0), 1000.0, "no sound"},
      {"NaN", FloatWavWith(std::numeric_limits<float>::quiet_NaN()), 1000.0, "not a number"},
      {"infinity", FloatWavWith(std::numeric_limits<float>::infinity()), 1000.0, "infinite"},
      {"empty", "", 1000.0, "not recognised"},
      {"not a sound", "RIFF, but only in words: a note about a sound\n", 1000.0, "not recognised"}};
  for (const Case& c : cases) ExpectRefused(DecodeSoundBytes(c.bytes, c.maxSeconds), c.reason, c.what);
  ExpectRefused(ReadSoundFile(Folder / "missing.wav", 1000.0), "no such file", "missing file");
  ExpectRefused(ReadSoundFile(Folder, 1000.0), "not a file", "folder");
  std::filesystem::remove_all(Folder);
}

// A FLAC header that claims blocks of 16 frames where they hold 4096 (libFLAC then cannot seek; found by
// fuzz/fuzz_sound_file.cpp), and one without the total length: each, read cut, tells its whole length.
TEST(SoundReader, CutFlacWithoutSeekingOrLengthWasRefusedAsCutShort) {
  const std::string flac = Encoded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, 9000);
  for (const std::string& patched : {Patched(flac, 8, "\0\x10\0\x10", 4), WithoutLength(flac)}) {
    const SoundReadOutcome outcome = DecodeSoundBytes(patched, 0.5);
    ASSERT_TRUE(outcome.sound) << outcome.error;
    EXPECT_EQ(std::pair(outcome.sound->samples.size(), outcome.sound->fileFrames), std::pair(4001ul, 9000L));
  }
  std::filesystem::remove_all(Folder);
}

}  // namespace
