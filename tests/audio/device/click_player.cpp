// Plays clicks through the real output on an exact steady_clock schedule.
// Usage: click_player CLICKS INTERVAL_SECONDS SETTLE_SECONDS [OUTPUT]
// OUTPUT names the output to play on, as the output list shows it; the
// system default without it. Exits with 3 when that output is not found.
// The output runs SETTLE_SECONDS before the first click, so that its clock
// has been followed for a while. Prints what the output was opened with,
// when the first click is due (seconds since 1970), and how often it
// underran or had to start a click late while the clicks played (a stalled machine: the output's
// timeline slips). Exits with 1 when the mixer refused a click.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "audio/beat_voice.h"
#include "audio/device/audio_device.h"
#include "core/error.h"
#include "tests/audio/device/output_listing.h"
#include "tests/support/click_sample.h"
#include "tests/support/click_schedule.h"

using namespace std::chrono_literals;

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: %s CLICKS INTERVAL_SECONDS SETTLE_SECONDS [OUTPUT]\n", argv[0]);
    return 2;
  }
  const int clicks = std::atoi(argv[1]);
  const double interval = std::atof(argv[2]);
  const double settle = std::atof(argv[3]);
  const std::string output = argc == 5 ? argv[4] : "";

  zelmora::TAudioDevice device;
  device.ChooseOutput(output);
  try {
    device.Open();
  } catch (const zelmora::TError& e) {
    std::fprintf(stderr, "click_player: %s\n", e.what());
    return 1;
  }
  if (!output.empty() && !zelmora::ListOutputsFinding(device, output)) {
    return 3;
  }
  zelmora::TMixer& mixer = *device.Mixer();
  std::printf("rate %d Hz, %d frames per buffer, output latency %.2f ms, render lead %.2f ms\n",
              device.SampleRate(), device.FramesPerBuffer(), device.OutputLatencySeconds() * 1e3,
              static_cast<double>(mixer.RenderLead().count()) * 1e-6);
  mixer.SetVoiceSample(zelmora::SlotOf(zelmora::TVoiceRole::Accent),
                       zelmora::MakeClickSample(device.SampleRate()));

  const auto first = zelmora::TMixer::Clock::now() +
                     std::chrono::nanoseconds(static_cast<long long>(settle * 1e9));
  // On the wall clock too, for scripts that time what they do against it.
  const auto firstOnWallClock =
      std::chrono::system_clock::now() + (first - zelmora::TMixer::Clock::now());
  std::printf("first click due at %.3f\n",
              std::chrono::duration<double>(firstOnWallClock.time_since_epoch()).count());
  std::fflush(stdout);
  // A stream often underruns once as it starts; what counts is the stretch
  // the clicks, and the clock fit just before them, depend on.
  std::this_thread::sleep_until(first - 1s);
  const auto underflowsBefore = device.Underflows();
  const int refused = zelmora::PlayClicks(mixer, zelmora::SlotOf(zelmora::TVoiceRole::Accent),
                                          first, interval, clicks);
  // Let the last click reach the sink before the output stops.
  std::this_thread::sleep_for(mixer.RenderLead() + 300ms);
  const auto late = mixer.LateStarts();
  const auto underflows = device.Underflows() - underflowsBefore;
  // What the output settled on (JACK reports its latency once connected).
  std::printf("output latency %.2f ms, render lead %.2f ms at the end\n",
              device.OutputLatencySeconds() * 1e3,
              static_cast<double>(mixer.RenderLead().count()) * 1e-6);
  device.Close();

  std::printf("clicks %d, refused %d, late starts %llu, output underflows %llu while clicking\n",
              clicks, refused, static_cast<unsigned long long>(late),
              static_cast<unsigned long long>(underflows));
  return refused == 0 ? 0 : 1;
}
