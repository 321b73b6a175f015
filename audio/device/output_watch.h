#pragma once

#include <chrono>
#include <cstdint>

namespace zelmora {

// Tells the output's keeper when a running stream has failed and when to
// try opening an output again. A stream has failed when the host says it
// is no longer active (the sound server went away, the device was
// unplugged) or when no block has been rendered for longer than the
// silence limit (callbacks stopped arriving without a word). While lost,
// an attempt is due at once and then once per retry interval. Only the
// first loss since the watch was made is to be told to the user: a server
// that keeps failing must not bring a flood of messages.
class TOutputWatch {
 public:
  using Clock = std::chrono::steady_clock;

  // Thread: control
  TOutputWatch(Clock::duration silenceLimit, Clock::duration retryEvery);

  // A stream has just been started; `blocks` is the mixer's count so far.
  // Its first block may take twice the silence limit.
  // Thread: control
  void Started(Clock::time_point now, std::uint64_t blocks);
  // Looks at the running stream; true once it has failed.
  // Thread: control
  bool Failed(Clock::time_point now, std::uint64_t blocks, bool active);
  // The output is lost. True the first time only: tell the user.
  // Thread: control
  bool Lost(Clock::time_point now);
  // Whether an attempt to open an output is due now; each true is an
  // attempt, and the next one is due a retry interval later.
  // Thread: control
  bool RetryDue(Clock::time_point now);
  // The next attempt is due at once (another output was chosen).
  // Thread: control
  void RetryNow();

 private:
  Clock::duration silenceLimit_;
  Clock::duration retryEvery_;
  std::uint64_t blocks_ = 0;
  Clock::time_point lastBlockAt_;
  Clock::time_point nextRetry_;
  bool told_ = false;
};

}  // namespace zelmora
