// SPDX-License-Identifier: GPL-3.0-or-later
// The ALSA file plugin as the default output: it writes at once, into a file or a pipe whose reader sets the pace.
#include "support/alsa_capture.h"

#include <fcntl.h>
#include <portaudio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;
std::string MakeTemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vellora-alsa-XXXXXX").string();
  return mkdtemp(pattern.data()) ? pattern : std::string();
}

// Writes the configuration into folder and has ALSA read it after the system's.
bool UseConfig(const std::string& folder, const std::string& configuration) {
  const std::string path = folder + "/asound.conf";
  if (folder.empty() || !(std::ofstream(path, std::ios::trunc) << configuration)) return false;
  return setenv("ALSA_CONFIG_PATH", ("/usr/share/alsa/alsa.conf:" + path).c_str(), 1) == 0;
}

bool UseFileOutput(const std::string& folder, const std::string& path) {
  return UseConfig(folder, "pcm.!default { type file slave.pcm \"null\" file \"" + path + "\" format \"raw\" }\n");
}

// Plays 40 buffers of non-zero samples with the program's stream parameters.
bool PlayProbe(std::int32_t sampleRate, unsigned long framesPerBuffer) {
  int remaining = 40;
  auto callback = [](const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                     PaStreamCallbackFlags, void* user) -> int {
    std::fill_n(static_cast<float*>(output), frames, 0.25f);
    return --*static_cast<int*>(user) > 0 ? paContinue : paComplete;
  };
  if (Pa_Initialize() != paNoError) return false;
  const PaStreamParameters output{Pa_GetDefaultOutputDevice(), 1, paFloat32, 0.15, nullptr};
  PaStream* stream = nullptr;
  const bool ok = !Pa_OpenStream(&stream, nullptr, &output, sampleRate, framesPerBuffer, paNoFlag, callback,
                                 &remaining) && !Pa_StartStream(stream);
  while (ok && Pa_IsStreamActive(stream) == 1) std::this_thread::sleep_for(1ms);
  Pa_Terminate();  // closes the stream
  return ok;
}

}  // namespace

// A fresh temporary folder for the configuration; puts ALSA_CONFIG_PATH back and removes the folder at the end.
struct AlsaConfigFolder {
  std::string path = MakeTemporaryFolder();
  const char* previousPath = std::getenv("ALSA_CONFIG_PATH");
  std::optional<std::string> previous = previousPath ? std::optional<std::string>(previousPath) : std::nullopt;
  ~AlsaConfigFolder() {
    previous ? setenv("ALSA_CONFIG_PATH", previous->c_str(), 1) : unsetenv("ALSA_CONFIG_PATH");
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

AlsaCapture::AlsaCapture()
    : config_(std::make_unique<AlsaConfigFolder>()), capturePath_(config_->path + "/captured.raw"),
      ready_(UseFileOutput(config_->path, capturePath_)) {}

AlsaCapture::~AlsaCapture() = default;

std::vector<float> AlsaCapture::ReadCaptured() const {
  std::ifstream file(capturePath_, std::ios::binary);
  std::vector<float> samples;
  for (float sample = 0; file.read(reinterpret_cast<char*>(&sample), sizeof sample);) samples.push_back(sample);
  return samples;
}

void AlsaCapture::Clear() const {
  std::error_code ignored;
  std::filesystem::remove(capturePath_, ignored);
}

long AlsaCapture::MeasureLeadingSilence(std::int32_t sampleRate, unsigned long framesPerBuffer) const {
  Clear();
  const std::vector<float> captured = PlayProbe(sampleRate, framesPerBuffer) ? ReadCaptured() : std::vector<float>();
  Clear();
  const auto first = std::find_if(captured.begin(), captured.end(), [](float s) { return s != 0.0f; });
  return first == captured.end() ? -1 : first - captured.begin();
}

std::vector<float> AlsaCapture::TakeHeard(std::int32_t sampleRate, unsigned long framesPerBuffer) const {
  const std::vector<float> captured = ReadCaptured();
  const long silence = MeasureLeadingSilence(sampleRate, framesPerBuffer);
  if (silence < 0 || silence > static_cast<long>(captured.size())) return {};
  return {captured.begin() + silence, captured.end()};
}

std::string RouteAlsaToNowhere() {
  const std::string folder = MakeTemporaryFolder();
  return UseConfig(folder, "pcm.!default { type hw card 97 }\nctl.!default { type hw card 97 }\n") ? folder : "";
}

// The pipe's reading end; the pipe is as small as allowed, so the device runs only a page ahead of the pace.
struct PacedAlsaOutput::Drain {
  std::int32_t sampleRate = 0;
  int pipe = -1;  // O_NONBLOCK
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<char> bytes;  // everything read so far
  bool open = false;        // a device is writing into the pipe
  std::thread thread;

  void Run() {
    double budget = 0;  // bytes the pace allows to be read now
    std::vector<char> chunk(4096);
    for (auto last = std::chrono::steady_clock::now(); !stop;) {
      std::this_thread::sleep_for(2ms);
      const auto now = std::chrono::steady_clock::now();
      budget = std::min(budget + 4.0 * sampleRate * std::chrono::duration<double>(now - last).count(), 4096.0);
      last = now;
      const ssize_t got = budget < 1 ? -1 : read(pipe, chunk.data(), static_cast<std::size_t>(budget));
      std::lock_guard lock(mutex);
      if (got > 0) bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
      budget -= std::max<double>(got, 0);
      if (got >= 0) open = got > 0;  // 0: no writer is left, the device was closed
      changed.notify_all();
    }
  }
};

PacedAlsaOutput::PacedAlsaOutput(std::int32_t sampleRate)
    : config_(std::make_unique<AlsaConfigFolder>()), drain_(std::make_unique<Drain>()) {
  drain_->sampleRate = sampleRate;
  const std::string pipePath = config_->path + "/output.pipe";
  if (config_->path.empty() || mkfifo(pipePath.c_str(), 0600) != 0) return;
  drain_->pipe = open(pipePath.c_str(), O_RDONLY | O_NONBLOCK);
  if (drain_->pipe >= 0) fcntl(drain_->pipe, F_SETPIPE_SZ, 4096);
  if (drain_->pipe < 0 || !UseFileOutput(config_->path, pipePath)) return;
  drain_->thread = std::thread([drain = drain_.get()] { drain->Run(); });
  ready_ = true;
}

PacedAlsaOutput::~PacedAlsaOutput() {
  drain_->stop = true;
  if (drain_->thread.joinable()) drain_->thread.join();
  if (drain_->pipe >= 0) close(drain_->pipe);
}

bool PacedAlsaOutput::WaitForSamples(std::size_t count, int timeoutMs) const {
  std::unique_lock lock(drain_->mutex);
  return drain_->changed.wait_for(lock, timeoutMs * 1ms, [&] { return drain_->bytes.size() >= count * sizeof(float); });
}

bool PacedAlsaOutput::WaitUntilClosed(int timeoutMs) const {
  std::unique_lock lock(drain_->mutex);
  return drain_->changed.wait_for(lock, timeoutMs * 1ms, [&] { return !drain_->open && !drain_->bytes.empty(); });
}

std::size_t PacedAlsaOutput::SamplesDelivered() const { return Samples().size(); }

std::vector<float> PacedAlsaOutput::Samples() const {
  std::lock_guard lock(drain_->mutex);
  std::vector<float> samples(drain_->bytes.size() / sizeof(float));
  std::memcpy(samples.data(), drain_->bytes.data(), samples.size() * sizeof(float));
  return samples;
}
