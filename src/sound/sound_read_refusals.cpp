// SPDX-License-Identifier: GPL-3.0-or-later
// The reader's refusals in its own words. libsndfile logs the header fields it parsed even when it then gives
// up (a rate of 0 Hz comes back as "SF_INFO struct incomplete"), so the log says what was wrong.
#include "sound/sound_read_refusals.h"

#include <sndfile.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>

#include "sound/sound_reader.h"

namespace {

// The system's plain words, as ours are written: from a small letter, without a full stop.
std::string PlainWords(std::string text) {
  while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
  if (text.size() > 1 && std::islower(static_cast<unsigned char>(text[1])))
    text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The last values libsndfile logged for the header fields that decide whether a sound can be read.
struct LoggedHeader {
  std::optional<std::int64_t> rate, channels;
  int format = 0;
};

LoggedHeader ParseLog(const std::string& log) {
  LoggedHeader header;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string key = Lowered(line.substr(0, colon));
    key.erase(0, key.find_first_not_of(' '));
    key.erase(key.find_last_not_of(' ') + 1);
    const char* value = line.c_str() + colon + 1;
    char* end = nullptr;
    const long long number = std::strtoll(value, &end, key == "format" ? 16 : 10);
    if (end == value) continue;
    if (key == "sample rate") header.rate = number;
    else if (key == "channels") header.channels = number;
    else if (key == "format") header.format = static_cast<int>(number);
  }
  return header;
}

}  // namespace

bool HeaderCutShort(const std::string& log) {
  const std::size_t shortRead = log.find("short count");
  return shortRead != std::string::npos && shortRead < log.find("\nEnd\n");
}

std::string SystemRefusal(int error) {
  switch (error) {
    case ENOENT: return "there is no such file";
    case EACCES:
    case EPERM: return "permission denied";
    case ENOTDIR: return "part of its path is not a folder";
    case ENAMETOOLONG: return "its name is too long";
    case ELOOP: return "its path goes round in a loop of links";
    case ENXIO: return "it is a socket or a missing device, not a file";
    case ENOMEM: return "there is not enough memory to read the sound";
    default: return PlainWords(std::strerror(error));
  }
}

std::string NotAFileRefusal(unsigned mode) {
  if (S_ISDIR(mode)) return "it is a folder, not a file";
  if (S_ISFIFO(mode)) return "it is a pipe, not a file";
  if (S_ISSOCK(mode)) return "it is a socket, not a file";
  return "it is a device, not a file";
}

std::string RateRefusal(std::int64_t rate, int format) {
  // Of an AIFF rate only the side of the range is sure: libsndfile truncates it, and gives 1 Hz for any rate
  // below that and a cap for huge ones.
  const bool aiff = (format & SF_FORMAT_TYPEMASK) == SF_FORMAT_AIFF;
  const std::string given = !aiff                     ? "of " + std::to_string(rate) + " Hz"
                            : rate < MinimumSoundRate ? "below " + std::to_string(MinimumSoundRate) + " Hz"
                                                      : "above " + std::to_string(MaximumSoundRate) + " Hz";
  return "the file gives a sample rate " + given + "; from " + std::to_string(MinimumSoundRate) + " to " +
         std::to_string(MaximumSoundRate) + " Hz can be read";
}

std::string ChannelRefusal(std::int64_t channels) {
  return "the file gives " + std::to_string(channels) + (channels == 1 ? " channel" : " channels") + "; from 1 to " +
         std::to_string(MaximumSoundChannels) + " can be read";
}

std::string OpenRefusal() {
  std::string log(8192, '\0');  // more than libsndfile keeps
  sf_command(nullptr, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()));
  log.resize(std::strlen(log.c_str()));
  const int failure = sf_error(nullptr);
  if (failure == SF_ERR_UNRECOGNISED_FORMAT)
    return std::string("it is not a sound file Vellora can read (") + ReadableSoundFormats + ")";
  // The fields libsndfile logged after reading past the end of the file are zeros, not the file's.
  if (HeaderCutShort(log)) return "the file is cut short: it ends inside its header";
  const LoggedHeader header = ParseLog(log.c_str());
  if (header.channels && (*header.channels < 1 || *header.channels > MaximumSoundChannels))
    return ChannelRefusal(*header.channels);
  if (header.rate && (*header.rate < MinimumSoundRate || *header.rate > MaximumSoundRate))
    return RateRefusal(*header.rate, header.format);
  switch (failure) {
    case SF_ERR_SYSTEM: {
      std::string words = sf_strerror(nullptr);
      if (const std::size_t colon = words.find(" : "); colon != std::string::npos) words.erase(0, colon + 3);
      return "the system could not read it: " + PlainWords(words);
    }
    default: return "it is a sound file, but its header is damaged, cut short or names an encoding Vellora cannot read";
  }
}
