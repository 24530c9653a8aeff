// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes a sound file through libsndfile in bounded chunks and mixes it to mono, refusing what is damaged,
// cut short, or outside the rates and channel counts the analysis takes.
#include "sound/sound_reader.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <sstream>

#include "sound/memory_sound_file.h"

namespace {

// Samples decoded at a time: the buffer never grows with what a header claims.
constexpr sf_count_t ChunkSamples = 1 << 16;
// Where libsndfile logs a data chunk that claims more bytes than follow it ("data : 4000 (should be 3000)"):
// WAV and CAF, AIFF, AU. It reads what is there and says so nowhere else.
constexpr std::string_view DataChunkNames[] = {"data", "SSND", "Data Size"};

SoundReadOutcome Refused(std::string reason) { return {std::nullopt, std::move(reason)}; }

// A reason from libsndfile or the system, written as ours are: from a small letter, without a full stop.
std::string Reason(const char* text) {
  std::string reason = text ? text : "unknown error";
  if (reason.starts_with("Error : ")) reason.erase(0, 8);
  while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
  if (reason.size() > 1 && std::islower(static_cast<unsigned char>(reason[1])))
    reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
  return reason;
}

// What a data chunk claims beyond the end of the file, in words; empty when no chunk claims more than there is.
std::string ClaimedBeyondTheEnd(SNDFILE* file) {
  char log[8192] = {};  // more than libsndfile keeps
  sf_command(file, SFC_GET_LOG_INFO, log, sizeof log);
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t colon = line.find(" : "), first = line.find_first_not_of(' ');
    if (colon == std::string::npos || first >= colon) continue;
    const std::string_view name(line.data() + first, line.find_last_not_of(' ', colon) + 1 - first);
    long long claimed = 0, held = 0;
    if (std::find(std::begin(DataChunkNames), std::end(DataChunkNames), name) != std::end(DataChunkNames) &&
        std::sscanf(line.c_str() + colon + 3, "%lld (should be %lld)", &claimed, &held) == 2 && claimed > held)
      return "the file is cut short: it claims " + std::to_string(claimed) + " bytes of sound but holds " +
             std::to_string(held);
  }
  return {};
}

// The first floor(maxSeconds * sampleRate) + 1 frames, or all of them (none for a time that is not
// positive): a sound synthesised for maxSeconds has its last sample at maxSeconds and is kept whole.
sf_count_t FramesToKeep(sf_count_t frames, std::int32_t sampleRate, double maxSeconds) {
  if (!(maxSeconds > 0)) return 0;
  const double cap = std::floor(maxSeconds * sampleRate) + 1;
  return cap >= static_cast<double>(frames) ? frames : static_cast<sf_count_t>(cap);
}

struct Decoded {
  sf_count_t frames = 0;
  std::string damage;  // the decoder's first complaint, in words; empty when it had none
};

// A FLAC stream that ends early and one damaged in the middle both make the decoder lose its place.
std::string CutShort(sf_count_t claimed, const Decoded& read) {
  return "the file is cut short: it claims " + std::to_string(claimed) + " frames but holds " +
         std::to_string(read.frames) + (read.damage.empty() ? "" : "; " + read.damage);
}

// Decodes up to limit frames from where the file stands, a chunk at a time, handing each to take (which may
// stop it by returning false); ends early at the end of the file.
template <typename Take>
Decoded ReadFrames(SNDFILE* file, int channels, sf_count_t limit, Take take) {
  std::vector<float> chunk(ChunkSamples);
  Decoded decoded;
  while (decoded.frames < limit) {
    const sf_count_t got = sf_readf_float(file, chunk.data(), std::min(ChunkSamples / channels, limit - decoded.frames));
    // Asked at once: libsndfile forgets a complaint (a FLAC decoder that lost its place) at the next call.
    if (sf_error(file) != SF_ERR_NO_ERROR && decoded.damage.empty()) decoded.damage = Reason(sf_strerror(file));
    if (got <= 0 || !take(chunk.data(), got)) break;
    decoded.frames += got;
  }
  return decoded;
}

constexpr auto CountOnly = [](const float*, sf_count_t) { return true; };

