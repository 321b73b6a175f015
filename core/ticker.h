#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "core/stop_signal.h"
#include "core/ticker_ports.h"

namespace zelmora {

class TConfig;
class TMetronome;

// One run of the beat loop on a thread of its own. Each pass: set the three
// voice levels, play what the pattern asks for at this position (sounding a
// constant latency after the beat's start t0), hand the beat to the
// user-interface thread and wait for it, then wait out the beat period: a
// sleep over 90 % of what is left, then a yielding poll of the clock. The
// next beat starts when this one is due to end (give or take nothing), so
// a poll that notices a little late does not put the beat, or the tempo,
// out. The settings are read afresh every beat, so changes act from the
// next beat on.
//
// Threads: constructed, stopped and joined by the user-interface thread
// (through TMetronome); the loop runs on its own thread; SyncBeat runs on
// the user-interface thread during the hand-over.
class TTicker {
 public:
  struct TPorts {
    TConfig& config;
    std::atomic<std::uint8_t>& beatIndex;
    TTickerVoices& voices;
    TTickerTime& time;
    TBeatHandOver& handOver;
  };

  TTicker(TMetronome& metronome, TPorts ports);
  ~TTicker();  // requests stop and joins
  TTicker(const TTicker&) = delete;
  TTicker& operator=(const TTicker&) = delete;

  // Starts the thread (at raised priority where the platform allows).
  void Start();
  // Asks the loop to end; it plays nothing more. Does not wait.
  void RequestStop() { stop_.Request(); }
  bool StopRequested() const { return stop_.Requested(); }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  void Join();

  // Runs the loop on the calling thread until stop is requested (used by
  // tests with a simulated clock and a direct hand-over).
  void RunLoop();

  // User-interface thread, during the hand-over: shows the beat just played
  // and moves the beat index on, unless this ticker has been stopped or the
  // index was changed (restart, shorter bar) since the beat was played.
  void SyncBeat();

 private:
  void PlayBeat(std::chrono::steady_clock::time_point t0);
  // Waits out the beat that started at t0; returns the next beat's start.
  std::chrono::steady_clock::time_point WaitOutBeat(std::chrono::steady_clock::time_point t0);

  // How late a poll may notice the end of a beat for the next beat to start
  // on time all the same; well inside the output's latency, so the beat's
  // sound is still placed exactly.
  static constexpr std::chrono::milliseconds kOnTimeTolerance{5};

  TMetronome& metronome_;
  TPorts ports_;
  TStopSignal stop_;
  std::atomic<bool> finished_{false};
  std::thread thread_;
  // The beat being handed over: where it was played and the index read.
  int playedPosition_ = 1;
  std::uint8_t indexAtBeat_ = 1;
};

// The coarse wait of a beat: 90 % of the remaining seconds, in whole
// milliseconds, rounded half to even; nothing when no time remains.
std::int64_t CoarseSleepMs(double remainingSeconds);

}  // namespace zelmora
