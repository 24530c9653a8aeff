// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the notes of a Standard MIDI File by hand. The format is small and exactly defined, and a file a user
// hands the program must be refused with a reason of ours: libsmf, the library Debian offers for it, reports its
// failures through GLib's g_critical on the standard error, depends on GLib for nothing else we use and has had no
// release in over a decade, so a reader of our own with bounds on every count is the safer choice.
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "picture/file_io.h"
#include "sound/midi_file.h"

namespace {

constexpr int DefaultTempo = 500000;  // microseconds per quarter note until a tempo event says otherwise
constexpr int CentreBend = 8192;
constexpr std::int64_t LongestDelta = 0x0FFFFFFF;  // four bytes of seven bits

std::string Printed(const char* format, double a, double b = 0.0, double c = 0.0) {
  std::array<char, 160> text{};
  std::snprintf(text.data(), text.size(), format, a, b, c);
  return text.data();
}

struct Tempo {
  std::int64_t tick = 0;
  int microseconds = DefaultTempo;
};

// A note while its track is read: times in ticks until the tempo map is known.
struct TickNote {
  MidiNote note;
  std::int64_t startTick = 0;
  std::int64_t endTick = 0;
};

// A channel's state within one track: its bend and the pitch bend range its registered parameter 0 sets.
struct ChannelState {
  int bend = CentreBend;
  int rangeCents = 200;
  int parameterMsb = 127, parameterLsb = 127;  // the registered parameter selected; 127, 127 is none
  std::array<std::vector<TickNote>, 128> sounding;  // notes begun and not yet ended, earliest first
};

// Reads one track chunk; the error names the track (from 1) and the byte of the file where it went wrong.
class TrackReader {
 public:
  TrackReader(std::string_view bytes, std::size_t begin, std::size_t end, int track)
      : bytes_(bytes), at_(begin), end_(end), track_(track) {}

  std::string Read(std::vector<TickNote>& notes, std::vector<Tempo>& tempi, std::string& name) {
    std::array<ChannelState, MidiChannels> channels{};
    int running = 0;  // the running status; 0 when none is in effect
    std::int64_t tick = 0;
    while (at_ < end_) {
      std::int64_t delta = 0;
      if (std::string error = Number(delta); !error.empty()) return error;
      tick += delta;
      if (at_ >= end_) return Cut();
      int status = Byte(at_);
      if (status < 0x80) {
        if (running == 0) return Where("a data byte where an event should begin, with no running status in effect");
        status = running;
      } else {
        ++at_;
      }
      if (status == 0xFF) {
        running = 0;  // meta and system exclusive events end any running status
        if (at_ >= end_) return Cut();
        const int type = Byte(at_++);
        std::int64_t length = 0;
        if (std::string error = Number(length); !error.empty()) return error;
        if (length > static_cast<std::int64_t>(end_ - at_)) return Cut();
        const std::string_view data = bytes_.substr(at_, static_cast<std::size_t>(length));
        at_ += static_cast<std::size_t>(length);
        if (type == 0x2F) break;  // the end of the track
        if (type == 0x51) {
          if (length != 3) return Where("a tempo event that is not three bytes long");
          const int tempo = (Unsigned(data[0]) << 16) | (Unsigned(data[1]) << 8) | Unsigned(data[2]);
          if (tempo == 0) return Where("a tempo of 0 microseconds per quarter note");
          tempi.push_back({tick, tempo});
        } else if (type == 0x03 && name.empty()) {
          name.assign(data.substr(0, 64));
        }
        continue;
      }
      if (status == 0xF0 || status == 0xF7) {
        running = 0;
        std::int64_t length = 0;
        if (std::string error = Number(length); !error.empty()) return error;
        if (length > static_cast<std::int64_t>(end_ - at_)) return Cut();
        at_ += static_cast<std::size_t>(length);
        continue;
      }
      if (status >= 0xF0) {
        std::array<char, 8> hex{};
        std::snprintf(hex.data(), hex.size(), "0x%02X", status);
        return Where(std::string("the status byte ") + hex.data() + ", which has no place in a MIDI file,");
      }
      running = status;
      const int kind = status & 0xF0;
      const int count = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
      if (end_ - at_ < static_cast<std::size_t>(count)) return Cut();
      const int first = Byte(at_), second = count == 2 ? Byte(at_ + 1) : 0;
      if (first >= 0x80 || second >= 0x80) return Where("a data byte above 127");
      at_ += static_cast<std::size_t>(count);
      ChannelState& channel = channels[static_cast<std::size_t>(status & 0x0F)];
      if (kind == 0x90 && second > 0) {
        if (notes.size() + sounding_ >= MaximumMidiNotes)
          return Printed("it holds more than %g notes", static_cast<double>(MaximumMidiNotes));
        TickNote begun;
        begun.note = {track_, status & 0x0F, first, second, (channel.bend - CentreBend) * channel.rangeCents / 8192.0};
        begun.startTick = tick;
        channel.sounding[static_cast<std::size_t>(first)].push_back(begun);
        ++sounding_;
      } else if (kind == 0x80 || kind == 0x90) {
        auto& waiting = channel.sounding[static_cast<std::size_t>(first)];
        if (waiting.empty()) continue;  // an end without a beginning ends nothing
        waiting.front().endTick = tick;
        notes.push_back(waiting.front());
        waiting.erase(waiting.begin());
        --sounding_;
      } else if (kind == 0xE0) {
        channel.bend = first | (second << 7);
      } else if (kind == 0xB0) {
        Controller(channel, first, second);
      }
    }
    for (const ChannelState& channel : channels)
      for (const auto& waiting : channel.sounding)
        if (!waiting.empty() && (!unended_ || waiting.front().startTick < unended_->startTick))
          unended_ = waiting.front();
    return {};
  }

