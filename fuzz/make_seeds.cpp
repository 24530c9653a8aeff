// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the starting corpora of the fuzz targets from the program's own encoders and the test suite's
// image builders: every bitmap variant the reader knows, small JPEGs, settings files, band inputs and
// short sound files of each kind the sound reader is meant for.
#include <sndfile.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "band_input.h"
#include "picture/image_file.h"
#include "picture/key_value_store.h"
#include "picture/settings_file.h"
#include "sound/memory_sound_file.h"
#include "sound/midi_file.h"
#include "sound/sound_file.h"
#include "support/image_builders.h"

namespace {

constexpr int JpegQuality = 90;

void Write(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), name.c_str());
    std::exit(1);
  }
}

std::string MakeFolder(const std::string& root, const std::string& name) {
  const std::string folder = root + "/" + name;
  mkdir(root.c_str(), 0755);
  mkdir(folder.c_str(), 0755);
  return folder;
}

// Samples of a busy pattern that changes along each row by step and from row to row by rowStep.
std::vector<unsigned char> PatternSamples(int width, int height, bool grey, int step, int rowStep) {
  std::vector<unsigned char> samples;
  for (int y = 0; y < height; ++y)
    for (int i = 0; i < width * (grey ? 1 : 3); ++i) samples.push_back(static_cast<unsigned char>(i * step + y * rowStep));
  return samples;
}

Raster Gradient(int width, int height) {
  Raster picture(width, height, Black);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.pixels[static_cast<std::size_t>(y * width + x)] =
          MakeColour(static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 50), 0x80);
  return picture;
}

void WriteImageSeeds(const std::string& folder) {
  Write(folder, "bmp24.bmp", EncodeBmp24(Gradient(5, 3)));
  const std::vector<std::array<std::uint8_t, 3>> palette = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
  BmpLayout one;
  one.width = 9; one.height = 2; one.bitsPerPixel = 1; one.palette = {{0, 0, 0}, {255, 255, 255}};
  one.pixels = PaddedRow(Bytes({0xA5, 0x80})) + PaddedRow(Bytes({0x5A, 0x00}));
  Write(folder, "bmp1.bmp", BuildBmp(one));
  BmpLayout four;
  four.width = 3; four.height = 2; four.bitsPerPixel = 4; four.palette = palette;
  four.pixels = PaddedRow(Bytes({0x01, 0x20})) + PaddedRow(Bytes({0x32, 0x10}));
  Write(folder, "bmp4.bmp", BuildBmp(four));
  BmpLayout eight;
  eight.width = 3; eight.height = -2; eight.bitsPerPixel = 8; eight.palette = palette;
  eight.pixels = PaddedRow(Bytes({0, 1, 2})) + PaddedRow(Bytes({3, 2, 1}));
  Write(folder, "bmp8_top_down.bmp", BuildBmp(eight));
  BmpLayout rle8 = eight;
  rle8.height = 2; rle8.compression = 1;
  rle8.pixels = Bytes({2, 1, 1, 3, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1});
  Write(folder, "bmp8_rle.bmp", BuildBmp(rle8));
  BmpLayout rle4 = four;
  rle4.compression = 2;
  rle4.pixels = Bytes({3, 0x12, 0, 0, 0, 3, 0x32, 0x10, 0, 2, 1, 0, 0, 1});
  Write(folder, "bmp4_rle.bmp", BuildBmp(rle4));
  BmpLayout sixteen;
  sixteen.width = 2; sixteen.height = 2; sixteen.bitsPerPixel = 16; sixteen.compression = 3;
  sixteen.masks = {0xF800, 0x07E0, 0x001F};
  sixteen.pixels = Bytes({0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF});
  Write(folder, "bmp16_565.bmp", BuildBmp(sixteen));
  BmpLayout sixteenDefault = sixteen;
  sixteenDefault.compression = 0; sixteenDefault.masks.clear();
  Write(folder, "bmp16_555.bmp", BuildBmp(sixteenDefault));
  BmpLayout thirtyTwo;
  thirtyTwo.headerSize = 124; thirtyTwo.width = 2; thirtyTwo.height = 1; thirtyTwo.bitsPerPixel = 32;
  thirtyTwo.compression = 3; thirtyTwo.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  thirtyTwo.pixels = Bytes({1, 2, 3, 4, 5, 6, 7, 8});
  Write(folder, "bmp32_v5.bmp", BuildBmp(thirtyTwo));
  BmpLayout v4 = thirtyTwo;
  v4.headerSize = 108; v4.masks = {0x3FF00000, 0x000FFC00, 0x000003FF, 0};
  Write(folder, "bmp32_v4_ten_bits.bmp", BuildBmp(v4));
  BmpLayout core;
  core.headerSize = 12; core.width = 2; core.height = 2; core.bitsPerPixel = 8; core.palette = palette;
  core.pixels = PaddedRow(Bytes({0, 1})) + PaddedRow(Bytes({2, 3}));
  Write(folder, "bmp8_core.bmp", BuildBmp(core));
  Write(folder, "colour.jpg", EncodeTestJpeg(8, 8, false, PatternSamples(8, 8, false, 17, 29), JpegQuality));
  Write(folder, "grey.jpg", EncodeTestJpeg(9, 5, true, PatternSamples(9, 5, true, 17, 29), JpegQuality));
  Write(folder, "progressive.jpg", EncodeTestJpeg(17, 16, false, PatternSamples(17, 16, false, 17, 29), JpegQuality, true));
}

