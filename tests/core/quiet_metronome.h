#pragma once

#include <chrono>
#include <stop_token>

#include "core/metronome.h"
#include "core/transport.h"
#include "tests/core/silent_output.h"

namespace zelmora::test {

// Never hands a beat over: what the windows show of a run, the test shows
// itself.
class TRefusingHandOver final : public TBeatHandOver {
 public:
  bool HandOver(TTicker&, const TBeatShow&, std::stop_token,
                std::chrono::steady_clock::time_point) override {
    return false;
  }
};

// A metronome on an output without sound: start and stop run for real, and
// no beat reaches the user-interface thread.
struct TQuietMetronome {
  explicit TQuietMetronome(TConfig& config)
      : metronome(config, transport, output, time, handOver) {}
  TTransport transport;
  TSilentOutput output;
  TSteadyTickerTime time;
  TRefusingHandOver handOver;
  TMetronome metronome;
};

}  // namespace zelmora::test