  // The earliest note of the track that began and never ended, if one did.
  const std::optional<TickNote>& Unended() const { return unended_; }

 private:
  static int Unsigned(char c) { return static_cast<unsigned char>(c); }
  int Byte(std::size_t at) const { return Unsigned(bytes_[at]); }

  // Registered parameter 0, the pitch bend range, set through data entry.
  static void Controller(ChannelState& channel, int number, int value) {
    const bool bendRange = channel.parameterMsb == 0 && channel.parameterLsb == 0;
    if (number == 101) channel.parameterMsb = value;
    if (number == 100) channel.parameterLsb = value;
    if (number == 99 || number == 98) channel.parameterMsb = channel.parameterLsb = 127;  // a non-registered one
    if (number == 6 && bendRange) channel.rangeCents = value * 100 + channel.rangeCents % 100;
    if (number == 38 && bendRange) channel.rangeCents = channel.rangeCents / 100 * 100 + std::min(value, 99);
  }

  // A variable-length number: seven bits a byte, at most four bytes.
  std::string Number(std::int64_t& value) {
    value = 0;
    for (int count = 0; count < 4; ++count) {
      if (at_ >= end_) return Cut();
      const int byte = Byte(at_++);
      value = (value << 7) | (byte & 0x7F);
      if (byte < 0x80) return {};
    }
    return Where("a number longer than four bytes");
  }

  std::string Where(const std::string& what) const {
    return Printed("track %g has ", track_ + 1) + what + Printed(" at byte %g", static_cast<double>(at_));
  }
  std::string Cut() const { return Printed("it is cut short inside track %g", track_ + 1); }

