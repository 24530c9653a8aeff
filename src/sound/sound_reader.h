// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a sound file for analysis: any format libsndfile knows by its content, a stretch of it, mixed down
// to mono or one channel alone, with every kind of damaged or hostile file refused by a reason in the
// program's own words rather than read in part.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::int32_t MinimumSoundRate = 1000;  // Hz; files outside these rates are refused
constexpr std::int32_t MaximumSoundRate = 384000;
constexpr int MaximumSoundChannels = 256;

struct ReadSound {
  std::vector<float> samples;   // mono: the mean of the channels of each frame (or the channel asked for), at
                                // most maxSeconds of it and the sample that ends it (floor(maxSeconds * rate) + 1)
  std::int32_t sampleRate = 0;  // Hz, the file's own
  std::int64_t fileFrames = 0;  // frames the whole file holds (more than samples.size() when it was cut)
  int channels = 0;
  std::int64_t firstFrame = 0;       // the file's frame that samples[0] comes from
  double peak = 0.0;                 // largest magnitude among samples
  std::vector<double> channelPeaks;  // largest magnitude of each channel over the same frames
  int channel = 0;                   // what samples hold: 0 the mean of all channels, else that channel alone
};

// Which stretch of a file to read, and which channel.
struct SoundReadRequest {
  double maxSeconds = 15.0;    // at most floor(maxSeconds * rate) + 1 frames are taken
  double startSeconds = 0.0;   // where the stretch begins (at the frame nearest to it); 0 is the start of the file
  int channel = 0;             // 0: the mean of all channels; 1 .. channels: that channel alone
};

struct SoundReadOutcome {
  std::optional<ReadSound> sound;  // none on failure
  std::string error;               // why, in words a user understands, no trailing full stop; empty on success
  bool requestRefused = false;     // the file could be read, but has no such channel or no sound from that start
};

// Reads the stretch and channel asked for of a sound file (WAV, FLAC, OGG/Vorbis, AIFF, anything libsndfile
// recognises by content, whatever the name). Any finite sample is read as it is; NaN and infinities are refused.
SoundReadOutcome ReadSoundFile(const std::string& path, const SoundReadRequest& request);
// The mix of the first maxSeconds.
SoundReadOutcome ReadSoundFile(const std::string& path, double maxSeconds);
// The same for a whole file already in memory (libsndfile's virtual I/O); the fuzz target uses it.
SoundReadOutcome DecodeSoundBytes(std::string_view bytes, const SoundReadRequest& request);
SoundReadOutcome DecodeSoundBytes(std::string_view bytes, double maxSeconds);
