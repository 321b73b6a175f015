#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "core/listeners.h"
#include "core/metronome_view.h"
#include "core/scope.h"
#include "core/ticker.h"
#include "core/transport.h"

namespace zelmora {

class TConfig;

// Starts and stops the tick scheduler. Every start/stop control calls
// StartStop. A stop asks the running ticker to end and does not wait for
// it: nothing the ticker handed to the output sounds any more unless it has
// begun to, and a new run may already play while the old thread ends.
// Shutdown must run before the voices are released: it ends and joins
// every ticker, and no hand-over can keep it waiting.
class TMetronome {
 public:
  // Thread: ui
  TMetronome(TConfig& config, TTransport& transport, TBeatOutput& output, TTickerTime& time,
             TBeatHandOver& handOver);
  ~TMetronome();  // shuts down
  TMetronome(const TMetronome&) = delete;
  TMetronome& operator=(const TMetronome&) = delete;

  // Thread: ui
  TScope AddView(TMetronomeView& view) { return views_.Add(view); }

  // Thread: ui
  void StartStop();
  // "Restart bar": the next beat is the bar's first, running or not.
  void RestartBar();
  // The main window is being hidden: a running metronome stops.
  void StopForHide();
  // Program end: stops and joins every ticker.
  void Shutdown();

  // Thread: any
  bool Running() const { return transport_.Running.load(); }

  // Runs `change` (setters of the settings object) where the next bar
  // begins: while running, just after the bar's last beat has gone to the
  // output, so that the beats from the next bar's first on are played with
  // it; at once when stopped, and at the latest when the metronome stops.
  // A later change replaces one still waiting. It is a new setup: the tempo
  // it sets counts as no tempo set by hand, and a speed trainer in it starts
  // from its start tempo at that bar.
  // Thread: ui
  void ChangeAtNextBar(std::function<void()> change);
  // Thread: any
  bool BarChangeWaiting() const { return barChangeWaiting_.load(std::memory_order_acquire); }
  // For the ticker's SyncBeat.
  // Thread: ui
  void RunBarChange();

  // For the ticker's SyncBeat: shows the beat, applies the speed trainer's
  // tempo (unless a tempo has been set by hand since its bar began) and
  // stops a run that has reached its end.
  // Thread: ui
  bool IsCurrent(const TTicker& ticker) const { return current_ == &ticker; }
  void ShowBeat(const TBeatShow& beat);

 private:
  void Start();
  void Stop();
  void ReapFinished();

  TConfig& config_;
  TTransport& transport_;
  TBeatOutput& output_;
  TTickerTime& time_;
  TBeatHandOver& handOver_;
  TListeners<TMetronomeView> views_;
  std::function<void()> barChange_;
  std::atomic<bool> barChangeWaiting_{false};
  TTicker* current_ = nullptr;
  std::vector<std::unique_ptr<TTicker>> tickers_;  // the current one and those finishing
};

}  // namespace zelmora
