// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the audio libraries' own diagnostics (ALSA's, JACK's, PortAudio's probing) off the terminal, so that
// a failed playback shows the program's one-line message alone.
#pragma once

// Replaces ALSA's error handler and JACK's error and information functions with ones that print nothing.
// Both are looked up at run time, so neither library is needed; a library that is not loaded is left alone.
// Safe to call any number of times; call it from the main thread before the audio library starts.
void SilenceAudioLibraries();

// While one lives, this process's standard error goes to /dev/null: for the calls into the audio library,
// whose own diagnostics cannot be turned off. Not for the audio callback; one at a time, on the main thread.
class StandardErrorMuted {
 public:
  StandardErrorMuted();
  ~StandardErrorMuted();
  StandardErrorMuted(const StandardErrorMuted&) = delete;
  StandardErrorMuted& operator=(const StandardErrorMuted&) = delete;

 private:
  int saved_ = -1;  // the terminal's standard error, while it is muted
};
