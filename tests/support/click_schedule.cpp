#include "tests/support/click_schedule.h"

#include <cmath>
#include <thread>

namespace zelmora {

int PlayClicks(TMixer& mixer, int slot, TMixer::Clock::time_point first, double intervalSeconds,
               int count, std::chrono::nanoseconds lead) {
  int refused = 0;
  for (int i = 0; i < count; ++i) {
    // Each time from the first, so rounding does not add up.
    const auto when = first + std::chrono::nanoseconds(std::llround(i * intervalSeconds * 1e9));
    std::this_thread::sleep_until(when - lead);
    if (mixer.PlayVoiceAt(slot, when) != kSoundOk) {
      ++refused;
    }
  }
  return refused;
}

}  // namespace zelmora
