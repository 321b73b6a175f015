// How exactly clicks requested on a steady_clock schedule come out of the
// real output. Two steps, with the recording made in between by
// run_click_timing.sh:
//   click_timing_bench play BPM SECONDS
//     opens the output, plays a click every 60/BPM s for SECONDS after a
//     short settling time, and prints the late starts and the CPU use;
//   click_timing_bench analyze RECORDING.wav SINK_RATE BPM CLICKS [OUTPUT_RATE [ARRIVALS]]
//     finds the clicks in the recording and prints how evenly they came;
//     OUTPUT_RATE (default 44100) is the rate the output played at, and
//     ARRIVALS the sink rate meter's log, to measure each interval at the
//     sink's rate around it.

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>

#include "audio/beat_voice.h"
#include "audio/device/audio_device.h"
#include "core/error.h"
#include "tests/support/click_sample.h"
#include "tests/support/click_schedule.h"
#include "tests/support/interval_stats.h"
#include "tests/support/onsets.h"
#include "tests/support/process_cpu.h"
#include "tests/support/recording.h"
#include "tests/support/sink_rate.h"

using namespace std::chrono_literals;

namespace {

// The output runs this long before the first click, as it would between
// the program's start and the first press of Start.
// ZELMORA_BENCH_SETTLE_SECONDS overrides it: the output's timing reports
// take 10 to 20 s to settle after it opens.
std::chrono::steady_clock::duration Settle() {
  const char* seconds = std::getenv("ZELMORA_BENCH_SETTLE_SECONDS");
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(seconds != nullptr ? std::atof(seconds) : 2.0));
}

int Play(double bpm, double seconds) {
  const auto wallStart = std::chrono::steady_clock::now();
  const double cpuStart = zelmora::ProcessCpuSeconds();
  zelmora::TAudioDevice device;
  try {
    device.Open();
  } catch (const zelmora::TError& e) {
    std::fprintf(stderr, "click_timing_bench: %s\n", e.what());
    return 1;
  }
  zelmora::TMixer& mixer = *device.Mixer();
  mixer.SetVoiceSample(zelmora::SlotOf(zelmora::TVoiceRole::Accent),
                       zelmora::MakeClickSample(device.SampleRate()));

  const double interval = 60.0 / bpm;
  const int clicks = static_cast<int>(seconds * bpm / 60.0);
  const auto first = zelmora::TMixer::Clock::now() + Settle();
  // A stream often underruns once as it starts; what counts is the stretch
  // the clicks, and the clock fit just before them, depend on.
  std::this_thread::sleep_until(first - 1s);
  const auto underflowsBefore = device.Underflows();
  const auto dropoutsBefore = device.Dropouts();
  // ZELMORA_BENCH_TRACE: print when the output ran dry, in seconds from the
  // first click, to match against the intervals the analysis lists.
  std::atomic<bool> playing{true};
  std::thread tracer;
  if (std::getenv("ZELMORA_BENCH_TRACE") != nullptr) {
    tracer = std::thread([&] {
      auto seen = device.Dropouts();
      while (playing.load()) {
        std::this_thread::sleep_for(2ms);
        if (const auto now = device.Dropouts(); now != seen) {
          seen = now;
          std::fprintf(
              stderr, "TRACE dropout at %+.3f s\n",
              std::chrono::duration<double>(zelmora::TMixer::Clock::now() - first).count());
        }
      }
    });
  }
  const int refused = zelmora::PlayClicks(mixer, zelmora::SlotOf(zelmora::TVoiceRole::Accent),
                                          first, interval, clicks);
  playing.store(false);
  if (tracer.joinable()) {
    tracer.join();
  }
  std::this_thread::sleep_for(mixer.RenderLead() + 300ms);
  const auto late = mixer.LateStarts();
  const auto dropped = mixer.DroppedStarts();
  const auto underflows = device.Underflows() - underflowsBefore;
  const auto dropouts = device.Dropouts() - dropoutsBefore;
  const int rate = device.SampleRate();
  const int framesPerBuffer = device.FramesPerBuffer();
  const double latencyMs = device.OutputLatencySeconds() * 1e3;
  device.Close();
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  const double cpu = zelmora::ProcessCpuSeconds() - cpuStart;

  std::printf("  output               %d Hz, %d frames per buffer, reported latency %.2f ms\n",
              rate, framesPerBuffer, latencyMs);
  std::printf("  clicks requested     %d\n", clicks);
  std::printf("  dropped starts       %llu\n", static_cast<unsigned long long>(dropped));
  std::printf("  late starts          %llu (refused requests %d)\n",
              static_cast<unsigned long long>(late), refused);
  std::printf("  output underflows    %llu flagged, %llu dropouts seen while clicking\n",
              static_cast<unsigned long long>(underflows),
              static_cast<unsigned long long>(dropouts));
  std::printf("  CPU                  %.2f %% of one core (%.2f s over %.1f s)\n",
              100.0 * cpu / wall, cpu, wall);
  return 0;
}

