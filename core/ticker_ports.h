#pragma once

#include <chrono>
#include <cstdint>
#include <stop_token>

#include "core/beat_show.h"
#include "core/voice_role.h"

namespace zelmora {

class TWakeSignal;

// The sound output as the tick scheduler plays it: a grid of output frames
// that the output renders some time before they are heard. None of its
// calls blocks, except Hold while a paused output starts.
class TBeatOutput {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~TBeatOutput() = default;

  // Frames per second of the output.
  // Thread: ticker
  virtual int FrameRate() const noexcept = 0;
  // The output is in use from Hold to Release: an output paused for being
  // idle runs again when Hold returns, and does not pause until Release.
  // Thread: ticker
  virtual void Hold() noexcept = 0;
  virtual void Release() noexcept = 0;
  // The earliest frame that a start handed over now can still sound on.
  // Thread: ticker
  virtual std::int64_t EarliestFrame() const noexcept = 0;
  // When `frame` reaches the listener.
  // Thread: ticker
  virtual TimePoint HeardAt(std::int64_t frame) const noexcept = 0;
  // How long before it is heard a frame may already be rendered: a start
  // must be handed over at least that much ahead.
  // Thread: ticker
  virtual std::chrono::nanoseconds RenderLead() const noexcept = 0;
  // Starts `voice` on `frame` at `level` (hundredths of a decibel, passed
  // unclamped). `tag` names the run for Cancel; a start of tag 0 is never
  // withdrawn (the bell that ends a run, heard after the run has stopped).
  // Thread: ticker
  virtual void PlayVoiceAtFrame(TVoiceRole voice, std::int64_t frame, int level,
                                std::uint64_t tag) noexcept = 0;
  // Withdraws every start of `tag` that has not begun to sound; runs on
  // whichever thread asks the run to stop.
  // Thread: ticker, ui
  virtual void Cancel(std::uint64_t tag) noexcept = 0;
};

// The scheduler's clock and its sleeps; tests replace it with a simulated
// clock.
class TTickerTime {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~TTickerTime() = default;
  // Thread: ticker
  virtual TimePoint Now() = 0;
  // Sleeps until `until`, or less: when stop is requested or `wake` has
  // been notified since its count was `seen`.
  // Thread: ticker
  virtual void SleepUntil(TimePoint until, std::stop_token stop, TWakeSignal& wake,
                          std::uint64_t seen) = 0;
};

// steady_clock and a plain sleep that a stop or a wake-up cuts short.
class TSteadyTickerTime final : public TTickerTime {
 public:
  // Thread: ticker
  TimePoint Now() override;
  void SleepUntil(TimePoint until, std::stop_token stop, TWakeSignal& wake,
                  std::uint64_t seen) override;
};

class TTicker;

// Hands a beat's display update to the user-interface thread and blocks
// until it has run there.
class TBeatHandOver {
 public:
  virtual ~TBeatHandOver() = default;
  // Runs ticker.SyncBeat(show) on the user-interface thread and waits
  // for it, until `deadline` at the latest. Returns false, without waiting
  // any longer, once stop is requested or the deadline has passed; the
  // update then either has run or never will.
  // Thread: ticker
  virtual bool HandOver(TTicker& ticker, const TBeatShow& show, std::stop_token stop,
                        std::chrono::steady_clock::time_point deadline) = 0;
};

}  // namespace zelmora
