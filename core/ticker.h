#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <stop_token>
#include <thread>

#include "core/ticker_ports.h"

namespace zelmora {

class TConfig;
class TMetronome;

// One run of the beat loop on a thread of its own. Every beat lives on the
// output's frame grid: the next beat's frame is this one's plus 60 / Tempo
// times the output's frame rate, the fraction of a frame carried on, so
// every interval is exact in the output whatever its blocks, its callbacks
// or its timing reports do.
//
// What each pass does, in order, and how a stop, a tempo change and
// "Restart bar" cut its waits short: docs/design.md, "Beats on the
// output's frame grid". Tempo, pattern, levels and bell are read afresh
// every beat.
class TTicker {
 public:
  struct TPorts {
    TConfig& config;
    std::atomic<std::uint8_t>& beatIndex;
    TBeatOutput& output;
    TTickerTime& time;
    TBeatHandOver& handOver;
  };

  // Thread: ui (through TMetronome)
  TTicker(TMetronome& metronome, TPorts ports);
  ~TTicker();  // requests stop and joins
  TTicker(const TTicker&) = delete;
  TTicker& operator=(const TTicker&) = delete;

  // Starts the thread (at raised priority where the platform allows).
  // Thread: ui
  void Start();
  // Asks the loop to end. Nothing of this run sounds any more that has not
  // begun to sound; does not wait. The run's starts are withdrawn on the
  // calling thread (TBeatOutput::Cancel).
  // Thread: ui, ticker
  void RequestStop();
  // Thread: any
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // Thread: ui
  void Join();

  // Runs the loop on the calling thread, which is thereby the ticker
  // thread, until `stop` is requested (tests run it with a simulated clock
  // and a direct hand-over).
  // Thread: ticker
  void RunLoop(const std::stop_token& stop);

  // During the hand-over: shows the beat at `position`, unless this ticker
  // has been stopped meanwhile.
  // Thread: ui
  void SyncBeat(int position);

  // How long a flash takes from the hand-over to the screen; the hand-over
  // comes that much before the beat is heard.
  static constexpr std::chrono::microseconds kDisplayDelay{1500};
  // How late a wake-up may come without making a beat late: each beat is
  // handed to the output this much before the output may render it.
  static constexpr std::chrono::milliseconds kWakeTolerance{50};

 private:
  struct TBeat {
    std::int64_t frame = 0;
    // The fraction of a frame carried to the next beat, exactly:
    // carried / per (per being the tempo it was worked out at).
    std::int64_t carried = 0;
    std::int64_t per = 1;
  };
  struct TShow {
    std::int64_t frame;
    int position;
  };

  // The levels and the voices of the beat on `frame`; returns the position
  // played.
  int PlayBeat(std::int64_t frame);
  void AdvanceIndex(int playedPosition);
  // The next beat after `beat` at the tempo now, no earlier than the
  // output can still take it.
  TBeat NextBeat(const TBeat& beat) const;
  TTickerTime::TimePoint HandOverTime(std::int64_t frame) const;
  TTickerTime::TimePoint ShowTime(std::int64_t frame) const;
  // Serves the display updates falling due and advances the index, until
  // it is time to hand `next` (recomputed on every wake-up) to the output.
  // Returns false when stopped.
  bool WaitForTurn(const TBeat& beat, TBeat& next, int playedPosition, const std::stop_token& stop);

  TMetronome& metronome_;
  TPorts ports_;
  const std::uint64_t tag_;
  std::atomic<bool> finished_{false};
  // Its own stop source, not the thread's: a stop may be asked for (from
  // the loop itself, in tests) before the thread object has been stored.
  std::stop_source stop_;
  std::jthread thread_;
  // The display updates handed to the output but not yet shown, oldest
  // first (a beat is shown at most a few hundred ms after it is played).
  std::array<TShow, 8> shows_{};
  int showCount_ = 0;
  std::uint8_t indexAtBeat_ = 1;
};

}  // namespace zelmora
