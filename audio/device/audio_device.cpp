#include "audio/device/audio_device.h"

#include <portaudio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "audio/device/host_time.h"
#include "audio/device/sound_library.h"
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
// How often the keeper looks at a running stream, and how often it renders
// in place of a lost one (well within the render lead).
constexpr auto kWatchTick = std::chrono::milliseconds(100);
constexpr auto kStandInTick = std::chrono::milliseconds(10);
constexpr int kStandInFrames = 512;
// How long a wake-up waits for the first block of the restarted output.
constexpr auto kFirstBlockWait = std::chrono::milliseconds(500);
// The one JACK output (our own client, connected to the system's playback
// ports), beside PortAudio's device indices; the name PortAudio gives the
// same output.
constexpr int kJackDevice = -2;
constexpr char kJackHostName[] = "JACK Audio Connection Kit";
constexpr char kJackDeviceName[] = "system";

bool TakesRate(const PaStreamParameters& params, double rate) {
  return Pa_IsFormatSupported(nullptr, &params, rate) == paFormatIsSupported;
}

double SteadyNs(std::chrono::steady_clock::time_point time) {
  return static_cast<double>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
}

}  // namespace

double RenderLeadSeconds(double outputLatencySeconds, double bufferSeconds) {
  return outputLatencySeconds + bufferSeconds;
}

int TAudioDevice::Render(const void* /*input*/, void* output, unsigned long frames,
                         const PaStreamCallbackTimeInfo* time, unsigned long status,
                         void* self) noexcept {
  auto* device = static_cast<TAudioDevice*>(self);
  const TDacTime firstFrame =
      DacTimeNs(time->outputBufferDacTime, time->currentTime, device->fallbackAheadNs_);
  RenderBlock(device, static_cast<float*>(output), frames, firstFrame,
              (status & paOutputUnderflow) != 0);
  return paContinue;
}

void TAudioDevice::RenderBlock(void* self, float* out, unsigned long frames,
                               const TDacTime& firstFrame, bool underflow) noexcept {
  auto* device = static_cast<TAudioDevice*>(self);
  if (underflow) {
    device->underflows_.fetch_add(1, std::memory_order_relaxed);
  }
  const bool ranDry = device->dropoutWatch_.RanDry(firstFrame, underflow, frames);
  if (ranDry) {
    device->dropouts_.fetch_add(1, std::memory_order_relaxed);
  }
  if (device->padFrames_ > 0) {
    // The first blocks of a stream that takes over: silence, not counted.
    std::fill_n(out, 2 * frames, 0.0F);
    device->padFrames_ -= static_cast<long>(frames);
    return;
  }
  device->mixer_->Render(out, static_cast<int>(frames), firstFrame.Ns, firstFrame.NowNs,
                         ranDry || !firstFrame.Measured);
}

TAudioDevice::~TAudioDevice() {
  Close();
}

void TAudioDevice::ChooseOutput(const std::string& name) {
  {
    std::lock_guard lock(requestMutex_);
    if (chosen_ == name) {
      return;
    }
    chosen_ = name;
    choiceChanged_ = true;
  }
  keeperWake_.notify_all();
}

std::vector<std::string> TAudioDevice::OutputNames() const {
  std::lock_guard lock(requestMutex_);
  return names_;
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

void TAudioDevice::FindOutputs() {
  found_.clear();
  const int count = std::max(Pa_GetDeviceCount(), 0);
  for (int index = 0; index < count; ++index) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
    const PaHostApiInfo* host = info != nullptr ? Pa_GetHostApiInfo(info->hostApi) : nullptr;
    // PortAudio's own JACK outputs are not offered: see TJackOutput.
    if (host != nullptr && host->type != paJACK && info->maxOutputChannels >= kChannels) {
      found_.push_back({OutputName(host->name, info->name), index});
    }
  }
  jackRate_ = TJackOutput::ServerRate();
  if (jackRate_ > 0) {
    found_.push_back({OutputName(kJackHostName, kJackDeviceName), kJackDevice});
  }
  std::vector<std::string> names;
  names.reserve(found_.size());
  for (const TFoundOutput& output : found_) {
    names.push_back(output.Name);
  }
  std::lock_guard lock(requestMutex_);
  names_ = std::move(names);
}

int TAudioDevice::ChosenIndex() const {
  std::string chosen;
  {
    std::lock_guard lock(requestMutex_);
    chosen = chosen_;
  }
  return PickOutput(found_, chosen, Pa_GetDefaultOutputDevice());
}

