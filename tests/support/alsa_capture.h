// Captures what the program plays on the default ALSA output into a raw float file, for playback tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A fresh temporary folder whose ALSA configuration the process uses, after the system's, while it lives;
// the variable naming it is put back and the folder removed at the end.
class AlsaConfigFolder {
 public:
  AlsaConfigFolder();
  ~AlsaConfigFolder();
  AlsaConfigFolder(const AlsaConfigFolder&) = delete;
  AlsaConfigFolder& operator=(const AlsaConfigFolder&) = delete;

  // The folder, empty when it could not be made.
  const std::string& Path() const { return folder_; }
  // Writes the configuration into the folder and points ALSA_CONFIG_PATH at it; false on failure.
  bool Use(const std::string& configuration);

 private:
  std::string folder_;
  std::string previousConfigPath_;
  bool hadConfigPath_ = false;
  bool used_ = false;
};

// While it lives, the default ALSA output of this process is a file in a fresh temporary folder.
// Create it before the audio library is first initialised in the process.
class AlsaCapture {
 public:
  AlsaCapture();
  ~AlsaCapture();
  AlsaCapture(const AlsaCapture&) = delete;
  AlsaCapture& operator=(const AlsaCapture&) = delete;

  // True when the folder, the configuration and the environment variable are in place.
  bool Ready() const { return ready_; }
  // Every float32 sample written to the output since the last Clear, device padding included.
  std::vector<float> ReadCaptured() const;
  // Forgets what has been captured so far.
  void Clear() const;
  // How many zero samples the device puts before a sound played at sampleRate with framesPerBuffer
  // frames per buffer: measured by playing a probe of non-zero samples straight through the library.
  // Clears the capture; -1 when the probe cannot be played.
  long MeasureLeadingSilence(std::int32_t sampleRate, unsigned long framesPerBuffer) const;
  // The captured samples with the device's leading silence for this rate and buffer size taken off.
  // Reads the capture first, then measures, so the capture is cleared afterwards.
  std::vector<float> TakeHeard(std::int32_t sampleRate, unsigned long framesPerBuffer) const;

 private:
  AlsaConfigFolder config_;
  bool ready_ = false;
  std::string capturePath_;
};

// While it lives, the default ALSA output of this process is a named pipe that a thread of its own
// drains at the pace of the sample rate, so sounds take as long to play as they would on a sound card.
// Create it before the audio library is first initialised in the process.
class PacedAlsaOutput {
 public:
  explicit PacedAlsaOutput(std::int32_t sampleRate);
  ~PacedAlsaOutput();
  PacedAlsaOutput(const PacedAlsaOutput&) = delete;
  PacedAlsaOutput& operator=(const PacedAlsaOutput&) = delete;

  bool Ready() const { return ready_; }
  // Blocks until at least count samples have been delivered; false after the time-out.
  bool WaitForSamples(std::size_t count, int timeoutMs) const;
  // Blocks until the device is closed (after it has delivered samples); false after the time-out.
  bool WaitUntilClosed(int timeoutMs) const;
  // How many samples have been delivered so far, device padding included.
  std::size_t SamplesDelivered() const;
  // Every sample delivered so far, in order; playbacks follow each other without a mark between them.
  std::vector<float> Samples() const;

 private:
  struct Drain;
  AlsaConfigFolder config_;
  std::unique_ptr<Drain> drain_;
  bool ready_ = false;
};

// Points the default ALSA output of this process at a device that does not exist, for failure tests;
// returns the folder holding the configuration (removed by the caller), empty on failure.
std::string RouteAlsaToNowhere();
