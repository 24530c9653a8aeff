// SPDX-License-Identifier: GPL-3.0-or-later
// What the program plays on the default ALSA output, for playback tests: captured into a raw float file, or
// paced through a pipe. Make either before the audio library is first initialised in the process.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AlsaConfigFolder;  // the temporary configuration ALSA_CONFIG_PATH names while it lives

// While it lives, the default ALSA output of this process is a file (written at once, not in real time).
class AlsaCapture {
 public:
  AlsaCapture();
  ~AlsaCapture();
  bool Ready() const { return ready_; }
  std::vector<float> ReadCaptured() const;  // every sample since the last Clear, device padding included
  void Clear() const;
  // The zero samples the device puts before a sound at this rate and buffer size, measured by playing a
  // probe straight through the library. Clears the capture; -1 when the probe fails.
  long MeasureLeadingSilence(std::int32_t sampleRate, unsigned long framesPerBuffer) const;
  // The capture with that silence taken off (read first: the measuring clears it).
  std::vector<float> TakeHeard(std::int32_t sampleRate, unsigned long framesPerBuffer) const;

 private:
  std::unique_ptr<AlsaConfigFolder> config_;
  std::string capturePath_;
  bool ready_ = false;
};

// While it lives, the default output is a pipe a thread drains at the sample rate, as slowly as a sound card.
class PacedAlsaOutput {
 public:
  explicit PacedAlsaOutput(std::int32_t sampleRate);
  ~PacedAlsaOutput();
  bool Ready() const { return ready_; }
  // Each waits until count samples are delivered, or the device has delivered and closed; false on time-out.
  bool WaitForSamples(std::size_t count, int timeoutMs) const;
  bool WaitUntilClosed(int timeoutMs) const;
  std::size_t SamplesDelivered() const;  // device padding included
  std::vector<float> Samples() const;    // every sample so far, playbacks one after the other

 private:
  struct Drain;
  std::unique_ptr<AlsaConfigFolder> config_;
  std::unique_ptr<Drain> drain_;
  bool ready_ = false;
};

// Points the default ALSA output at a card no machine has, for failure tests; returns the folder holding
// the configuration (the caller removes it), empty on failure.
std::string RouteAlsaToNowhere();
