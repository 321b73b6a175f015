#include "core/ticker.h"

#include <algorithm>
#include <cmath>

#include "core/beat_pattern.h"
#include "core/config.h"
#include "core/metronome.h"
#include "core/thread_priority.h"

namespace zelmora {
namespace {

double BeatSeconds(const TConfig& config) {
  // Before the settings are loaded the tempo is 0; never divide by it.
  return 60.0 / std::max(config.Tempo.load(std::memory_order_relaxed), TConfig::kMinTempo);
}

double SecondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
  return std::chrono::duration<double>(to - from).count();
}

}  // namespace

std::int64_t CoarseSleepMs(double remainingSeconds) {
  if (!(remainingSeconds > 0.0)) {
    return 0;
  }
  // nearbyint rounds half to even in the default rounding mode.
  return static_cast<std::int64_t>(std::nearbyint(remainingSeconds * 900.0));
}

TTicker::TTicker(TMetronome& metronome, TPorts ports) : metronome_(metronome), ports_(ports) {}

TTicker::~TTicker() {
  RequestStop();
  Join();
}

void TTicker::Start() {
  thread_ = std::thread([this] {
    RaiseCurrentThreadPriority();
    RunLoop();
  });
}

void TTicker::Join() {
  if (thread_.joinable()) {
    thread_.join();
  }
}

void TTicker::RunLoop() {
  if (stop_.Requested()) {
    finished_.store(true, std::memory_order_release);
    return;
  }
  auto t0 = ports_.time.Now();
  while (!stop_.Requested()) {
    PlayBeat(t0);
    if (!ports_.handOver.HandOver(*this, stop_)) {
      break;
    }
    t0 = WaitOutBeat(t0);
  }
  finished_.store(true, std::memory_order_release);
}

void TTicker::PlayBeat(std::chrono::steady_clock::time_point t0) {
  const TConfig& config = ports_.config;
  const int volume = config.Volume.load(std::memory_order_relaxed);
  ports_.voices.SetVoiceVolume(TVoiceRole::Bell,
                               volume + config.BellVolume.load(std::memory_order_relaxed));
  ports_.voices.SetVoiceVolume(TVoiceRole::Accent, volume);
  ports_.voices.SetVoiceVolume(TVoiceRole::Regular,
                               volume + config.VolumeRegularDif.load(std::memory_order_relaxed));

  const auto pattern = config.BeatPatternForPlayers();
  indexAtBeat_ = ports_.beatIndex.load(std::memory_order_acquire);
  // A bar shortened since the last beat starts over at its first beat.
  int position = indexAtBeat_;
  if (position < 1 || position > PlayableLength(*pattern)) {
    position = 1;
  }
  playedPosition_ = position;

  switch (VoiceAt(*pattern, position)) {
    case TBeatVoice::Accent:
      ports_.voices.PlayVoiceAt(TVoiceRole::Accent, t0);
      break;
    case TBeatVoice::Regular:
      ports_.voices.PlayVoiceAt(TVoiceRole::Regular, t0);
      break;
    case TBeatVoice::None:
      break;
  }
  if (config.Bell.load(std::memory_order_relaxed) && BellAt(*pattern, position)) {
    ports_.voices.PlayVoiceAt(TVoiceRole::Bell, t0);
  }
}

std::chrono::steady_clock::time_point TTicker::WaitOutBeat(
    std::chrono::steady_clock::time_point t0) {
  const double remaining = BeatSeconds(ports_.config) - SecondsBetween(t0, ports_.time.Now());
  const std::int64_t sleepMs = CoarseSleepMs(remaining);
  if (sleepMs > 0) {
    ports_.time.Sleep(sleepMs, stop_);
  }
  // The tempo is read at every check: a faster tempo ends the beat at once.
  std::chrono::steady_clock::time_point now;
  double period = 0.0;
  do {
    ports_.time.Yield();
    now = ports_.time.Now();
    period = BeatSeconds(ports_.config);
  } while (!stop_.Requested() && SecondsBetween(t0, now) < period);
  // The next beat starts when this one is due to end, not when the poll
  // noticed: a poll that woke a little late (the processor was busy) would
  // otherwise make that beat late and every later one too, and the tempo
  // slow by as much per beat. Only a beat that ends well past its time (the
  // tempo was raised during it, or its hand-over took longer than the
  // beat) starts when it is noticed; there is no catching up beyond that.
  const auto due = t0 + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                            std::chrono::duration<double>(period));
  return now - due <= kOnTimeTolerance ? due : now;
}

void TTicker::SyncBeat() {
  if (stop_.Requested() || !metronome_.IsCurrent(*this)) {
    return;
  }
  metronome_.ShowBeat(playedPosition_);
  // Only this beat's own index moves on; a restart or a shorter bar set by
  // the user since the beat was played stands.
  std::atomic<std::uint8_t>& index = ports_.beatIndex;
  if (index.load() == indexAtBeat_) {
    int next = playedPosition_ + 1;
    if (next > PlayableLength(ports_.config.BeatPattern)) {
      next = 1;
    }
    index.store(static_cast<std::uint8_t>(next));
  }
}

}  // namespace zelmora
