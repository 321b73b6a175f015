#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/control_binding.h"
#include "core/ticker.h"
#include "core/transport.h"

namespace zelmora {

class TConfig;

// What starting, stopping and each beat show in the windows, one binding
// each (see TBinding): the windows bind their widgets, tests bind fakes.
struct TMetronomeControls {
  // Beat panel.
  TBinding<std::uint32_t> LabelBeatColor;  // 0xRRGGBB of the beat mark
  TBinding<std::string> LabelBeatCaption;  // "l": the idle dot
  TBinding<std::string> lblBeatNumber;     // emptied on stop
  TBinding<int> ShowBeat;                  // written once per beat: the position played
  // Main window.
  TBinding<bool> sbtnStartStopDown;    // start button pressed (running)
  TBinding<bool> sTrackBarTempoFocus;  // writing true gives the fader the focus
  TBinding<bool> ShowHint;             // the main window's tooltips
  TBinding<bool> MainWindowVisible;
  TBinding<bool> lblBeatVisible;  // toggled on every beat
};

inline constexpr std::uint32_t kBeatMarkRunningColor = 0x70B94D;
inline constexpr std::uint32_t kBeatMarkIdleColor = 0x404040;

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

  TMetronomeControls Controls;

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

  // For the ticker's SyncBeat.
  // Thread: ui
  bool IsCurrent(const TTicker& ticker) const { return current_ == &ticker; }
  void ShowBeat(int position);

 private:
  void Start();
  void Stop();
  void ReapFinished();

  TConfig& config_;
  TTransport& transport_;
  TBeatOutput& output_;
  TTickerTime& time_;
  TBeatHandOver& handOver_;
  TTicker* current_ = nullptr;
  std::vector<std::unique_ptr<TTicker>> tickers_;  // the current one and those finishing
};

}  // namespace zelmora
