#pragma once

#include <chrono>
#include <cstdint>

namespace zelmora {

class TStopSignal;

enum class TVoiceRole { Accent, Regular, Bell };

// The beat voices as the tick scheduler uses them. Called on the scheduler
// thread; must never block and must accept every value (sums of levels are
// passed unclamped).
class TTickerVoices {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~TTickerVoices() = default;
  virtual void SetVoiceVolume(TVoiceRole voice, int volume) noexcept = 0;
  // Sounds the voice a constant latency after t0, the start of its beat.
  virtual void PlayVoiceAt(TVoiceRole voice, TimePoint t0) noexcept = 0;
};

// The scheduler's clock and waits; tests replace it with a simulated clock.
class TTickerTime {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~TTickerTime() = default;
  virtual TimePoint Now() = 0;
  // Sleeps `ms` milliseconds, or less when stop is requested.
  virtual void Sleep(std::int64_t ms, TStopSignal& stop) = 0;
  // Gives up the rest of the time slice.
  virtual void Yield() = 0;
};

// steady_clock, a sleep that a stop request cuts short, and a real yield.
class TSteadyTickerTime final : public TTickerTime {
 public:
  TimePoint Now() override;
  void Sleep(std::int64_t ms, TStopSignal& stop) override;
  void Yield() override;
};

class TTicker;

// Hands the per-beat update to the user-interface thread and blocks until
// it has run there. Called on the scheduler thread.
class TBeatHandOver {
 public:
  virtual ~TBeatHandOver() = default;
  // Runs ticker.SyncBeat(...) on the user-interface thread and waits for it.
  // Returns false, without waiting any longer, once `stop` is requested;
  // the update then either has run or never will.
  virtual bool HandOver(TTicker& ticker, TStopSignal& stop) = 0;
};

}  // namespace zelmora
