#include "core/ticker_ports.h"

#include "core/wake_signal.h"

namespace zelmora {

TTickerTime::TimePoint TSteadyTickerTime::Now() {
  return std::chrono::steady_clock::now();
}

void TSteadyTickerTime::SleepUntil(TimePoint until, std::stop_token stop, TWakeSignal& wake,
                                   std::uint64_t seen) {
  wake.WaitUntil(until, std::move(stop), seen);
}

}  // namespace zelmora