  std::string_view bytes_;
  std::size_t at_, end_;
  int track_;
  std::size_t sounding_ = 0;  // notes begun and not yet ended
  std::optional<TickNote> unended_;
};

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = 0; i < count; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// Ticks to seconds through the tempo map (sorted by tick), or SMPTE time at a fixed number of ticks a second.
class Clock {
 public:
  Clock(std::vector<Tempo> tempi, int division) : tempi_(std::move(tempi)) {
    if (division & 0x8000) {
      const int frames = -static_cast<signed char>(division >> 8);
      smpteTicksPerSecond_ = (frames == 29 ? 29.97 : frames) * (division & 0xFF);
    } else {
      quarterTicks_ = division;
    }
    if (tempi_.empty() || tempi_.front().tick > 0) tempi_.insert(tempi_.begin(), Tempo{});
    secondsAt_.resize(tempi_.size(), 0.0);
    for (std::size_t i = 1; i < tempi_.size(); ++i)
      secondsAt_[i] = secondsAt_[i - 1] + Span(tempi_[i].tick - tempi_[i - 1].tick, tempi_[i - 1].microseconds);
  }

  double Seconds(std::int64_t tick) const {
    if (smpteTicksPerSecond_ > 0) return static_cast<double>(tick) / smpteTicksPerSecond_;
    const auto after = std::upper_bound(tempi_.begin(), tempi_.end(), tick,
                                        [](std::int64_t t, const Tempo& tempo) { return t < tempo.tick; });
    const std::size_t index = static_cast<std::size_t>(after - tempi_.begin()) - 1;
    return secondsAt_[index] + Span(tick - tempi_[index].tick, tempi_[index].microseconds);
  }

 private:
  double Span(std::int64_t ticks, int microseconds) const {
    return static_cast<double>(ticks) * microseconds / 1e6 / quarterTicks_;
  }
  std::vector<Tempo> tempi_;
  std::vector<double> secondsAt_;
  int quarterTicks_ = 1;
  double smpteTicksPerSecond_ = 0.0;
};

constexpr std::array<const char*, 12> KeyNames = {"C",  "C\u266F", "D",  "D\u266F", "E",  "F",
                                                  "F\u266F", "G",  "G\u266F", "A",  "A\u266F", "B"};

std::string KeyName(int key) { return KeyNames[static_cast<std::size_t>(key % 12)] + std::to_string(key / 12 - 1); }

// The header's division, or why it cannot be one: ticks per quarter note, or frames a second and ticks per frame.
std::string DivisionRefusal(int division) {
  if (division & 0x8000) {
    const int frames = -static_cast<signed char>(division >> 8);
    if (frames != 24 && frames != 25 && frames != 29 && frames != 30)
      return Printed("its header counts time in %g frames a second, which no timecode has", frames);
    if ((division & 0xFF) == 0) return "its header divides a frame into 0 ticks";
  } else if (division == 0) {
    return "its header divides a quarter note into 0 ticks";
  }
  return {};
}

}  // namespace

