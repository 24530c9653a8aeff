// SPDX-License-Identifier: GPL-3.0-or-later
// Standard MIDI Files built byte by byte as the format defines them, for tests that need a file the program did not
// write, well-formed or not.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace midi_models {

// A variable-length number: seven bits a byte, the highest group first, every byte but the last with bit 7 set.
inline std::string Number(std::uint32_t value) {
  std::string out(1, char(value & 0x7F));
  while (value >>= 7) out.insert(out.begin(), char(0x80 | (value & 0x7F)));
  return out;
}

inline std::string BigEndian(std::uint32_t value, int bytes) {
  std::string out;
  while (bytes-- > 0) out += char(value >> (8 * bytes) & 0xFF);
  return out;
}

inline std::string Chunk(const std::string& type, const std::string& body) {
  return type + BigEndian(std::uint32_t(body.size()), 4) + body;
}

// One event: the ticks since the one before and its bytes, status included unless running status stands in.
struct Event {
  std::uint32_t delta;
  std::string bytes;
};

// A track chunk of the events, closed by the end-of-track event.
inline std::string Track(const std::vector<Event>& events) {
  std::string body;
  for (const Event& event : events) body += Number(event.delta) + event.bytes;
  return Chunk("MTrk", body + std::string("\x00\xFF\x2F\x00", 4));
}

inline std::string File(int format, int division, const std::vector<std::string>& tracks) {
  std::string out = Chunk("MThd", BigEndian(format, 2) + BigEndian(std::uint32_t(tracks.size()), 2) + BigEndian(division, 2));
  for (const std::string& track : tracks) out += track;
  return out;
}

inline std::string Bytes(std::initializer_list<int> values) { return std::string(values.begin(), values.end()); }
inline std::string On(int channel, int key, int velocity) { return Bytes({0x90 | channel, key, velocity}); }
inline std::string Off(int channel, int key) { return Bytes({0x80 | channel, key, 0}); }
inline std::string Tempo(std::uint32_t microseconds) { return Bytes({0xFF, 0x51, 3}) + BigEndian(microseconds, 3); }

}  // namespace midi_models
