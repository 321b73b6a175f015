#include "tests/support/click_schedule.h"

#include <cmath>
#include <thread>

namespace zelmora {

int PlayClicks(TMixer& mixer, int slot, TMixer::Clock::time_point first, double intervalSeconds,
               int count) {
  const auto lead = mixer.RenderLead() + std::chrono::milliseconds(50);
  const double rate = mixer.SampleRate();
  std::this_thread::sleep_until(first - lead);
  // The earliest frame the mixer takes now is heard about RenderLead from
  // now; the first click comes the rest of the lead after it.
  const std::int64_t firstFrame = mixer.EarliestFrame() + std::llround(0.05 * rate);
  int refused = 0;
  for (int i = 0; i < count; ++i) {
    // Each frame from the first, so rounding does not add up.
    const std::int64_t frame = firstFrame + std::llround(i * intervalSeconds * rate);
    std::this_thread::sleep_until(mixer.HeardAt(frame) - lead);
    if (mixer.PlayVoiceAtFrame(slot, frame, 0, 1) != kSoundOk) {
      ++refused;
    }
  }
  return refused;
}

}  // namespace zelmora
