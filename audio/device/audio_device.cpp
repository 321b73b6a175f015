#include "audio/device/audio_device.h"

#include <portaudio.h>

#include <chrono>
#include <cmath>

#include "audio/device/host_time.h"
#include "core/error.h"

namespace zelmora {
namespace {

constexpr char kNoDevice[] = "Failed to create IDirectSound object";
constexpr char kNoStart[] = "Failed to set coop level";

constexpr int kChannels = 2;
constexpr unsigned long kPreferredFrames = 256;
// Headroom for scheduling delays in the mixer's latency.
constexpr double kSafetySeconds = 0.010;

}  // namespace

double VoiceLatencySeconds(double outputLatencySeconds, double bufferSeconds) {
  return outputLatencySeconds + 2.0 * bufferSeconds + kSafetySeconds;
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
  params.suggestedLatency = info->defaultLowOutputLatency;
  const double rate = info->defaultSampleRate;

  // The callback is not called before the stream starts, so the mixer can
  // be made after opening, once the real latency is known.
  unsigned long frames = kPreferredFrames;
  PaStream* stream = nullptr;
  if (Pa_OpenStream(&stream, nullptr, &params, rate, frames, paNoFlag, Render, this) != paNoError) {
    frames = paFramesPerBufferUnspecified;
    if (Pa_OpenStream(&stream, nullptr, &params, rate, frames, paNoFlag, Render, this) !=
        paNoError) {
      throw TError(kNoDevice);
    }
  }
  stream_ = stream;

  const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
  outputLatency_ = streamInfo != nullptr ? streamInfo->outputLatency : params.suggestedLatency;
  sampleRate_ = static_cast<int>(std::lround(rate));
  framesPerBuffer_ = static_cast<int>(frames);
  // A host that picks its own buffer size is assumed to pick one about as
  // long as its latency.
  const double bufferSeconds = frames != 0 ? static_cast<double>(frames) / rate : outputLatency_;

  mixer_ = std::make_unique<TMixer>(sampleRate_);
  mixer_->SetLatency(std::chrono::nanoseconds(
      std::llround(VoiceLatencySeconds(outputLatency_, bufferSeconds) * 1e9)));
  fallbackAheadNs_ = outputLatency_ * 1e9;
  dropoutWatch_ = TDropoutWatch(rate);

  // The host's thread keeps the priority the host gives it. Raising it
  // above the sound client's own threads was measured to make the output
  // run dry far more often (the thread that carries the audio to the
  // server then waits behind it).
  if (Pa_StartStream(stream) != paNoError) {
    throw TError(kNoStart);
  }
}

void TAudioDevice::Close() noexcept {
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
}

}  // namespace zelmora
