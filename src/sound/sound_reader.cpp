// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes a stretch of a sound file through libsndfile in bounded chunks, mixed to mono or one channel alone,
// with each channel's peak, refusing what is damaged, cut short, or outside the rates and channel counts the
// analysis takes.
#include "sound/sound_reader.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <memory>
#include <new>
#include <sstream>

#include "sound/memory_sound_file.h"
#include "sound/sound_read_refusals.h"

namespace {

// Samples decoded at a time: the buffer never grows with what a header claims.
constexpr sf_count_t ChunkSamples = 1 << 16;
// Where libsndfile logs a data chunk that claims more bytes than follow it ("data : 4000 (should be 3000)"):
// WAV and CAF, AIFF, AU. It reads what is there and says so nowhere else.
constexpr std::string_view DataChunkNames[] = {"data", "SSND", "Data Size"};
constexpr const char* DamagedRefusal = "the file is damaged: part of its sound cannot be decoded";

SoundReadOutcome Refused(std::string reason) { return {std::nullopt, std::move(reason)}; }
SoundReadOutcome RefusedRequest(std::string reason) { return {std::nullopt, std::move(reason), true}; }

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3g", value);
  return text;
}

// A time for a message: to the millisecond, or in powers of ten when that would be a long row of digits.
std::string Seconds(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, std::fabs(seconds) < 1e9 ? "%.3f s" : "%g s", seconds);
  return text;
}

// What libsndfile noted while it read the header.
std::string LogOf(SNDFILE* file) {
  std::string log(8192, '\0');  // more than libsndfile keeps
  sf_command(file, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()));
  return log.c_str();
}

// What a data chunk claims beyond the end of the file, in words; empty when no chunk claims more than there is.
std::string ClaimedBeyondTheEnd(const std::string& log) {
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
  bool damaged = false;  // the decoder complained on the way
};

// A stream that ends before the length it claims (held counts the frames from the file's start). A FLAC stream
// cut off and one damaged in the middle both make the decoder complain; only the first can end without one.
std::string CutShort(sf_count_t claimed, sf_count_t held, bool damaged) {
  return damaged ? "the file is damaged or cut short: it claims " + std::to_string(claimed) + " frames, but only " +
                       std::to_string(held) + " can be decoded"
                 : "the file is cut short: it claims " + std::to_string(claimed) + " frames but holds " +
                       std::to_string(held);
}

std::string PastTheEnd(sf_count_t frames, std::int32_t sampleRate, double startSeconds) {
  return "the sound lasts " + Seconds(static_cast<double>(frames) / sampleRate) + "; a stretch cannot start at " +
         Seconds(startSeconds) + ", at or past its end";
}

// Decodes up to limit frames from where the file stands, a chunk at a time, handing each to take (which may
// stop it by returning false); ends early at the end of the file.
template <typename Take>
Decoded ReadFrames(SNDFILE* file, int channels, sf_count_t limit, Take take) {
  std::vector<double> chunk(ChunkSamples);
  Decoded decoded;
  while (decoded.frames < limit) {
    const sf_count_t asked = std::min(ChunkSamples / channels, limit - decoded.frames);
    const sf_count_t got = sf_readf_double(file, chunk.data(), asked);
    // Asked at once: libsndfile forgets a complaint (a FLAC decoder that lost its place) at the next call.
    decoded.damaged = decoded.damaged || sf_error(file) != SF_ERR_NO_ERROR;
    if (got <= 0 || !take(chunk.data(), got)) break;
    decoded.frames += got;
  }
  return decoded;
}

constexpr auto CountOnly = [](const double*, sf_count_t) { return true; };