// Checks, reads and mixes down the first frames of an open file, up to maxSeconds of them.
SoundReadOutcome Decode(SNDFILE* file, const SF_INFO& info, double maxSeconds) {
  const int channels = info.channels;
  if (channels < 1 || channels > MaximumSoundChannels)
    return Refused("the file has " + std::to_string(channels) + " channels; from 1 to " +
                   std::to_string(MaximumSoundChannels) + " can be read");
  if (info.samplerate < MinimumSoundRate || info.samplerate > MaximumSoundRate)
    return Refused("the sample rate of " + std::to_string(info.samplerate) + " Hz is outside the " +
                   std::to_string(MinimumSoundRate) + " to " + std::to_string(MaximumSoundRate) + " Hz that can be read");
  if (std::string cut = ClaimedBeyondTheEnd(file); !cut.empty()) return Refused(cut);
  // libsndfile's word for a length the file does not give. A FLAC stream may leave it out; an Ogg stream's
  // last page always carries it, so there it is missing only when the end of the file is.
  const bool lengthGiven = info.frames != SF_COUNT_MAX;
  if (!lengthGiven && (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG)
    return Refused("the file is cut short: its last page, which tells its length, is missing");
  if (info.frames <= 0) return Refused("the file holds no sound");

  const sf_count_t wanted = FramesToKeep(info.frames, info.samplerate, maxSeconds);
  ReadSound sound{{}, info.samplerate, info.frames, channels};
  bool finite = true;
  Decoded read = ReadFrames(file, channels, wanted, [&](const float* frames, sf_count_t count) {
    for (const float* frame = frames; finite && frame < frames + count * channels; frame += channels) {
      double sum = 0.0;  // finite for any finite floats, in double; NaN or infinite when one of them is
      for (int c = 0; c < channels; ++c) sum += frame[c];
      finite = std::isfinite(sum);
      sound.samples.push_back(static_cast<float>(sum / channels));
    }
    return finite;
  });
  if (!finite) return Refused("the file holds a sample that is not a number or is infinite");
  if (!lengthGiven) {  // counted: what was read, and what follows when it was cut
    const Decoded rest = read.frames == wanted && read.damage.empty()
                             ? ReadFrames(file, channels, SF_COUNT_MAX - wanted, CountOnly) : Decoded{};
    sound.fileFrames = read.frames + rest.frames;
    if (read.damage.empty()) read.damage = rest.damage;
  }
  if (read.frames < std::min(wanted, sound.fileFrames)) return Refused(CutShort(info.frames, read));
  if (!read.damage.empty()) return Refused("the file is damaged: " + read.damage);
  if (sound.fileFrames == 0) return Refused("the file holds no sound");
  return {std::move(sound), {}};
}

// Whether the last frame the file claims can be read, found without decoding all that comes before it.
bool LastFrameIsThere(SNDFILE* file, const SF_INFO& info) {
  std::vector<float> frame(static_cast<std::size_t>(info.channels));
  return sf_seek(file, info.frames - 1, SEEK_SET) == info.frames - 1 && sf_readf_float(file, frame.data(), 1) == 1;
}

using SoundFile = std::unique_ptr<SNDFILE, int (*)(SNDFILE*)>;

// Opens through openFile (which fills in the file's description; called again to start over), decodes, and
// makes sure a sound cut at maxSeconds has the rest it claims; no exception gets out.
template <typename Open>
SoundReadOutcome OpenAndDecode(Open openFile, double maxSeconds) {
  try {
    SF_INFO info{};
    const SoundFile file(openFile(info), &sf_close);
    if (!file) return Refused(Reason(sf_strerror(nullptr)));
    SoundReadOutcome outcome = Decode(file.get(), info, maxSeconds);
    if (!outcome.sound || static_cast<sf_count_t>(outcome.sound->samples.size()) == outcome.sound->fileFrames ||
        info.frames == SF_COUNT_MAX || LastFrameIsThere(file.get(), info))
      return outcome;
    // libFLAC cannot seek in some streams it decodes whole: only decoding to the end tells those from a
    // file cut off.
    SF_INFO again{};
    const SoundFile reopened(openFile(again), &sf_close);
    const Decoded whole = reopened ? ReadFrames(reopened.get(), info.channels, info.frames, CountOnly) : Decoded{};
    if (whole.frames < info.frames) return Refused(CutShort(info.frames, whole));
    return whole.damage.empty() ? outcome : Refused("the file is damaged: " + whole.damage);
  } catch (const std::bad_alloc&) {
    return Refused("there is not enough memory to read the sound");
  }
}

}  // namespace

SoundReadOutcome ReadSoundFile(const std::string& path, double maxSeconds) {
  // Without blocking, so that a named pipe cannot hold the program up; only a regular file goes on.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Refused(Reason(std::strerror(errno)));
  struct stat status {};
  SoundReadOutcome outcome;
  if (fstat(fd, &status) != 0) outcome = Refused(Reason(std::strerror(errno)));
  else if (!S_ISREG(status.st_mode)) outcome = Refused("it is a folder, a device or a pipe, not a file");
  else
    outcome = OpenAndDecode([fd](SF_INFO& info) {
      lseek(fd, 0, SEEK_SET);  // libsndfile reads from where the descriptor stands
      return sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    }, maxSeconds);
  close(fd);
  return outcome;
}

SoundReadOutcome DecodeSoundBytes(std::string_view bytes, double maxSeconds) {
  MemorySoundFile memory;
  SF_VIRTUAL_IO io = MemorySoundFileIo();
  return OpenAndDecode([&](SF_INFO& info) {
    memory.bytes.assign(bytes);
    memory.position = 0;
    return sf_open_virtual(&io, SFM_READ, &info, &memory);
  }, maxSeconds);
}

// Interface placeholders until the stretch and channel choice are read: the mix from the start.
SoundReadOutcome ReadSoundFile(const std::string& path, const SoundReadRequest& request) {
  return ReadSoundFile(path, request.maxSeconds);
}

SoundReadOutcome DecodeSoundBytes(std::string_view bytes, const SoundReadRequest& request) {
  return DecodeSoundBytes(bytes, request.maxSeconds);
}
