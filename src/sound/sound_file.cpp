// SPDX-License-Identifier: GPL-3.0-or-later
// Encodes into memory through libsndfile's virtual I/O, then replaces the target file in one step,
// so a failed export never leaves a half-written file where a good one was.
#include "sound/sound_file.h"

#include <sndfile.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "picture/file_io.h"
#include "sound/memory_sound_file.h"

namespace {

int FormatCode(SoundFileFormat format) {
  switch (format) {
    case SoundFileFormat::FloatWav: return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    case SoundFileFormat::Pcm16Wav: return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    case SoundFileFormat::Flac: return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  }
  return 0;
}

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
  if (text.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char wanted, char given) { return std::tolower(static_cast<unsigned char>(given)) == wanted; });
}

}  // namespace

SoundFileFormat SoundFormatForPath(const std::string& path, bool pcm16) {
  if (EndsWithIgnoringCase(path, ".flac")) return SoundFileFormat::Flac;
  return pcm16 ? SoundFileFormat::Pcm16Wav : SoundFileFormat::FloatWav;
}

std::optional<std::string> EncodeSoundFile(std::span<const float> samples, std::int32_t sampleRate,
                                           SoundFileFormat format, std::string& error) {
  if (sampleRate <= 0) {
    error = "the sample rate must be positive";
    return std::nullopt;
  }
  SF_VIRTUAL_IO io = MemorySoundFileIo();
  MemorySoundFile memory;
  SF_INFO info{};
  info.samplerate = sampleRate;
  info.channels = 1;
  info.format = FormatCode(format);
  SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &memory);
  if (!file) {
    error = sf_strerror(nullptr);
    return std::nullopt;
  }
  // Integer formats take the full scale of the normalised samples; clipping keeps 1.0 from wrapping.
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  // The float WAV's PEAK chunk carries the time of writing: without it the same sound gives the same bytes.
  sf_command(file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  const auto count = static_cast<sf_count_t>(samples.size());
  const sf_count_t written = sf_write_float(file, samples.data(), count);
  if (written != count) {
    error = sf_strerror(file);
    sf_close(file);
    return std::nullopt;
  }
  if (sf_close(file) != 0) {
    error = "the encoder could not finish the file";
    return std::nullopt;
  }
  return std::move(memory.bytes);
}

SoundFileOutcome WriteSoundFile(const std::string& path, std::span<const float> samples, std::int32_t sampleRate,
                                SoundFileFormat format) {
  SoundFileOutcome outcome;
  std::optional<std::string> bytes = EncodeSoundFile(samples, sampleRate, format, outcome.error);
  if (!bytes) return outcome;
  const FileWriteOutcome replaced = ReplaceFileContents(path, *bytes);
  if (!replaced.ok) {
    outcome.error = std::strerror(replaced.error);
    return outcome;
  }
  outcome.ok = true;
  return outcome;
}