void WriteSettingsSeeds(const std::string& folder) {
  SettingsDocument saved;
  const SoundSettingValues start = StartSoundSettingValues();
  for (int i = 0; i < SoundSettingCount; ++i) SetSetting(saved, SoundSettingRanges[i].key, std::to_string(start[i]));
  for (int i = 1; i <= SettingsBandPointCount; ++i)
    SetSetting(saved, BandPointKey(i), FormatBandPoint({i * 20, i * 1000}));
  Write(folder, "saved.vlr", SerialiseSettingsDocument(saved));
  SettingsDocument utf8 = saved;
  utf8.utf8 = true;
  Write(folder, "utf8.vlr", SerialiseSettingsDocument(utf8));
  Write(folder, "foreign.vlr",
        "; made by hand\n  SampleRate=22050\r\nfrqto = 99999\rFrqDistribution=1\nFrqDistA = -5\n"
        "FrqBandP1 = $10,%101\nFrqBandP8=2147483648,-2147483649\n[Other]\nSoundDuration = 1\n");
  Write(folder, "empty.vlr", "");
}

void WriteBandSeeds(const std::string& folder) {
  band_input::BandInput app;
  app.pointCount = 8; app.width = 160; app.height = 70; app.canvasWidth = 160; app.canvasHeight = 70;
  app.markerRadius = 3; app.hitRadius = 10; app.rangeX = 380; app.rangeY = 10000;
  for (int i = 0; i < 8; ++i) app.points.push_back({i * 22, 10 + i * 7});
  app.moves = {{44, 50}, {60, 10}, {200, -30}};
  Write(folder, "app_editor.bin", band_input::Encode(app));
  band_input::BandInput far = app;
  far.pointCount = 3; far.canvasWidth = 20; far.canvasHeight = 300;
  far.points = {{-2147483647, 2147483647}, {2147483647, -2147483647}, {0, 0}};
  far.moves = {};
  Write(folder, "far_points.bin", band_input::Encode(far));
  band_input::BandInput tiny = app;
  tiny.pointCount = 2; tiny.width = 1; tiny.height = 0; tiny.rangeX = -1; tiny.rangeY = 0;
  tiny.points = {{0, 0}, {0, 0}};
  Write(folder, "no_size.bin", band_input::Encode(tiny));
}

// A file of the format from libsndfile itself, each channel a tone of its own; empty when it cannot be made.
std::string EncodedSound(int format, int channels, int rate, int frames) {
  std::vector<float> interleaved;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) interleaved.push_back(0.5f * std::sin(0.01f * static_cast<float>(i * (c + 3))));
  SF_VIRTUAL_IO io = MemorySoundFileIo();
  MemorySoundFile memory;
  SF_INFO info{0, rate, channels, format, 0, 0};
  SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
  if (!file) return {};
  sf_writef_float(file, interleaved.data(), frames);
  sf_close(file);
  return memory.bytes;
}

// Each a little over a second long, so that reading is also cut short of the end.
void WriteSoundSeeds(const std::string& folder) {
  std::vector<float> tone(9000);
  for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = 0.8f * std::sin(0.02f * static_cast<float>(i));
  std::string error;
  for (auto [name, format] : {std::pair{"float.wav", SoundFileFormat::FloatWav}, {"pcm16.wav", SoundFileFormat::Pcm16Wav},
                              {"mono.flac", SoundFileFormat::Flac}})
    if (auto bytes = EncodeSoundFile(tone, 8000, format, error)) Write(folder, name, *bytes);
  Write(folder, "stereo.ogg", EncodedSound(SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 8000, 9000));
  Write(folder, "stereo.aiff", EncodedSound(SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2, 2000, 2500));
  Write(folder, "three.flac", EncodedSound(SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 3, 1000, 1200));
}

}  // namespace

// Files of the MIDI writer: a melody, a chord of bent pitches, and one past what fifteen channels can bend at once.
void WriteMidiSeeds(const std::string& folder) {
  std::vector<MidiNote> melody, chord;
  for (int i = 0; i < 8; ++i) melody.push_back({0, 0, 60 + i, 40 + 10 * i, 0.0, 0.25 * i, 0.25 * i + 0.2});
  for (int i = 0; i < 18; ++i) chord.push_back({0, 0, 40 + i, 90, -45.0 + 5 * i, 0.0, 1.0});
  Write(folder, "melody.mid", EncodeMidiFile(melody).bytes);
  Write(folder, "bent_chord.mid", EncodeMidiFile(chord).bytes);
  chord.resize(4);
  Write(folder, "short_chord.mid", EncodeMidiFile(chord).bytes);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
    return 2;
  }
  const std::string root = argv[1];
  WriteImageSeeds(MakeFolder(root, "image_file"));
  WriteSettingsSeeds(MakeFolder(root, "settings_file"));
  WriteBandSeeds(MakeFolder(root, "band_points"));
  WriteSoundSeeds(MakeFolder(root, "sound_file"));
  WriteMidiSeeds(MakeFolder(root, "midi_file"));
  return 0;
}
