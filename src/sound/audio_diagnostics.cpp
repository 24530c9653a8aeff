// SPDX-License-Identifier: GPL-3.0-or-later
// The audio libraries' message hooks, found with dlsym in the libraries PortAudio brought in, and standard
// error sent to /dev/null around the calls that probe the devices.
#include "sound/audio_diagnostics.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

// ALSA's handler takes a printf format and its arguments; JACK's functions take the finished text.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler handler);
using JackMessageFunction = void (*)(const char* message);
using JackSetMessageFunction = void (*)(JackMessageFunction function);

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
void IgnoreJackMessage(const char*) {}

template <class Function>
Function Find(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
}

}  // namespace

void SilenceAudioLibraries() {
  if (auto set = Find<AlsaSetErrorHandler>("snd_lib_error_set_handler")) set(&IgnoreAlsaError);
  if (auto set = Find<JackSetMessageFunction>("jack_set_error_function")) set(&IgnoreJackMessage);
  if (auto set = Find<JackSetMessageFunction>("jack_set_info_function")) set(&IgnoreJackMessage);
}

StandardErrorMuted::StandardErrorMuted() {
  std::fflush(stderr);
  if (fcntl(STDERR_FILENO, F_GETFD) < 0) return;  // closed: nothing reaches a terminal anyway
  const int sink = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (sink < 0) return;
  saved_ = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  if (saved_ >= 0 && dup2(sink, STDERR_FILENO) < 0) {
    close(saved_);
    saved_ = -1;
  }
  close(sink);
}

StandardErrorMuted::~StandardErrorMuted() {
  if (saved_ < 0) return;
  std::fflush(stderr);
  dup2(saved_, STDERR_FILENO);
  close(saved_);
}
