#include "audio/device/audio_device.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cmath>

#include "audio/device/host_time.h"
#include "core/error.h"

namespace zelmora {
namespace {

constexpr char kNoDevice[] = "Failed to create IDirectSound object";
constexpr char kNoStart[] = "Failed to set coop level";

constexpr int kChannels = 2;
constexpr double kPreferredRate = 48000.0;
// Blocks of about 6 ms, of which ALSA's plugin for PulseAudio then
// queues nine (52.5 ms; with 256 frames it queues 48 or 64 ms): a stall of
// the process of up to 50 ms does not run the output dry (with 48 ms it
// did, now and then), and a tap or a start is heard within about 60 ms.
constexpr unsigned long kPreferredFrames = 280;
constexpr double kOutputLatencySeconds = 0.052;
// An output that has been idle this long pauses.
constexpr auto kIdleBeforePause = std::chrono::seconds(5);
constexpr auto kIdleCheck = std::chrono::seconds(1);
// How long a wake-up waits for the first block of the restarted output.
constexpr auto kFirstBlockWait = std::chrono::milliseconds(500);

bool TakesRate(const PaStreamParameters& params, double rate) {
  return Pa_IsFormatSupported(nullptr, &params, rate) == paFormatIsSupported;
}

}  // namespace

double RenderLeadSeconds(double outputLatencySeconds, double bufferSeconds) {
  return outputLatencySeconds + bufferSeconds;
}

int TAudioDevice::Render(const void* /*input*/, void* output, unsigned long frames,
                         const PaStreamCallbackTimeInfo* time, unsigned long status,
                         void* self) noexcept {
  auto* device = static_cast<TAudioDevice*>(self);
  if ((status & paOutputUnderflow) != 0) {
    device->underflows_.fetch_add(1, std::memory_order_relaxed);
  }
  const TDacTime firstFrame =
      DacTimeNs(time->outputBufferDacTime, time->currentTime, device->fallbackAheadNs_);
  const bool ranDry =
      device->dropoutWatch_.RanDry(firstFrame, (status & paOutputUnderflow) != 0, frames);
  if (ranDry) {
    device->dropouts_.fetch_add(1, std::memory_order_relaxed);
  }
  device->mixer_->Render(static_cast<float*>(output), static_cast<int>(frames), firstFrame.Ns,
                         firstFrame.NowNs, ranDry || !firstFrame.Measured);
  return paContinue;
}

TAudioDevice::~TAudioDevice() {
  Close();
}

void TAudioDevice::Open() {
  if (IsOpen()) {
    return;
  }
  try {
    OpenOrThrow();
  } catch (...) {
    Close();
    throw;
  }
}

void TAudioDevice::OpenOrThrow() {
  if (Pa_Initialize() != paNoError) {
    throw TError(kNoDevice);
  }
  initialised_ = true;
  underflows_.store(0, std::memory_order_relaxed);
  dropouts_.store(0, std::memory_order_relaxed);

  const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
  const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
  if (info == nullptr || info->maxOutputChannels < kChannels) {
    throw TError(kNoDevice);
  }
  PaStreamParameters params{};
  params.device = device;
  params.channelCount = kChannels;
  params.sampleFormat = paFloat32;
  params.suggestedLatency = std::max(info->defaultLowOutputLatency, kOutputLatencySeconds);
  // Most sound servers and interfaces run at 48 kHz: no resampling on the
  // way where the device takes it.
  const double rate = TakesRate(params, kPreferredRate) ? kPreferredRate : info->defaultSampleRate;

  // The callback is not called before the stream starts, so the mixer can
  // be made after opening, once the real latency is known.
  unsigned long frames = kPreferredFrames;
  deviceIndex_ = device;
  suggestedLatency_ = params.suggestedLatency;
  rate_ = rate;
  PaStream* stream = OpenStream(frames);
  if (stream == nullptr) {
    frames = paFramesPerBufferUnspecified;
    stream = OpenStream(frames);
    if (stream == nullptr) {
      throw TError(kNoDevice);
    }
  }
  stream_ = stream;

  const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
  outputLatency_ = streamInfo != nullptr ? streamInfo->outputLatency : params.suggestedLatency;
  sampleRate_ = static_cast<int>(std::lround(rate));
  framesPerBuffer_ = static_cast<int>(frames);
  streamFrames_ = frames;
  // A host that picks its own buffer size is assumed to pick one about as
  // long as its latency.
  const double bufferSeconds = frames != 0 ? static_cast<double>(frames) / rate : outputLatency_;

  mixer_ = std::make_unique<TMixer>(sampleRate_);
  mixer_->SetRenderLead(std::chrono::nanoseconds(
      std::llround(RenderLeadSeconds(outputLatency_, bufferSeconds) * 1e9)));
  mixer_->SetWakeHandler([this] { Resume(); });
  fallbackAheadNs_ = outputLatency_ * 1e9;
  dropoutWatch_ = TDropoutWatch(rate);

  // The host's thread keeps the priority the host gives it. Raising it
  // above the sound client's own threads was measured to make the output
  // run dry far more often (the thread that carries the audio to the
  // server then waits behind it).
  if (Pa_StartStream(stream) != paNoError) {
    throw TError(kNoStart);
  }
  pauser_ = std::jthread([this](const std::stop_token& stop) { PauseWhenIdle(stop); });
}

PaStream* TAudioDevice::OpenStream(unsigned long frames) {
  // The first blocks of a started stream come from the mixer, not
  // silence, so a click asked for while it starts is heard at once.
  PaStream* stream = nullptr;
  PaStreamParameters params{};
  params.device = deviceIndex_;
  params.channelCount = kChannels;
  params.sampleFormat = paFloat32;
  params.suggestedLatency = suggestedLatency_;
  if (Pa_OpenStream(&stream, nullptr, &params, rate_, frames,
                    paPrimeOutputBuffersUsingStreamCallback, Render, this) != paNoError) {
    return nullptr;
  }
  return stream;
}

void TAudioDevice::PauseWhenIdle(const std::stop_token& stop) {
  // Nothing notifies this wait; it only ends early for a stop.
  std::mutex mutex;
  std::condition_variable_any never;
  auto idleFor = std::chrono::steady_clock::duration::zero();
  std::uint64_t activity = mixer_->Activity();
  for (;;) {
    {
      std::unique_lock lock(mutex);
      never.wait_for(lock, stop, kIdleCheck, [] { return false; });
    }
    if (stop.stop_requested()) {
      return;
    }
    // Idle all along since the last look, not only at this moment.
    const std::uint64_t now = mixer_->Activity();
    const bool active = now != activity;
    activity = now;
    if (paused_.load() || active || !mixer_->Idle()) {
      idleFor = {};
      continue;
    }
    idleFor += kIdleCheck;
    if (idleFor < kIdleBeforePause) {
      continue;
    }
    std::lock_guard lock(pauseMutex_);
    // Paused first, then looked for waiting starts; a start posts first,
    // then looks at the pause: one of the two sees the other.
    mixer_->SetPaused(true);
    if (!mixer_->Idle()) {
      mixer_->SetPaused(false);
      continue;
    }
    // Closed, not only stopped: a stream started again after a stop was
    // measured to queue more than before (the sound server grows its
    // buffer), and each tap then came later.
    Pa_AbortStream(stream_);
    Pa_CloseStream(stream_);
    stream_ = nullptr;
    paused_.store(true);
    idleFor = {};
  }
}

void TAudioDevice::Resume() noexcept {
  std::lock_guard lock(pauseMutex_);
  if (!paused_.load()) {
    return;
  }
  const std::uint64_t blocksBefore = mixer_->BlocksRendered();
  PaStream* stream = OpenStream(streamFrames_);
  if (stream == nullptr) {
    return;  // stays paused; the next start tries again
  }
  // The callback is not running yet: what it keeps may be reset.
  dropoutWatch_ = TDropoutWatch(rate_);
  if (Pa_StartStream(stream) != paNoError) {
    Pa_CloseStream(stream);
    return;
  }
  stream_ = stream;
  paused_.store(false);
  mixer_->SetPaused(false);
  // Frames and their times are known again once the first block is
  // rendered; until then the scheduler would place its first beat on
  // stale figures. A brief wait, once per restart.
  const auto giveUp = std::chrono::steady_clock::now() + kFirstBlockWait;
  while (mixer_->BlocksRendered() == blocksBefore && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void TAudioDevice::Close() noexcept {
  pauser_ = {};  // stops and joins the pause thread
  if (stream_ != nullptr) {
    Pa_StopStream(stream_);
    Pa_CloseStream(stream_);
    stream_ = nullptr;
  }
  // Only now is the callback certain never to run again.
  mixer_.reset();
  if (initialised_) {
    Pa_Terminate();
    initialised_ = false;
  }
  sampleRate_ = 0;
  framesPerBuffer_ = 0;
  outputLatency_ = 0.0;
  fallbackAheadNs_ = 0.0;
  paused_.store(false);
}

}  // namespace zelmora