// Why the header rules the file out; empty when it can be read.
std::string HeaderRefusal(SNDFILE* file, const SF_INFO& info) {
  if (info.channels < 1 || info.channels > MaximumSoundChannels) return ChannelRefusal(info.channels);
  if (info.samplerate < MinimumSoundRate || info.samplerate > MaximumSoundRate)
    return RateRefusal(info.samplerate, info.format);
  const std::string log = LogOf(file);
  if (std::string cut = ClaimedBeyondTheEnd(log); !cut.empty()) return cut;
  // libsndfile's word for a length the file does not give. A FLAC stream may leave it out; an Ogg stream's
  // last page always carries it, so there it is missing only when the end of the file is.
  if (info.frames == SF_COUNT_MAX && (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG)
    return "the file is cut short: its last page, which tells its length, is missing";
  if (info.frames <= 0)
    return HeaderCutShort(log) ? "the file is cut short: it ends inside its header" : "the file holds no sound";
  return {};
}

// Reads the stretch from the file's frame start on (where the file stands): the mix or the channel asked
// for, every channel's peak, every sample checked.
SoundReadOutcome ReadStretch(SNDFILE* file, const SF_INFO& info, sf_count_t start, const SoundReadRequest& request) {
  const int channels = info.channels, channel = request.channel;
  const bool lengthGiven = info.frames != SF_COUNT_MAX;
  const sf_count_t wanted = FramesToKeep(info.frames - start, info.samplerate, request.maxSeconds);
  ReadSound sound{{}, info.samplerate, info.frames, channels, start, 0.0, std::vector<double>(channels), channel};
  std::string unreadable;
  Decoded read = ReadFrames(file, channels, wanted, [&](const double* frames, sf_count_t count) {
    for (const double* frame = frames; frame < frames + count * channels; frame += channels) {
      double sum = 0.0;
      for (int c = 0; c < channels; ++c) {
        const double size = std::fabs(frame[c]);
        if (!(size <= FLT_MAX)) {  // a double file's sample beyond what a float holds, NaN, an infinity
          unreadable = std::isfinite(size) ? "the file holds a sample of " + Number(frame[c]) + "; samples up to " +
                                                 Number(FLT_MAX) + " can be read"
                                           : "the file holds a sample that is not a number or is infinite";
          return false;
        }
        sound.channelPeaks[c] = std::max(sound.channelPeaks[c], size);
        sum += frame[c];
      }
      const auto sample = static_cast<float>(channel == 0 ? sum / channels : frame[channel - 1]);
      sound.peak = std::max(sound.peak, static_cast<double>(std::fabs(sample)));
      sound.samples.push_back(sample);
    }
    return true;
  });
  if (!unreadable.empty()) return Refused(unreadable);
  if (!lengthGiven) {  // counted: what was read, and what follows when it was cut
    const Decoded rest = read.frames == wanted && !read.damaged
                             ? ReadFrames(file, channels, SF_COUNT_MAX - start - wanted, CountOnly) : Decoded{};
    sound.fileFrames = start + read.frames + rest.frames;
    read.damaged = read.damaged || rest.damaged;
    if (sound.fileFrames > 0 && read.frames == 0 && !read.damaged)
      return RefusedRequest(PastTheEnd(sound.fileFrames, info.samplerate, request.startSeconds));
  }
  if (read.frames < std::min(wanted, sound.fileFrames - start))
    return Refused(CutShort(info.frames, start + read.frames, read.damaged));
  if (read.damaged) return Refused(DamagedRefusal);
  if (sound.fileFrames == 0) return Refused("the file holds no sound");
  return {std::move(sound), {}};
}

// Whether the last frame the file claims can be read, found without decoding all that comes before it. The
// decoding starts more than a FLAC block (at most 65535 frames) before the end: libFLAC finds a place in the
// last block only by a search that takes most of a second in a long file.
bool LastFrameIsThere(SNDFILE* file, const SF_INFO& info) {
  const sf_count_t from = std::max<sf_count_t>(0, info.frames - (1 << 16));
  return sf_seek(file, from, SEEK_SET) == from &&
         ReadFrames(file, info.channels, info.frames - from, CountOnly).frames == info.frames - from;
}

// Whether libsndfile lands exactly on a frame of the file: in FLAC and in uncompressed samples, yes. Its
// Ogg Vorbis seek lands thousands of frames off in places, so compressed streams are decoded up to the start.
bool SeeksExactly(const SF_INFO& info) {
  const int type = info.format & SF_FORMAT_TYPEMASK, encoding = info.format & SF_FORMAT_SUBMASK;
  constexpr int Uncompressed[] = {SF_FORMAT_PCM_S8, SF_FORMAT_PCM_U8, SF_FORMAT_PCM_16, SF_FORMAT_PCM_24,
                                  SF_FORMAT_PCM_32, SF_FORMAT_FLOAT,  SF_FORMAT_DOUBLE, SF_FORMAT_ULAW, SF_FORMAT_ALAW};
  return info.seekable &&
         (type == SF_FORMAT_FLAC || std::ranges::find(Uncompressed, encoding) != std::end(Uncompressed));
}

using SoundFile = std::unique_ptr<SNDFILE, int (*)(SNDFILE*)>;

// Opens through openFile (which fills in the file's description; called again to start over), goes to the
// stretch asked for (seeking where the format can, else decoding up to it), reads it, and makes sure a sound
// cut short of its end has the rest it claims; no exception gets out.
template <typename Open>
SoundReadOutcome OpenAndDecode(Open openFile, const SoundReadRequest& request) {
  try {
    SF_INFO info{};
    SoundFile file(openFile(info), &sf_close);
    if (!file) return Refused(OpenRefusal());
    if (std::string refusal = HeaderRefusal(file.get(), info); !refusal.empty()) return Refused(refusal);
    if (request.channel < 0 || request.channel > info.channels)
      return RefusedRequest("the file has " + std::to_string(info.channels) +
                            (info.channels == 1 ? " channel" : " channels") + "; there is no channel " +
                            std::to_string(request.channel));
    const bool lengthGiven = info.frames != SF_COUNT_MAX;
    const double startFrame = std::nearbyint(request.startSeconds * info.samplerate);
    if (!(startFrame >= 0) || !std::isfinite(request.startSeconds))
      return RefusedRequest("a stretch cannot start at " + Seconds(request.startSeconds) +
                            "; it starts at 0 s or later");
    if (!(startFrame < static_cast<double>(info.frames)))  // without a length, the sound is counted to say it
      return RefusedRequest(PastTheEnd(lengthGiven ? info.frames : ReadFrames(file.get(), info.channels,
                                                                              SF_COUNT_MAX, CountOnly).frames,
                                       info.samplerate, request.startSeconds));
    const auto start = static_cast<sf_count_t>(startFrame);
    if (start > 0 && !(lengthGiven && SeeksExactly(info) && sf_seek(file.get(), start, SEEK_SET) == start)) {
      // Decoded up to the start, from the beginning again: libFLAC cannot seek in some streams it decodes
      // whole, and a file without a length may end first.
      file.reset();
      SF_INFO again{};
      file.reset(openFile(again));
      const Decoded passed = file ? ReadFrames(file.get(), info.channels, start, CountOnly) : Decoded{};
      if (lengthGiven && passed.frames < start) return Refused(CutShort(info.frames, passed.frames, passed.damaged));
      if (passed.damaged) return Refused(DamagedRefusal);
      if (passed.frames < start)
        return RefusedRequest(PastTheEnd(passed.frames, info.samplerate, request.startSeconds));
    }
    SoundReadOutcome outcome = ReadStretch(file.get(), info, start, request);
    if (!outcome.sound || !lengthGiven ||
        outcome.sound->firstFrame + static_cast<sf_count_t>(outcome.sound->samples.size()) == info.frames ||
        LastFrameIsThere(file.get(), info))
      return outcome;
    // libFLAC cannot seek in some streams it decodes whole: only decoding to the end tells those from a
    // file cut off.
    SF_INFO again{};
    const SoundFile reopened(openFile(again), &sf_close);
    const Decoded whole = reopened ? ReadFrames(reopened.get(), info.channels, info.frames, CountOnly) : Decoded{};
    if (whole.frames < info.frames) return Refused(CutShort(info.frames, whole.frames, whole.damaged));
    return whole.damaged ? Refused(DamagedRefusal) : outcome;
  } catch (const std::bad_alloc&) {
    return Refused("there is not enough memory to read the sound");
  }
}

}  // namespace

