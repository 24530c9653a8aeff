// SPDX-License-Identifier: GPL-3.0-or-later
// Writes notes as a format 0 Standard MIDI File. A pitch bend moves every note of its channel, so notes are spread
// over the channels by bend: each channel holds one bend at a time and takes a new one only while it is silent.
#include <algorithm>
#include <array>
#include <cmath>

#include "sound/midi_file.h"

namespace {

constexpr int CentreBend = 8192;
constexpr int HighestBend = 16383;
constexpr double TicksPerSecond = 1e6 / WrittenTempo * WrittenDivision;

// The channels notes are written on, the drums' channel left out: 15 of them.
constexpr std::array<int, MidiChannels - 1> NoteChannels = {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15};

// Events at the same tick go in this order: a note ends before a channel's bend changes for the next one.
enum EventOrder { SetUp, NoteOff, Bend, NoteOn };

struct Event {
  std::int64_t tick = 0;
  int order = 0;
  std::array<unsigned char, 3> bytes{};
};

int BendOf(double cents) {
  const long value = std::lround(CentreBend + cents / (WrittenBendSemitones * 100.0) * CentreBend);
  return static_cast<int>(std::clamp(value, 0L, static_cast<long>(HighestBend)));
}

std::int64_t TickOf(double seconds) { return std::llround(std::clamp(seconds, 0.0, MaximumMidiSeconds) * TicksPerSecond); }

struct Sounding {
  std::int64_t endTick = 0;
  int key = 0;
};

struct ChannelUse {
  int bend = CentreBend;
  bool used = false;  // bent at least once: its bend range is set at the start
  std::vector<Sounding> sounding;
  bool Sounds(int key) const {
    return std::any_of(sounding.begin(), sounding.end(), [key](const Sounding& s) { return s.key == key; });
  }
};

// The channel (an index of NoteChannels) for a note of the given bend and key, setting a silent channel's bend
// when none holds it; unbent is set when the note must do with another bend.
std::size_t ChannelFor(std::array<ChannelUse, NoteChannels.size()>& channels, int bend, int key, bool& unbent) {
  for (std::size_t i = 0; i < channels.size(); ++i)
    if (channels[i].bend == bend && !channels[i].Sounds(key)) return i;
  for (std::size_t i = 0; i < channels.size(); ++i)
    if (channels[i].sounding.empty()) return i;
  // More bends at once than channels: the nearest bend of a channel free of the key, or of any channel.
  unbent = true;
  std::size_t best = 0;
  int bestMiss = HighestBend + 1 + HighestBend;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    const int miss = std::abs(channels[i].bend - bend) + (channels[i].Sounds(key) ? HighestBend + 1 : 0);
    if (miss < bestMiss) {
      bestMiss = miss;
      best = i;
    }
  }
  return best;
}

void PutNumber(std::string& out, std::uint32_t value) {
  std::array<unsigned char, 4> groups{};
  int count = 0;
  do {
    groups[static_cast<std::size_t>(count++)] = static_cast<unsigned char>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && count < 4);
  while (count-- > 0) out.push_back(static_cast<char>(groups[static_cast<std::size_t>(count)] | (count > 0 ? 0x80 : 0)));
}

void PutBigEndian(std::string& out, std::uint32_t value, int bytes) {
  while (bytes-- > 0) out.push_back(static_cast<char>((value >> (8 * bytes)) & 0xFF));
}

// Registered parameter 0, the pitch bend range, set to WrittenBendSemitones and then deselected.
void SetBendRange(std::vector<Event>& events, int channel) {
  const unsigned char status = static_cast<unsigned char>(0xB0 | channel);
  for (const auto& [number, value] : std::array<std::pair<int, int>, 6>{
           {{101, 0}, {100, 0}, {6, WrittenBendSemitones}, {38, 0}, {101, 127}, {100, 127}}})
    events.push_back({0, SetUp, {status, static_cast<unsigned char>(number), static_cast<unsigned char>(value)}});
}

}  // namespace

MidiEncoding EncodeMidiFile(const std::vector<MidiNote>& notes) {
  MidiEncoding encoding;
  std::vector<const MidiNote*> order;
  order.reserve(notes.size());
  for (const MidiNote& note : notes) order.push_back(&note);
  std::stable_sort(order.begin(), order.end(), [](const MidiNote* a, const MidiNote* b) { return a->start < b->start; });

  std::array<ChannelUse, NoteChannels.size()> channels{};
  std::vector<Event> events;
  events.reserve(notes.size() * 2 + 64);
  for (const MidiNote* note : order) {
    const std::int64_t start = TickOf(note->start);
    const std::int64_t end = std::max(TickOf(note->end), start + 1);  // a note of no length would end before it began
    const int key = std::clamp(note->key, 0, 127);
    const int bend = BendOf(note->cents);
    for (ChannelUse& channel : channels)
      std::erase_if(channel.sounding, [start](const Sounding& s) { return s.endTick <= start; });
    bool unbent = false;
    const std::size_t index = ChannelFor(channels, bend, key, unbent);
    encoding.notesUnbent += unbent ? 1 : 0;
    ChannelUse& channel = channels[index];
    const auto number = static_cast<unsigned char>(NoteChannels[index]);
    if (!unbent && channel.bend != bend) {
      channel.bend = bend;
      channel.used = true;
      events.push_back({start, Bend, {static_cast<unsigned char>(0xE0 | number), static_cast<unsigned char>(bend & 0x7F),
                                      static_cast<unsigned char>(bend >> 7)}});
    }
    channel.sounding.push_back({end, key});
    const auto velocity = static_cast<unsigned char>(std::clamp(note->velocity, 1, 127));
    events.push_back({start, NoteOn, {static_cast<unsigned char>(0x90 | number), static_cast<unsigned char>(key), velocity}});
    events.push_back({end, NoteOff, {static_cast<unsigned char>(0x80 | number), static_cast<unsigned char>(key), 64}});
  }
  for (std::size_t i = 0; i < channels.size(); ++i)
    if (channels[i].used) SetBendRange(events, NoteChannels[i]);
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });

  std::string track;
  track.reserve(events.size() * 4 + 32);
  track += std::string("\x00\xFF\x51\x03", 4);  // the tempo, at the start
  PutBigEndian(track, WrittenTempo, 3);
  std::int64_t tick = 0;
  for (const Event& event : events) {
    PutNumber(track, static_cast<std::uint32_t>(event.tick - tick));
    tick = event.tick;
    track.append(reinterpret_cast<const char*>(event.bytes.data()), 3);
  }
  track += std::string("\x00\xFF\x2F\x00", 4);  // the end of the track

  std::string& out = encoding.bytes;
  out = "MThd";
  PutBigEndian(out, 6, 4);
  PutBigEndian(out, 0, 2);  // format 0
  PutBigEndian(out, 1, 2);  // one track
  PutBigEndian(out, WrittenDivision, 2);
  out += "MTrk";
  PutBigEndian(out, static_cast<std::uint32_t>(track.size()), 4);
  out += track;
  return encoding;
}