bool TAudioDevice::Prepare(int device, double rate) {
  if (device == kJackDevice) {
    // At the server's rate, or not at all.
    if (jackRate_ == 0 || (rate != 0.0 && rate != jackRate_)) {
      return false;
    }
    deviceIndex_ = device;
    suggestedLatency_ = 0.0;
    rate_ = jackRate_;
    return true;
  }
  const PaDeviceInfo* info = device < 0 ? nullptr : Pa_GetDeviceInfo(device);
  if (info == nullptr || info->maxOutputChannels < kChannels) {
    return false;
  }
  PaStreamParameters params{};
  params.device = device;
  params.channelCount = kChannels;
  params.sampleFormat = paFloat32;
  params.suggestedLatency = std::max(info->defaultLowOutputLatency, kOutputLatencySeconds);
  if (rate == 0.0) {
    // Most sound servers and interfaces run at 48 kHz: no resampling on
    // the way where the device takes it.
    rate = TakesRate(params, kPreferredRate) ? kPreferredRate : info->defaultSampleRate;
  } else if (!TakesRate(params, rate)) {
    return false;  // the voices are made for the mixer's rate
  }
  deviceIndex_ = device;
  suggestedLatency_ = params.suggestedLatency;
  rate_ = rate;
  return true;
}

void TAudioDevice::OpenOrThrow() {
  if (!StartSoundLibrary()) {
    throw TError(kNoDevice);
  }
  initialised_ = true;
  underflows_.store(0, std::memory_order_relaxed);
  dropouts_.store(0, std::memory_order_relaxed);
  FindOutputs();
  {
    std::lock_guard lock(requestMutex_);
    choiceChanged_ = false;  // this open follows the choice
  }

  // The chosen output, else the default. The callback is not called
  // before the stream starts, so the mixer can be made after opening, once
  // the real latency is known.
  bool opened = false;
  for (const int device : {ChosenIndex(), static_cast<int>(Pa_GetDefaultOutputDevice())}) {
    opened = opened || (Prepare(device, 0.0) && OpenPrepared());
  }
  if (!opened) {
    throw TError(kNoDevice);
  }
  sampleRate_ = static_cast<int>(std::lround(rate_));
  mixer_ = std::make_unique<TMixer>(sampleRate_);
  SetLeadFor();
  mixer_->SetWakeHandler([this] { Resume(); });
  dropoutWatch_ = TDropoutWatch(rate_);
  standInBlock_.assign(2 * std::size_t{kStandInFrames}, 0.0F);

  // The host's thread keeps the priority the host gives it. Raising it
  // above the sound client's own threads was measured to make the output
  // run dry far more often (the thread that carries the audio to the
  // server then waits behind it).
  if (!StartPrepared()) {
    throw TError(kNoStart);
  }
  watch_.Started(Clock::now(), mixer_->BlocksRendered());
  keeper_ = std::jthread([this](const std::stop_token& stop) { Keep(stop); });
}

void TAudioDevice::SetLeadFor() {
  if (jack_) {
    framesPerBuffer_ = static_cast<int>(std::lround(jack_->PeriodSeconds() * rate_));
    FollowJackLatency();
    return;
  }
  const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream_);
  outputLatency_ = streamInfo != nullptr ? streamInfo->outputLatency : suggestedLatency_;
  framesPerBuffer_ = static_cast<int>(streamFrames_);
  // A host that picks its own buffer size is assumed to pick one about as
  // long as its latency.
  const double bufferSeconds =
      streamFrames_ != 0 ? static_cast<double>(streamFrames_) / rate_ : outputLatency_.load();
  mixer_->SetRenderLead(std::chrono::nanoseconds(
      std::llround(RenderLeadSeconds(outputLatency_, bufferSeconds) * 1e9)));
  fallbackAheadNs_ = outputLatency_ * 1e9;
}

void TAudioDevice::FollowJackLatency() {
  // Known only once the server has worked it out for the new connections,
  // a little after the start; the keeper looks again.
  outputLatency_ = jack_->OutputLatencySeconds();
  mixer_->SetRenderLead(std::chrono::nanoseconds(
      std::llround(RenderLeadSeconds(outputLatency_, jack_->PeriodSeconds()) * 1e9)));
}