SoundReadOutcome ReadSoundFile(const std::string& path, const SoundReadRequest& request) {
  // Without blocking, so that a named pipe cannot hold the program up; only a regular file goes on.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Refused(SystemRefusal(errno));
  struct stat status {};
  SoundReadOutcome outcome;
  if (fstat(fd, &status) != 0) outcome = Refused(SystemRefusal(errno));
  else if (!S_ISREG(status.st_mode)) outcome = Refused(NotAFileRefusal(status.st_mode));
  else if (status.st_size == 0) outcome = Refused("the file is empty");
  else
    outcome = OpenAndDecode([fd](SF_INFO& info) {
      lseek(fd, 0, SEEK_SET);  // libsndfile reads from where the descriptor stands
      return sf_open_fd(fd, SFM_READ, &info, SF_FALSE);
    }, request);
  close(fd);
  return outcome;
}

SoundReadOutcome ReadSoundFile(const std::string& path, double maxSeconds) {
  return ReadSoundFile(path, SoundReadRequest{maxSeconds});
}

SoundReadOutcome DecodeSoundBytes(std::string_view bytes, const SoundReadRequest& request) {
  if (bytes.empty()) return Refused("the file is empty");
  MemorySoundFile memory;
  SF_VIRTUAL_IO io = MemorySoundFileIo();
  return OpenAndDecode([&](SF_INFO& info) {
    memory.bytes.assign(bytes);
    memory.position = 0;
    return sf_open_virtual(&io, SFM_READ, &info, &memory);
  }, request);
}

SoundReadOutcome DecodeSoundBytes(std::string_view bytes, double maxSeconds) {
  return DecodeSoundBytes(bytes, SoundReadRequest{maxSeconds});
}
