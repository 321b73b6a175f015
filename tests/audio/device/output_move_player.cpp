// Plays clicks through the real output, counted in its frames, and moves
// the sound to another output a third of the way through and back to the
// system default two thirds of the way through, as a user would in
// Preferences while the metronome plays.
// Usage: output_move_player CLICKS INTERVAL_SECONDS SETTLE_SECONDS OUTPUT
// Exits with 77 when OUTPUT is not among the outputs found (printed), with
// 1 when the output cannot be opened or the mixer refused a click.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/beat_voice.h"
#include "audio/device/audio_device.h"
#include "core/config.h"
#include "core/error.h"
#include "tests/audio/device/output_listing.h"
#include "tests/support/click_sample.h"
#include "tests/support/click_schedule.h"

using namespace std::chrono_literals;

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s CLICKS INTERVAL_SECONDS SETTLE_SECONDS OUTPUT\n", argv[0]);
    return 2;
  }
  const int clicks = std::atoi(argv[1]);
  const double interval = std::atof(argv[2]);
  const double settle = std::atof(argv[3]);
  const std::string target = argv[4];

  zelmora::TAudioDevice device;
  try {
    device.Open();
  } catch (const zelmora::TError& e) {
    std::fprintf(stderr, "output_move_player: %s\n", e.what());
    return 1;
  }
  if (!zelmora::ListOutputsFinding(device, target)) {
    return 77;
  }
  zelmora::TMixer& mixer = *device.Mixer();
  mixer.SetVoiceSample(zelmora::SlotOf(zelmora::TVoiceRole::Accent),
                       zelmora::MakeClickSample(device.SampleRate()));

  const auto first = zelmora::TMixer::Clock::now() +
                     std::chrono::nanoseconds(static_cast<long long>(settle * 1e9));
  const auto third = std::chrono::nanoseconds(static_cast<long long>(clicks * interval / 3 * 1e9));
  // Between two clicks, as a user's choice comes at any moment.
  const auto offBeat = std::chrono::nanoseconds(static_cast<long long>(interval * 0.37 * 1e9));
  std::jthread mover([&device, &target, first, third, offBeat] {
    std::this_thread::sleep_until(first + third + offBeat);
    device.ChooseOutput(target);
    std::this_thread::sleep_until(first + 2 * third + offBeat);
    device.ChooseOutput(std::string(zelmora::TConfig::kDefaultOutput));
  });
  const int refused = zelmora::PlayClicks(mixer, zelmora::SlotOf(zelmora::TVoiceRole::Accent),
                                          first, interval, clicks);
  mover.join();
  std::this_thread::sleep_for(mixer.RenderLead() + 300ms);
  const auto dropped = mixer.DroppedStarts();
  device.Close();
  std::printf("clicks %d, refused %d, dropped %llu\n", clicks, refused,
              static_cast<unsigned long long>(dropped));
  return refused == 0 && dropped == 0 ? 0 : 1;
}