bool TAudioDevice::OpenPrepared() {
  if (deviceIndex_ == kJackDevice) {
    jack_ = TJackOutput::Open(&TAudioDevice::RenderBlock, this);
    if (jack_ && jack_->SampleRate() != static_cast<int>(std::lround(rate_))) {
      jack_.reset();  // the server was restarted at another rate
    }
    return jack_ != nullptr;
  }
  unsigned long frames = kPreferredFrames;
  PaStream* stream = OpenStream(frames);
  if (stream == nullptr) {
    frames = paFramesPerBufferUnspecified;
    stream = OpenStream(frames);
  }
  stream_ = stream;
  streamFrames_ = frames;
  return stream != nullptr;
}

bool TAudioDevice::StartPrepared() {
  const bool started = jack_ ? jack_->Start() : Pa_StartStream(stream_) == paNoError;
  if (!started) {
    CloseStream(false);
  }
  return started;
}

bool TAudioDevice::StreamActive() const {
  return jack_ ? jack_->Active() : Pa_IsStreamActive(stream_) == 1;
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

bool TAudioDevice::StartOn(int device, Clock::time_point now, bool takeOver) {
  if (!Prepare(device, rate_) || !OpenPrepared()) {
    return false;
  }
  // Nothing renders now: what the callback keeps may be reset.
  SetLeadFor();
  // A stream that takes over from another (or from the stand-in) fills
  // its whole buffer at once as it starts, with frames the scheduler may
  // not have handed over yet: those blocks are silence and the frame count
  // starts after them. A lost output's stand-in renders up to the moment
  // they will have played, so the new stream goes on where the clock says
  // the beats are, not where the stand-in stopped while the library
  // started and the stream opened.
  padFrames_ = takeOver ? static_cast<long>(std::llround(
                              static_cast<double>(mixer_->RenderLead().count()) * 1e-9 * rate_))
                        : 0;
  if (lost_.load()) {
    RenderStandIn(Clock::now() + mixer_->RenderLead());
    mixer_->Hush();
  }
  dropoutWatch_ = TDropoutWatch(rate_);
  mixer_->RestartClock();
  if (!StartPrepared()) {
    return false;
  }
  watch_.Started(now, mixer_->BlocksRendered());
  return true;
}

void TAudioDevice::CloseStream(bool drain) noexcept {
  jack_.reset();  // a JACK period plays out by itself
  if (stream_ == nullptr) {
    return;
  }
  // Stopping lets the queued blocks play out; a failed stream is aborted.
  if (drain) {
    Pa_StopStream(stream_);
  } else {
    Pa_AbortStream(stream_);
  }
  Pa_CloseStream(stream_);
  stream_ = nullptr;
}

void TAudioDevice::Keep(const std::stop_token& stop) {
  auto idleFor = Clock::duration::zero();
  std::uint64_t activity = mixer_->Activity();
  auto nextIdleLook = Clock::now() + kIdleCheck;
  for (;;) {
    bool moveAsked = false;
    {
      std::unique_lock lock(requestMutex_);
      keeperWake_.wait_for(lock, stop, lost_.load() ? kStandInTick : kWatchTick,
                           [this] { return choiceChanged_; });
      moveAsked = std::exchange(choiceChanged_, false);
    }
    if (stop.stop_requested()) {
      return;
    }
    std::lock_guard lock(mutex_);
    const auto now = Clock::now();
    if (moveAsked) {
      MoveToChosen(now);
    }
    if (lost_.load()) {
      RenderStandIn(now);
      if (watch_.RetryDue(now)) {
        Reopen();
      }
      continue;
    }
    if ((stream_ != nullptr || jack_) &&
        watch_.Failed(now, mixer_->BlocksRendered(), StreamActive())) {
      Lose(now);
      continue;
    }
    if (jack_ && jack_->OutputLatencySeconds() != outputLatency_) {
      FollowJackLatency();
    }
    if (now >= nextIdleLook) {
      nextIdleLook = now + kIdleCheck;
      PauseWhenIdle(idleFor, activity);
    }
  }
}

void TAudioDevice::PauseWhenIdle(Clock::duration& idleFor, std::uint64_t& activity) {
  // Idle all along since the last look, not only at this moment.
  const std::uint64_t now = mixer_->Activity();
  const bool active = now != activity;
  activity = now;
  // A JACK client stays: closing it would drop its ports from the graph,
  // and with them any connections the musician made in a patchbay.
  if (paused_.load() || active || !mixer_->Idle() || jack_) {
    idleFor = {};
    return;
  }
  idleFor += kIdleCheck;
  if (idleFor < kIdleBeforePause) {
    return;
  }
  // Paused first, then looked for waiting starts; a start posts first,
  // then looks at the pause: one of the two sees the other.
  mixer_->SetPaused(true);
  if (!mixer_->Idle()) {
    mixer_->SetPaused(false);
    return;
  }
  // Closed, not only stopped: a stream started again after a stop was
  // measured to queue more than before (the sound server grows its
  // buffer), and each tap then came later.
  CloseStream(false);
  paused_.store(true);
  idleFor = {};
}

void TAudioDevice::MoveToChosen(Clock::time_point now) {
  const int device = ChosenIndex();
  if (lost_.load()) {
    watch_.RetryNow();
    return;
  }
  if (paused_.load()) {
    // The next wake-up opens it.
    if (!Prepare(device, rate_)) {
      Prepare(Pa_GetDefaultOutputDevice(), rate_);
    }
    return;
  }
  if (device == deviceIndex_) {
    return;
  }
  // The mixer's frame count goes on across the two streams: the beats
  // keep their frames, heard that much later as the move takes.
  CloseStream(true);
  if (!StartOn(device, now, true) && !StartOn(Pa_GetDefaultOutputDevice(), now, true)) {
    Lose(now);
  }
}

void TAudioDevice::Lose(Clock::time_point now) {
  CloseStream(false);
  lost_.store(true);
  if (watch_.Lost(now) && lossHandler_) {
    lossHandler_();
  }
}

void TAudioDevice::Reopen() {
  // Only a fresh start of the sound library finds a server that has come
  // back or a device plugged in again; no stream is open now.
  if (initialised_) {
    Pa_Terminate();
    initialised_ = false;
  }
  if (!StartSoundLibrary()) {
    return;
  }
  initialised_ = true;
  FindOutputs();
  const auto opened = Clock::now();
  if (StartOn(ChosenIndex(), opened, true) || StartOn(Pa_GetDefaultOutputDevice(), opened, true)) {
    lost_.store(false);
  }
}

void TAudioDevice::RenderStandIn(Clock::time_point now) {
  // The frames heard by now, by the clock's own estimate, so that it stays
  // as it was and the scheduler goes on in time. Not ahead by the render
  // lead as an output renders: a stream started next primes its whole
  // buffer at once and its first frame is heard almost at once, so the
  // first frame it gets must be the one due now.
  const double nowNs = SteadyNs(now);
  const double nsPerFrame = 1e9 / rate_;
  if (mixer_->BlocksRendered() == 0) {
    return;  // no estimate to follow (an output that never ran)
  }
  for (;;) {
    const std::int64_t next = mixer_->NextBlockFrame();
    const double heardNs = SteadyNs(mixer_->HeardAt(next));
    const auto due = static_cast<std::int64_t>((nowNs - heardNs) / nsPerFrame);
    if (due <= 0) {
      return;
    }
    const int frames = static_cast<int>(std::min<std::int64_t>(due, kStandInFrames));
    mixer_->Render(standInBlock_.data(), frames, heardNs, nowNs);
  }
}

void TAudioDevice::Resume() noexcept {
  if (!paused_.load()) {
    return;  // a lost output's keeper may hold the lock for a while
  }
  std::lock_guard lock(mutex_);
  if (!paused_.load()) {
    return;
  }
  const std::uint64_t blocksBefore = mixer_->BlocksRendered();
  const auto now = Clock::now();
  paused_.store(false);
  mixer_->SetPaused(false);
  if (!StartOn(deviceIndex_, now, false)) {
    Lose(now);  // the keeper renders in its place and tries again
    return;
  }
  // Frames and their times are known again once the first block is
  // rendered; until then the scheduler would place its first beat on
  // stale figures. A brief wait, once per restart.
  const auto giveUp = Clock::now() + kFirstBlockWait;
  while (mixer_->BlocksRendered() == blocksBefore && Clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void TAudioDevice::Close() noexcept {
  keeper_ = {};  // stops and joins the keeper
  CloseStream(true);
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
  rate_ = 0.0;
  streamFrames_ = 0;
  jackRate_ = 0;
  found_.clear();
  paused_.store(false);
  lost_.store(false);
}

}  // namespace zelmora
