// SPDX-License-Identifier: GPL-3.0-or-later
// Why a sound file cannot be read, in the program's own words: what libsndfile and the system report is
// turned into a sentence of ours that says what is wrong with the file, never their internal wording.
#pragma once

#include <cstdint>
#include <string>

// What the program reads, for messages that say it is not that.
constexpr const char* ReadableSoundFormats = "WAV, FLAC, Ogg Vorbis, AIFF";

// Why the file could not be opened, from the system's error number (errno).
std::string SystemRefusal(int error);
// Why a path that opened is not read: mode is its stat mode, of a folder, a pipe, a device or a socket.
std::string NotAFileRefusal(unsigned mode);
// A sample rate outside MinimumSoundRate .. MaximumSoundRate, as libsndfile gives it for the format
// (SF_FORMAT_*; AIFF's rate is a ten-byte float that libsndfile truncates and caps).
std::string RateRefusal(std::int64_t rate, int format);
// A channel count outside 1 .. MaximumSoundChannels.
std::string ChannelRefusal(std::int64_t channels);
// Whether libsndfile's log of a header (SFC_GET_LOG_INFO) shows it cut short: a read came up short before the
// header's end. One after it is libsndfile looking past the last chunk, as in any file without trailing chunks.
bool HeaderCutShort(const std::string& log);
// Why libsndfile's last failed open failed: the rate or channel count the header gives when that is out of
// range, else the kind of failure (not a sound file, a damaged header, the system's complaint).
std::string OpenRefusal();