MidiReadOutcome DecodeMidiBytes(std::string_view bytes) {
  MidiReadOutcome outcome;
  if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd") {
    outcome.error = "it is not a MIDI file: it does not begin with a MIDI header";
    return outcome;
  }
  const std::uint32_t headerLength = BigEndian(bytes, 4, 4);
  if (headerLength < 6 || headerLength > bytes.size() - 8) {
    outcome.error = "its header is damaged: it claims " + std::to_string(headerLength) + " bytes";
    return outcome;
  }
  const int format = static_cast<int>(BigEndian(bytes, 8, 2));
  const int trackCount = static_cast<int>(BigEndian(bytes, 10, 2));
  const int division = static_cast<int>(BigEndian(bytes, 12, 2));
  if (format > 1) {
    outcome.error = format == 2 ? "it is of format 2 (separate sequences), and only formats 0 and 1 are read"
                                : "its header names format " + std::to_string(format) + ", which does not exist";
  } else if (trackCount == 0) {
    outcome.error = "its header announces no tracks";
  } else if (format == 0 && trackCount != 1) {
    outcome.error = "it is of format 0 but its header announces " + std::to_string(trackCount) + " tracks";
  } else if (trackCount > MaximumMidiTracks) {
    outcome.error = "its header announces " + std::to_string(trackCount) + " tracks, more than the " +
                    std::to_string(MaximumMidiTracks) + " read";
  } else {
    outcome.error = DivisionRefusal(division);
  }
  if (!outcome.error.empty()) return outcome;

  MidiPiece piece;
  piece.format = format;
  std::vector<TickNote> notes;
  std::vector<Tempo> tempi;
  std::optional<TickNote> unended;
  std::size_t at = 8 + headerLength;
  while (static_cast<int>(piece.trackNames.size()) < trackCount) {
    const int track = static_cast<int>(piece.trackNames.size());
    if (bytes.size() - at < 8) {
      outcome.error = at == bytes.size() ? "it holds " + std::to_string(track) + " of the " +
                                               std::to_string(trackCount) + " tracks its header announces"
                                         : "it is cut short after track " + std::to_string(track);
      return outcome;
    }
    const std::uint32_t length = BigEndian(bytes, at + 4, 4);
    if (length > bytes.size() - at - 8) {
      outcome.error = "it is cut short inside track " + std::to_string(track + 1);
      return outcome;
    }
    const std::size_t begin = at + 8;
    at = begin + length;
    if (bytes.substr(begin - 8, 4) != "MTrk") continue;  // chunks of other kinds are skipped, as the format asks
    std::string name;
    TrackReader reader(bytes, begin, begin + length, track);
    if (std::string error = reader.Read(notes, tempi, name); !error.empty()) {
      outcome.error = std::move(error);
      return outcome;
    }
    if (!unended) unended = reader.Unended();
    piece.trackNames.push_back(std::move(name));
  }

  std::stable_sort(tempi.begin(), tempi.end(), [](const Tempo& a, const Tempo& b) { return a.tick < b.tick; });
  const Clock clock(std::move(tempi), division);
  if (unended) {
    const MidiNote& note = unended->note;
    outcome.error = "the note " + KeyName(note.key) + " on channel " + std::to_string(note.channel + 1) +
                    " of track " + std::to_string(note.track + 1) +
                    Printed(" begins at %.2f s and never ends", clock.Seconds(unended->startTick));
    return outcome;
  }
  piece.notes.reserve(notes.size());
  for (TickNote& timed : notes) {
    timed.note.start = clock.Seconds(timed.startTick);
    timed.note.end = clock.Seconds(timed.endTick);
    if (timed.note.end > MaximumMidiSeconds) {
      outcome.error = "the note " + KeyName(timed.note.key) + " of track " + std::to_string(timed.note.track + 1) +
                      Printed(" ends %.0f s in, past the hour a piece may last", timed.note.end);
      return outcome;
    }
    piece.notes.push_back(timed.note);
  }
  std::stable_sort(piece.notes.begin(), piece.notes.end(), [](const MidiNote& a, const MidiNote& b) {
    if (a.start != b.start) return a.start < b.start;
    if (a.track != b.track) return a.track < b.track;
    if (a.channel != b.channel) return a.channel < b.channel;
    return a.key < b.key;
  });
  outcome.piece = std::move(piece);
  return outcome;
}

MidiReadOutcome ReadMidiFile(const std::string& path) {
  FileReadOutcome read = ReadFileBytes(path, MaximumMidiBytes);
  if (read.bytes) return DecodeMidiBytes(*read.bytes);
  MidiReadOutcome outcome;
  struct stat status {};
  if (!read.exists || ::stat(path.c_str(), &status) != 0)
    outcome.error = "there is no such file";
  else if (!S_ISREG(status.st_mode))
    outcome.error = "it is not a file";
  else if (static_cast<std::uint64_t>(status.st_size) > MaximumMidiBytes)
    outcome.error = Printed("it holds %.0f MB, more than the %.0f MB a MIDI file is read up to",
                            static_cast<double>(status.st_size) / (1 << 20), static_cast<double>(MaximumMidiBytes >> 20));
  else
    outcome.error = "it cannot be read";
  return outcome;
}

double PieceSeconds(const std::vector<MidiNote>& notes) {
  double seconds = 0.0;
  for (const MidiNote& note : notes) seconds = std::max(seconds, note.end);
  return seconds;
}
