// Reads a whole sound file as floats through libsndfile.
#include "support/sound_file_reader.h"

#include <sndfile.h>

ReadSound ReadSoundFileBack(const std::string& path) {
  ReadSound sound;
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return sound;
  sound.sampleRate = info.samplerate;
  sound.channels = info.channels;
  sound.format = info.format;
  sound.samples.resize(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
  const sf_count_t read = sf_read_float(file, sound.samples.data(), static_cast<sf_count_t>(sound.samples.size()));
  sf_close(file);
  sound.ok = read == static_cast<sf_count_t>(sound.samples.size());
  return sound;
}
