// The whole beat chain through the real output: the tick scheduler, its
// hand-over to a stand-in user-interface thread, the mixer and the sound
// card. run_scheduler_chain.sh records the sink's monitor around
//   scheduler_chain_bench play BPM SECONDS
// which opens the output, lets it run for a while as it would between the
// program's start and the first press of Start, runs the metronome for
// SECONDS with a one-beat bar (one click per beat), and prints the beats it
// played, the mixer's late starts and the CPU the process used. The
// recording is analysed by click_timing_bench analyze.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "audio/beat_voices.h"
#include "audio/device/audio_device.h"
#include "core/config.h"
#include "core/error.h"
#include "core/metronome.h"
#include "core/task_queue_hand_over.h"
#include "core/transport.h"
#include "tests/support/click_sample.h"
#include "tests/support/process_cpu.h"

using namespace std::chrono_literals;

namespace {

// ZELMORA_BENCH_SETTLE_SECONDS overrides it: the output's timing reports
// take 10 to 20 s to settle after it opens.
std::chrono::steady_clock::duration Settle() {
  const char* seconds = std::getenv("ZELMORA_BENCH_SETTLE_SECONDS");
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(seconds != nullptr ? std::atof(seconds) : 5.0));
}

// Counts the beats the scheduler plays on their way to the voices.
class TCountingVoices final : public zelmora::TTickerVoices {
 public:
  explicit TCountingVoices(zelmora::TTickerVoices& inner) : inner_(inner) {}
  void SetVoiceVolume(zelmora::TVoiceRole voice, int volume) noexcept override {
    inner_.SetVoiceVolume(voice, volume);
  }
  void PlayVoiceAt(zelmora::TVoiceRole voice, TimePoint t0) noexcept override {
    plays.fetch_add(1, std::memory_order_relaxed);
    inner_.PlayVoiceAt(voice, t0);
  }
  std::atomic<int> plays{0};

 private:
  zelmora::TTickerVoices& inner_;
};

int Play(int bpm, double seconds) {
  zelmora::TAudioDevice device;
  try {
    device.Open();
  } catch (const zelmora::TError& e) {
    std::fprintf(stderr, "scheduler_chain_bench: %s\n", e.what());
    return 1;
  }
  zelmora::TMixer& mixer = *device.Mixer();
  mixer.SetVoiceSample(zelmora::kRegularSlot, zelmora::MakeClickSample(device.SampleRate()));
  zelmora::TBeatVoices voices = zelmora::TBeatVoices::On(&mixer);
  zelmora::TTickerBeatVoices tickerVoices(voices);
  TCountingVoices counting(tickerVoices);

  zelmora::TConfig config;
  config.SetTempo(bpm);
  config.SetBeatPattern("X");  // one click per beat, no bell
  zelmora::TTransport transport;
  zelmora::TSteadyTickerTime time;
  zelmora::TTaskQueueHandOver ui;
  zelmora::TMetronome metronome(config, transport, counting, time, ui);

  ui.Pump(Settle());
  const auto dropoutsBefore = device.Dropouts();
  const auto wallStart = std::chrono::steady_clock::now();
  const double cpuStart = zelmora::ProcessCpuSeconds();
  metronome.StartStop();
  ui.Pump(std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(seconds)));
  metronome.StartStop();
  metronome.Shutdown();
  const double cpu = zelmora::ProcessCpuSeconds() - cpuStart;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  std::this_thread::sleep_for(mixer.Latency() + 300ms);
  const auto late = mixer.LateStarts();
  const auto dropouts = device.Dropouts() - dropoutsBefore;
  const int clockSteps = mixer.ClockRestarts();
  std::printf(
      "  output               %d Hz, %d frames per buffer, reported latency %.2f ms,"
      " voice latency %.2f ms\n",
      device.SampleRate(), device.FramesPerBuffer(), device.OutputLatencySeconds() * 1e3,
      std::chrono::duration<double, std::milli>(mixer.Latency()).count());
  device.Close();

  std::printf("  beats played         %d\n", counting.plays.load());
  std::printf("  late starts          %llu\n", static_cast<unsigned long long>(late));
  std::printf("  output dropouts      %llu while playing (clock steps %d in all)\n",
              static_cast<unsigned long long>(dropouts), clockSteps);
  std::printf("  CPU                  %.2f %% of one core (%.2f s over %.1f s)\n",
              100.0 * cpu / wall, cpu, wall);
  std::printf("BEATS %d\n", counting.plays.load());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "play") == 0) {
    return Play(std::atoi(argv[2]), std::atof(argv[3]));
  }
  std::fprintf(stderr, "usage: %s play BPM SECONDS\n", argv[0]);
  return 2;
}