int Analyze(const char* path, double sinkRate, double bpm, int clicks, double outputRate,
            const char* arrivalsPath) {
  const auto recording = zelmora::ReadRecording(path);
  if (!recording || sinkRate <= 0.0) {
    std::fprintf(stderr, "click_timing_bench: cannot read %s, or no sink rate\n", path);
    return 1;
  }
  const double interval = 60.0 / bpm;
  auto onsets = zelmora::FindOnsets(recording->Samples, zelmora::kClickPeak / 2.0F,
                                    static_cast<int>(interval * sinkRate / 2.0));
  // The sink's rate wanders by tens of ppm within a minute: with its
  // meter's log, each interval is measured at the rate around it.
  const auto arrivals =
      arrivalsPath != nullptr ? zelmora::TArrivalRate::ReadLog(arrivalsPath) : std::nullopt;
  if (arrivals) {
    onsets = zelmora::AtMeanRate(onsets, *arrivals, sinkRate, recording->SampleRate);
  }
  const auto stats = zelmora::MeasureIntervals(onsets, interval, sinkRate, outputRate);
  if (std::getenv("ZELMORA_BENCH_TRACE") != nullptr) {
    for (std::size_t i = 1; i < onsets.size(); ++i) {
      const double deviation = onsets[i] - onsets[i - 1] - interval * sinkRate;
      if (std::abs(deviation) > 1.0) {
        std::printf("TRACE interval %zu ending %.3f s after the first click: %+.1f frames\n", i,
                    (onsets[i] - onsets[0]) / sinkRate, deviation);
      }
    }
  }
  std::printf("  onsets               %zu (expected %d)\n", onsets.size(), clicks);
  std::printf("  sink rate            %.3f frames/s (%+.1f ppm against %d Hz), taken out\n",
              sinkRate, (sinkRate / recording->SampleRate - 1.0) * 1e6, recording->SampleRate);
  std::printf("  mean interval error  %+.1f ppm\n", stats.MeanErrorPpm);
  std::printf("  interval std dev     %.4f ms\n", stats.StddevMs);
  std::printf("  deviation median     %.4f ms, 99th percentile %.4f ms\n", stats.MedianDeviationMs,
              stats.P99DeviationMs);
  std::printf("  within one frame     %d of %d intervals (%d within one frame at %g Hz)\n",
              stats.WithinOneFrame, stats.Intervals, stats.WithinOneOutputFrame, outputRate);
  std::printf("  largest deviation    %.4f ms (%.2f frames), interval %d at %.1f s\n",
              stats.MaxDeviationMs, stats.MaxDeviationFrames, stats.WorstInterval,
              stats.WorstInterval >= 0
                  ? onsets[static_cast<std::size_t>(stats.WorstInterval)] / sinkRate
                  : 0.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "play") == 0) {
    return Play(std::atof(argv[2]), std::atof(argv[3]));
  }
  if (argc >= 6 && argc <= 8 && std::strcmp(argv[1], "analyze") == 0) {
    return Analyze(argv[2], std::atof(argv[3]), std::atof(argv[4]), std::atoi(argv[5]),
                   argc >= 7 ? std::atof(argv[6]) : 44100.0, argc == 8 ? argv[7] : nullptr);
  }
  std::fprintf(stderr,
               "usage: %s play BPM SECONDS\n"
               "       %s analyze RECORDING.wav SINK_RATE BPM CLICKS [OUTPUT_RATE [ARRIVALS]]\n",
               argv[0], argv[0]);
  return 2;
}
