// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a sound file back in tests, through libsndfile directly rather than the program's writer.
#pragma once

#include <sndfile.h>

#include <string>
#include <vector>

struct SoundFileContents {
  int format = 0;
  int sampleRate = 0;
  int channels = 0;
  std::vector<float> samples;  // interleaved; empty when the file cannot be opened
};

inline SoundFileContents ReadSoundFile(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  SoundFileContents contents{info.format, info.samplerate, info.channels,
                             std::vector<float>(static_cast<std::size_t>(info.frames * info.channels))};
  contents.samples.resize(static_cast<std::size_t>(sf_read_float(file, contents.samples.data(),
                                                                 static_cast<sf_count_t>(contents.samples.size()))));
  sf_close(file);
  return contents;
}
