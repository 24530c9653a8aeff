// Reads a sound file back with libsndfile, for tests of what was written.
#pragma once

#include <string>
#include <vector>

struct ReadSound {
  bool ok = false;
  int sampleRate = 0;
  int channels = 0;
  int format = 0;  // libsndfile's format code
  std::vector<float> samples;
};

ReadSound ReadSoundFileBack(const std::string& path);
