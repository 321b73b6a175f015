#include "core/ticker_ports.h"

#include <thread>

#include "core/stop_signal.h"

namespace zelmora {

TTickerTime::TimePoint TSteadyTickerTime::Now() {
  return std::chrono::steady_clock::now();
}

void TSteadyTickerTime::Sleep(std::int64_t ms, TStopSignal& stop) {
  stop.WaitFor(std::chrono::milliseconds(ms));
}

void TSteadyTickerTime::Yield() {
  std::this_thread::yield();
}

}  // namespace zelmora
