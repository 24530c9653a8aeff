// The ALSA file plugin writes what it is given at once, not in real time, so captures into a file are quick;
// into a pipe they take the pace of whoever reads it.
#include "support/alsa_capture.h"

#include <fcntl.h>
#include <portaudio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

namespace {

constexpr const char* SystemAlsaConfig = "/usr/share/alsa/alsa.conf";
constexpr unsigned long ProbeBuffers = 40;
constexpr float ProbeValue = 0.25f;

std::string MakeTemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vellora-alsa-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return {};
  return pattern;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::trunc);
  file << text;
  return static_cast<bool>(file);
}

bool UseConfig(const std::string& configPath) {
  const std::string value = std::string(SystemAlsaConfig) + ":" + configPath;
  return setenv("ALSA_CONFIG_PATH", value.c_str(), 1) == 0;
}

std::string FileOutputConfig(const std::string& path) {
  return "pcm.!default { type file slave.pcm \"null\" file \"" + path + "\" format \"raw\" }\n";
}

struct Probe {
  unsigned long remaining = 0;
  std::atomic<int> done{0};
};

int ProbeCallback(const void*, void* output, unsigned long frameCount, const PaStreamCallbackTimeInfo*,
                  PaStreamCallbackFlags, void* userData) {
  auto* probe = static_cast<Probe*>(userData);
  auto* out = static_cast<float*>(output);
  for (unsigned long k = 0; k < frameCount; ++k) out[k] = ProbeValue;
  probe->remaining = probe->remaining > 0 ? probe->remaining - 1 : 0;
  return probe->remaining > 0 ? paContinue : paComplete;
}

void ProbeFinished(void* userData) { static_cast<Probe*>(userData)->done.store(1); }

// Plays ProbeBuffers buffers of non-zero samples with the program's stream parameters.
bool PlayProbe(std::int32_t sampleRate, unsigned long framesPerBuffer) {
  if (Pa_Initialize() != paNoError) return false;
  PaStreamParameters output{};
  output.device = Pa_GetDefaultOutputDevice();
  output.channelCount = 1;
  output.sampleFormat = paFloat32;
  output.suggestedLatency = 0.15;
  Probe probe;
  probe.remaining = ProbeBuffers;
  PaStream* stream = nullptr;
  if (Pa_OpenStream(&stream, nullptr, &output, sampleRate, framesPerBuffer, paNoFlag, &ProbeCallback, &probe) !=
      paNoError) {
    Pa_Terminate();
    return false;
  }
  Pa_SetStreamFinishedCallback(stream, &ProbeFinished);
  if (Pa_StartStream(stream) != paNoError) {
    Pa_Terminate();
    return false;
  }
  while (probe.done.load() == 0 && Pa_IsStreamActive(stream) == 1)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  Pa_StopStream(stream);
  Pa_Terminate();
  return true;
}

}  // namespace

AlsaConfigFolder::AlsaConfigFolder() { folder_ = MakeTemporaryFolder(); }

