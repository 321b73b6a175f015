#include "audio/device/output_watch.h"

namespace zelmora {

TOutputWatch::TOutputWatch(Clock::duration silenceLimit, Clock::duration retryEvery)
    : silenceLimit_(silenceLimit), retryEvery_(retryEvery) {}

void TOutputWatch::Started(Clock::time_point now, std::uint64_t blocks) {
  blocks_ = blocks;
  // A stream's first blocks may take longer than the later ones: a sound
  // server wakes its sink.
  lastBlockAt_ = now + silenceLimit_;
}

bool TOutputWatch::Failed(Clock::time_point now, std::uint64_t blocks, bool active) {
  if (blocks != blocks_) {
    blocks_ = blocks;
    lastBlockAt_ = now;
  }
  return !active || now - lastBlockAt_ > silenceLimit_;
}

bool TOutputWatch::Lost(Clock::time_point now) {
  nextRetry_ = now;
  const bool tell = !told_;
  told_ = true;
  return tell;
}

bool TOutputWatch::RetryDue(Clock::time_point now) {
  if (now < nextRetry_) {
    return false;
  }
  nextRetry_ = now + retryEvery_;
  return true;
}

void TOutputWatch::RetryNow() {
  nextRetry_ = Clock::time_point::min();
}

}  // namespace zelmora
