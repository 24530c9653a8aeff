// SPDX-License-Identifier: GPL-3.0-or-later
// Reading sound files for analysis: files of each format written here through libsndfile come back mixed to
// mono or as one channel, from the frame asked for, with each channel's peak; damaged, hostile and odd files,
// and requests a file cannot meet, are refused with a true reason in the program's own words. Then what the
// program says about a read sound, and the pace it plays it at.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

#include "sound/analysis.h"

namespace {

const auto Folder = std::filesystem::temp_directory_path() / ("vellora-reader-" + std::to_string(getpid()));
constexpr int Frames = 3000;

// Channels that differ, so that a wrong mix or channel shows, at levels that fall (the first) and rise (the
// others) along the file, so that a peak taken over other frames shows.
float Wave(int channel, int frame) {
  const double along = static_cast<double>(frame % Frames) / Frames;
  return static_cast<float>(channel == 0 ? (0.6 - 0.3 * along) * std::sin(0.05 * frame)
                                         : (0.15 + 0.3 * along) * std::cos(0.031 * frame + channel));
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
template <typename Sample>  // one sample in the middle of a 32-bit or 64-bit float WAV replaced
std::string FloatWavWith(Sample value) {
  const std::string wav = Encoded(SF_FORMAT_WAV | (sizeof value == 4 ? SF_FORMAT_FLOAT : SF_FORMAT_DOUBLE), 1, 8000, 100);
  return Patched(wav, wav.find("data") + 8 + sizeof value * 37, &value, sizeof value);
}
std::string WithoutLength(const std::string& flac) {  // FLAC's total length, 36 bits from byte 21, set to 0
  const char top = static_cast<char>(flac[21] & 0xF0);
  return Patched(Patched(flac, 21, &top, 1), 22, "\0\0\0\0", 4);
}

// Whether a message quotes libsndfile's wording or the system's (whose "permission denied" may stay).
bool QuotesALibrary(std::string message) {
  std::vector<std::string> texts;
  for (int code = 1; std::strcmp(sf_error_number(code), sf_error_number(0)) != 0; ++code) texts.push_back(sf_error_number(code));
  for (int code = 1; code < 134; ++code)
    if (code != EACCES) texts.push_back(std::strerror(code));
  const auto lowered = [](std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    if (text.starts_with("error : ")) text.erase(0, 8);
    return text.substr(0, text.find_last_not_of('.') + 1);
  };
  message = lowered(message);
  return std::ranges::any_of(texts, [&](const std::string& text) { return message.find(lowered(text)) != std::string::npos; });
}

TEST(SoundReader, ReadsEachFormatByContentAsTheMixOrOneChannelFromTheFrameAskedForWithItsPeaks) {
  constexpr float Pcm16 = 1.0f / 16384;  // written as round(x * 32767), read back as n / 32768
  constexpr int Start = 1000;            // asked for 0.4 frames before it: the nearest frame is taken
  struct Case { const char* name; int format, channels, rate; float tolerance; double cutSeconds; int kept; };
  const Case cases[] = {{"pcm16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, Pcm16, 0.2501, 2001},
                        {"float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, MaximumSoundRate, 0.0f, 0.005, 1921},
                        {"flac.txt", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 3, 22050, Pcm16, 0.05, 1103},
                        {"vorbis.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 16000, 0.05f, 0.125, 2001},
                        {"mono.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, MinimumSoundRate, Pcm16, 1.5, 1501}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = Encoded(c.format, c.channels, c.rate, Frames);
    std::ofstream(Folder / c.name, std::ios::binary) << bytes;
    const SoundReadOutcome whole = ReadSoundFile(Folder / c.name, 1e3), cut = ReadSoundFile(Folder / c.name, c.cutSeconds),
                           stretch = ReadSoundFile(Folder / c.name, {c.cutSeconds, (Start - 0.4) / c.rate, c.channels});
    ASSERT_TRUE(whole.sound && cut.sound && stretch.sound) << whole.error << cut.error << stretch.error;
    for (const ReadSound* sound : {&*whole.sound, &*cut.sound, &*stretch.sound})
      EXPECT_EQ(std::tuple(sound->sampleRate, sound->channels, sound->fileFrames), std::tuple(c.rate, c.channels, Frames));
    EXPECT_EQ(std::tuple(whole.sound->firstFrame, whole.sound->channel, stretch.sound->firstFrame, stretch.sound->channel),
              std::tuple(0, 0, Start, c.channels));
    const int end = std::min(Start + c.kept, Frames);  // the stretch: the same cut from its start, or to the end
    const auto sizes = [](const ReadSound& read) { return std::pair<int, int>(read.samples.size(), read.channelPeaks.size()); };
    ASSERT_EQ(sizes(*whole.sound), std::pair(Frames, c.channels));
    ASSERT_EQ(sizes(*stretch.sound), std::pair(end - Start, c.channels));
    const auto mix = [&](int i) {
      double sum = 0.0;
      for (int channel = 0; channel < c.channels; ++channel) sum += Wave(channel, i);
      return sum / c.channels;
    };
    const auto peak = [](auto wave, int from, int to) {  // of the magnitudes of wave(from) .. wave(to - 1)
      double largest = 0.0;
      for (int i = from; i < to; ++i) largest = std::max(largest, std::fabs(double(wave(i))));
      return largest;
    };
    for (int i = 0; i < Frames; ++i) ASSERT_NEAR(whole.sound->samples[i], mix(i), c.tolerance) << i;
    for (int i = Start; i < end; ++i) ASSERT_NEAR(stretch.sound->samples[i - Start], Wave(c.channels - 1, i), c.tolerance) << i;
    EXPECT_NEAR(whole.sound->peak, peak(mix, 0, Frames), c.tolerance);
    EXPECT_NEAR(stretch.sound->peak, stretch.sound->channelPeaks.back(), 6e-8);
    for (int channel = 0; channel < c.channels; ++channel) {
      const auto wave = [channel](int i) { return Wave(channel, i); };
      EXPECT_NEAR(whole.sound->channelPeaks[channel], peak(wave, 0, Frames), c.tolerance) << channel;
      EXPECT_NEAR(stretch.sound->channelPeaks[channel], peak(wave, Start, end), c.tolerance) << channel;
    }
    ASSERT_EQ(cut.sound->samples.size(), static_cast<std::size_t>(c.kept));
    EXPECT_TRUE(std::equal(cut.sound->samples.begin(), cut.sound->samples.end(), whole.sound->samples.begin()));
    EXPECT_EQ(DecodeSoundBytes(bytes, 1000.0).sound->samples, whole.sound->samples) << "the same from memory";
  }
  std::filesystem::remove_all(Folder);
}

TEST(SoundReader, RefusesDamagedHostileAndOddFilesAndRequestsItCannotMeetWithATrueReasonInItsOwnWords) {
  const std::string wav = Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, 3000);  // 12000 bytes of sound
  const std::string flac = Encoded(SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 8000, 20000);
  const std::string ogg = Encoded(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 16000, 20000);
  const std::string aiff = Encoded(SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 8000, 3000);
  const std::string damaged = Patched(flac, flac.size() / 2, "\xFF\0\xFF", 3);
  const std::uint16_t noChannels = 0, unknownEncoding = 0x1234;
  const std::uint32_t noRate = 0, huge = 0xFFFFFFFF;
  mkfifo((Folder / "pipe").c_str(), 0600);
  std::ofstream(Folder / "empty.wav");
  struct Case { const char* what; std::string bytes; SoundReadRequest request; const char* reason; const char* file = nullptr; };
  const Case cases[] = {
      {"truncated WAV", wav.substr(0, wav.size() - 1000), {1000.0}, "cut short: it claims 12000 bytes of sound but holds 11000"},
      {"truncated WAV, cut before", wav.substr(0, wav.size() - 1000), {0.01}, "claims 12000 bytes of sound but holds 11000"},
      {"huger WAV", Patched(wav, wav.find("data") + 4, &huge, 4), {1000.0}, "claims 4294967295 bytes of sound but holds 12000"},
      {"WAV cut in its header", wav.substr(0, 30), {1000.0}, "the file is cut short: it ends inside its header"},
      {"truncated FLAC", flac.substr(0, flac.size() * 6 / 10), {1000.0}, "cut short: it claims 20000 frames, but only"},
      {"truncated FLAC, cut before", flac.substr(0, flac.size() * 6 / 10), {0.5}, "claims 20000 frames, but only 8192 can"},
      {"damaged FLAC", damaged, {1000.0}, "the file is damaged or cut short: it claims 20000 frames, but only"},
      {"no length, damaged past the cut (a fuzz find)", WithoutLength(damaged), {0.01}, "damaged: part of its sound cannot"},
      {"truncated AIFF", aiff.substr(0, aiff.size() - 1000), {1000.0}, "claims 6008 bytes of sound but holds 5008"},
      {"truncated OGG", ogg.substr(0, ogg.size() * 9 / 10), {1000.0}, "cut short"},
      {"zero channels", Patched(wav, 22, &noChannels, 2), {1000.0}, "the file gives 0 channels; from 1 to 256 can be read"},
      {"too many channels", Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 257, 8000, 4), {1000.0}, "gives 257 channels;"},
      {"rate 0", Patched(wav, 24, &noRate, 4), {1000.0}, "gives a sample rate of 0 Hz; from 1000 to 384000 Hz can be"},
      {"rate too low", Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 999, 10), {1000.0}, "sample rate of 999 Hz;"},
      {"AIFF rate 0", Patched(aiff, aiff.find("COMM") + 16, "\0\0\0\0\0\0\0\0\0", 10), {1.0}, "sample rate below 1000 Hz"},
      {"rate too high", Encoded(SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 384001, 10), {1000.0}, "sample rate of 384001 Hz;"},
      {"unknown encoding", Patched(wav, 20, &unknownEncoding, 2), {1.0}, "header is damaged, cut short or names an encoding"},
      {"no frames", Encoded(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 0), {1000.0}, "the file holds no sound"},
      {"NaN", FloatWavWith(std::numeric_limits<float>::quiet_NaN()), {1000.0}, "a sample that is not a number or is"},
      {"infinity", FloatWavWith(-std::numeric_limits<float>::infinity()), {1000.0}, "not a number or is infinite"},
      {"beyond a float", FloatWavWith(1e300), {1000.0}, "a sample of 1e+300; samples up to 3.4e+38 can be read"},
      {"empty", "", {1000.0}, "the file is empty"},
      {"text", "RIFF, but only in words: a note about a sound\n", {1.0}, "not a sound file Vellora can read (WAV, FLAC"},
      {"no such channel", wav, {1.0, 0.0, 3}, "the file has 2 channels; there is no channel 3"},
      {"start at the end", wav, {1.0, 0.375}, "lasts 0.375 s; a stretch cannot start at 0.375 s, at or past its end"},
      {"start before 0", wav, {1.0, -0.001}, "cannot start at -0.001 s; it starts at 0 s or later"},
      {"start not a time", wav, {1.0, std::numeric_limits<double>::quiet_NaN()}, "a stretch cannot start at nan s"},
      {"start past the end, no length", WithoutLength(flac), {1.0, 2.5}, "lasts 2.500 s; a stretch cannot start at 2.500"},
      {"missing", "", {1.0}, "there is no such file", "missing.wav"},
      {"folder", "", {1.0}, "it is a folder, not a file", "."},
      {"pipe", "", {1.0}, "it is a pipe, not a file", "pipe"},
      {"empty file", "", {1.0}, "the file is empty", "empty.wav"},
      {"path through a file", "", {1.0}, "part of its path is not a folder", "empty.wav/sound.wav"}};
  for (const Case& c : cases) {
    const SoundReadOutcome outcome = c.file ? ReadSoundFile(Folder / c.file, c.request) : DecodeSoundBytes(c.bytes, c.request);
    EXPECT_FALSE(outcome.sound) << c.what;
    EXPECT_NE(outcome.error.find(c.reason), std::string::npos) << c.what << ": " << outcome.error;
    EXPECT_FALSE(QuotesALibrary(outcome.error)) << c.what << ": " << outcome.error;
    EXPECT_EQ(outcome.requestRefused, c.request.channel != 0 || c.request.startSeconds != 0) << c.what;
  }
  for (float finite : {1e34f, -FLT_MAX, FLT_MIN / 4}) {  // any finite sample is read as it is, a huge one the peak
    const SoundReadOutcome read = DecodeSoundBytes(FloatWavWith(finite), 1000.0);
    ASSERT_TRUE(read.sound) << read.error;
    EXPECT_EQ(read.sound->samples[37], finite);
    if (std::fabs(finite) > 1.0f) { EXPECT_EQ(read.sound->peak, std::fabs(finite)); }
  }
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

// A sound read at 1000 Hz: count samples from frame first of a file of fileFrames (count when 0).
ReadSound Read(std::size_t count, double peak, std::vector<double> channelPeaks, int channel = 0, std::int64_t first = 0,
               std::int64_t fileFrames = 0) {
  return {std::vector<float>(count), 1000, fileFrames ? fileFrames : static_cast<std::int64_t>(count),
          static_cast<int>(channelPeaks.size()), first, peak, channelPeaks, channel};
}

TEST(SoundNotes, SayNearSilenceAMixWhoseChannelsCancelAStretchAndAPaceOtherThanTheSoundsOwn) {
  // -40 dBFS is a peak of 0.01; a mix of 2 channels is noted 20 dB below half its loudest channel.
  struct Case { const char* what; ReadSound sound; PlaybackPace pace; std::vector<std::string> says; };
  const Case cases[] = {
      {"loud enough", Read(2000, 0.0101, {0.0101}), {2000, 2000}, {}},
      {"nearly silent", Read(2000, 0.0099, {0.0099}), {2000, 2000}, {"The sound peaks at \u221240.1 dBFS; its picture is"}},
      {"silent channel", Read(2000, 0.0, {0.0, 0.5}, 1), {2000, 2000}, {"Channel 1 is silent"}},
      {"a mix that keeps a tenth", Read(2000, 0.0404, {0.3, 0.8}), {2000, 2000}, {}},
      {"a mix that cancels", Read(2000, 0.0396, {0.3, 0.8}), {2000, 2000}, {"far below channel 2 alone, which peaks at"}},
      {"a quiet channel taken", Read(2000, 0.0396, {0.0396, 0.8}, 1), {2000, 2000}, {}},
      {"a frame short of 1 s", Read(999, 1.0, {1.0}), {1000, 2000}, {"lasts 0.999 s but plays over 1.000 s, the shortest"}},
      {"1 s", Read(1000, 1.0, {1.0}), {1000, 2000}, {}},
      {"cut at 15 s", Read(15001, 1.0, {1.0}, 0, 0, 20000), {15000, 2000}, {"lasts 20.000 s; the stretch from 0.000 s to 15"}},
      {"to the end", Read(5000, 1.0, {1.0}, 0, 15000, 20000), {5000, 2000}, {"the stretch from 15.000 s to its end is taken"}},
      {"played faster", Read(3000, 1.0, {1.0}), {2000, 2000}, {"The sound lasts 3.000 s but plays over 2.000 s."}}};
  for (const Case& c : cases) {
    const std::vector<std::string> notes = SoundNotes(c.sound, c.pace);
    ASSERT_EQ(notes.size(), c.says.size()) << c.what << (notes.empty() ? "" : ": " + notes[0]);
    for (std::size_t i = 0; i < notes.size(); ++i) EXPECT_NE(notes[i].find(c.says[i]), std::string::npos) << notes[i];
  }
}

// Worked from the rule that Import gives the sliders the sound's own length and rate, each within its range.
TEST(PaceOfSound, IsTheSoundsOwnLengthAndRateClampedToTheSliders) {
  const std::tuple<std::size_t, std::int32_t, std::int32_t, std::int32_t> cases[] = {
      {0, 8000, 1000, 8000},           {500, 1000, 1000, 2000},         {2000, 1999, 1001, 2000},
      {6001, 2000, 3000, 2000},        {22050, 22050, 1000, 22050},     {3 * 44100, 44100, 3000, 22050},
      {16 * 8000, 8000, 15000, 8000},  {7 * 384000, 384000, 7000, 22050}, {14999, 1000, 14999, 2000}};
  for (auto [count, rate, durationMs, playRate] : cases) {
    const PlaybackPace pace = PaceOfSound(count, rate);
    EXPECT_EQ(std::pair(pace.durationMs, pace.sampleRate), std::pair(durationMs, playRate)) << count << " at " << rate;
  }
}

}  // namespace