AlsaConfigFolder::~AlsaConfigFolder() {
  if (used_) {
    if (hadConfigPath_)
      setenv("ALSA_CONFIG_PATH", previousConfigPath_.c_str(), 1);
    else
      unsetenv("ALSA_CONFIG_PATH");
  }
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool AlsaConfigFolder::Use(const std::string& configuration) {
  const std::string configPath = folder_ + "/asound.conf";
  if (folder_.empty() || !WriteText(configPath, configuration)) return false;
  if (!used_) {
    if (const char* previous = std::getenv("ALSA_CONFIG_PATH")) {
      hadConfigPath_ = true;
      previousConfigPath_ = previous;
    }
    used_ = true;
  }
  return UseConfig(configPath);
}

AlsaCapture::AlsaCapture() {
  if (config_.Path().empty()) return;
  capturePath_ = config_.Path() + "/captured.raw";
  ready_ = config_.Use(FileOutputConfig(capturePath_));
}

AlsaCapture::~AlsaCapture() = default;

std::vector<float> AlsaCapture::ReadCaptured() const {
  std::ifstream file(capturePath_, std::ios::binary);
  std::vector<float> samples;
  float sample = 0.0f;
  while (file.read(reinterpret_cast<char*>(&sample), sizeof sample)) samples.push_back(sample);
  return samples;
}

void AlsaCapture::Clear() const {
  std::error_code ignored;
  std::filesystem::remove(capturePath_, ignored);
}

long AlsaCapture::MeasureLeadingSilence(std::int32_t sampleRate, unsigned long framesPerBuffer) const {
  Clear();
  if (!PlayProbe(sampleRate, framesPerBuffer)) return -1;
  const std::vector<float> captured = ReadCaptured();
  Clear();
  long zeros = 0;
  while (zeros < static_cast<long>(captured.size()) && captured[zeros] == 0.0f) ++zeros;
  return zeros < static_cast<long>(captured.size()) ? zeros : -1;
}

std::vector<float> AlsaCapture::TakeHeard(std::int32_t sampleRate, unsigned long framesPerBuffer) const {
  const std::vector<float> captured = ReadCaptured();
  const long silence = MeasureLeadingSilence(sampleRate, framesPerBuffer);
  if (silence < 0 || silence > static_cast<long>(captured.size())) return {};
  return std::vector<float>(captured.begin() + silence, captured.end());
}

std::string RouteAlsaToNowhere() {
  const std::string folder = MakeTemporaryFolder();
  if (folder.empty()) return {};
  const std::string configPath = folder + "/asound.conf";
  // A card number no machine has: opening the default output fails.
  if (!WriteText(configPath, "pcm.!default { type hw card 97 }\nctl.!default { type hw card 97 }\n") ||
      !UseConfig(configPath))
    return {};
  return folder;
}

// The reading end of the pipe. The pipe is made as small as the system allows, so the device can run
// ahead of the pace by only a page of samples besides its own buffer.
struct PacedAlsaOutput::Drain {
  std::int32_t sampleRate = 0;
  int pipe = -1;
  std::atomic<bool> stop{false};
  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  std::vector<char> bytes;  // everything read so far
  bool open = false;        // a device is writing into the pipe
  std::thread thread;

  void Run() {
    using Clock = std::chrono::steady_clock;
    const double bytesPerSecond = 4.0 * sampleRate;
    double budget = 0;
    auto last = Clock::now();
    std::vector<char> chunk(4096);
    while (!stop.load()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      const auto now = Clock::now();
      budget = std::min(budget + bytesPerSecond * std::chrono::duration<double>(now - last).count(), 4096.0);
      last = now;
      const auto want = static_cast<std::size_t>(budget);
      if (want == 0) continue;
      const ssize_t got = read(pipe, chunk.data(), want);
      std::lock_guard lock(mutex);
      if (got > 0) {
        budget -= static_cast<double>(got);
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
        open = true;
        changed.notify_all();
      } else if (got == 0 && open) {  // no writer is left: the device was closed
        open = false;
        changed.notify_all();
      }
    }
  }
};

PacedAlsaOutput::PacedAlsaOutput(std::int32_t sampleRate) : drain_(std::make_unique<Drain>()) {
  drain_->sampleRate = sampleRate;
  if (config_.Path().empty()) return;
  const std::string pipePath = config_.Path() + "/output.pipe";
  if (mkfifo(pipePath.c_str(), 0600) != 0) return;
  drain_->pipe = open(pipePath.c_str(), O_RDONLY | O_NONBLOCK);
  if (drain_->pipe < 0) return;
  fcntl(drain_->pipe, F_SETPIPE_SZ, 4096);
  if (!config_.Use(FileOutputConfig(pipePath))) return;
  drain_->thread = std::thread([drain = drain_.get()] { drain->Run(); });
  ready_ = true;
}

PacedAlsaOutput::~PacedAlsaOutput() {
  drain_->stop.store(true);
  if (drain_->thread.joinable()) drain_->thread.join();
  if (drain_->pipe >= 0) close(drain_->pipe);
}

bool PacedAlsaOutput::WaitForSamples(std::size_t count, int timeoutMs) const {
  std::unique_lock lock(drain_->mutex);
  return drain_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return drain_->bytes.size() / sizeof(float) >= count; });
}

bool PacedAlsaOutput::WaitUntilClosed(int timeoutMs) const {
  std::unique_lock lock(drain_->mutex);
  return drain_->changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [&] { return !drain_->open && !drain_->bytes.empty(); });
}

std::size_t PacedAlsaOutput::SamplesDelivered() const {
  std::lock_guard lock(drain_->mutex);
  return drain_->bytes.size() / sizeof(float);
}

std::vector<float> PacedAlsaOutput::Samples() const {
  std::lock_guard lock(drain_->mutex);
  std::vector<float> samples(drain_->bytes.size() / sizeof(float));
  std::memcpy(samples.data(), drain_->bytes.data(), samples.size() * sizeof(float));
  return samples;
}
