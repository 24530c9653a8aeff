// SPDX-License-Identifier: GPL-3.0-or-later
// Sound files: the synthesised samples written as WAV or FLAC through libsndfile.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

enum class SoundFileFormat { FloatWav, Pcm16Wav, Flac };

struct SoundFileOutcome {
  bool ok = false;
  std::string error;  // why the file could not be written; empty on success
};

// The format a file name asks for: FLAC when it ends in ".flac" (any letter case), else WAV in 32-bit
// float, or 16-bit PCM when pcm16 is set.
SoundFileFormat SoundFormatForPath(const std::string& path, bool pcm16);
// The whole file for mono samples at sampleRate in the format; none, with the reason in error, on failure.
std::optional<std::string> EncodeSoundFile(std::span<const float> samples, std::int32_t sampleRate,
                                           SoundFileFormat format, std::string& error);
// Writes the file so that an existing one at path is replaced only by a complete new one.
SoundFileOutcome WriteSoundFile(const std::string& path, std::span<const float> samples, std::int32_t sampleRate,
                                SoundFileFormat format);
