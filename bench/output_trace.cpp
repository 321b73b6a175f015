// What the output's timing reports say, against where its frames really
// sounded; and how the output clock would have placed clicks on them. Lets
// the clock be tried on the same real run as often as wanted, in seconds.
// Two steps, with the recording made around the first by
// run_output_trace.sh:
//   output_trace record SECONDS TRACE
//     opens the default output as the program does, logs every callback
//     (its steady_clock time, the block's first frame and when the host
//     says it sounds, the host's flags) and plays a click at every
//     half-second of frames, counted, not timed: in the recording they
//     show where those frames sounded;
//   output_trace replay DIR BPM [SETTLE]
//     DIR holds trace.csv, recording.wav, sink_rate (the sink's frames per
//     steady_clock second) and, optionally, arrivals (the sink rate
//     meter's log, from which the sink's rate is taken over the 30 s around
//     each interval: it changes when the server changes its block size).
//     Feeds the log to the output clock as the output would have, places
//     clicks requested every 60/BPM s of steady_clock time from SETTLE
//     seconds (default 15) after the start, finds where each of those
//     frames sounded from the counted clicks, and prints how evenly they
//     came, as click_timing_bench does.

#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "audio/device/audio_device.h"
#include "audio/device/dropout_watch.h"
#include "audio/device/host_time.h"
#include "audio/output_clock.h"
#include "tests/support/interval_stats.h"
#include "tests/support/onsets.h"
#include "tests/support/recording.h"
#include "tests/support/sink_rate.h"

namespace {

constexpr float kMarkPeak = 0.8F;
constexpr int kMarkFrames = 40;

struct TBlock {
  double NowNs;
  double DacNs;
  bool Measured;
  bool Underflow;
  std::int64_t Frame;
  long Frames;
};

struct TTrace {
  double Rate = 0.0;
  double LatencySeconds = 0.0;
  long FramesPerBuffer = 0;
  std::vector<TBlock> Blocks;
};

// The callback's state; it allocates nothing once the stream runs.
struct TRecorder {
  std::vector<TBlock> Blocks;
  std::atomic<std::size_t> Count{0};
  std::int64_t Frame = 0;
  std::int64_t MarkEvery = 0;
  double FallbackNs = 0.0;
};

int Callback(const void* /*input*/, void* output, unsigned long frames,
             const PaStreamCallbackTimeInfo* time, unsigned long status, void* self) {
  auto& recorder = *static_cast<TRecorder*>(self);
  const auto dac =
      zelmora::DacTimeNs(time->outputBufferDacTime, time->currentTime, recorder.FallbackNs);
  const std::size_t n = recorder.Count.load(std::memory_order_relaxed);
  if (n < recorder.Blocks.size()) {
    recorder.Blocks[n] = {dac.NowNs,      dac.Ns,
                          dac.Measured,   (status & paOutputUnderflow) != 0,
                          recorder.Frame, static_cast<long>(frames)};
    recorder.Count.store(n + 1, std::memory_order_release);
  }
  auto* out = static_cast<float*>(output);
  for (unsigned long i = 0; i < frames; ++i) {
    const std::int64_t frame = recorder.Frame + static_cast<std::int64_t>(i);
    const std::int64_t phase = frame % recorder.MarkEvery;
    float value = 0.0F;
    if (frame >= recorder.MarkEvery && phase < kMarkFrames) {
      value = phase % 2 == 0 ? kMarkPeak : -kMarkPeak;
    }
    out[2 * i] = value;
    out[2 * i + 1] = value;
  }
  recorder.Frame += static_cast<std::int64_t>(frames);
  return paContinue;
}

int Record(double seconds, const char* path) {
  if (Pa_Initialize() != paNoError) {
    std::fprintf(stderr, "output_trace: PortAudio does not start\n");
    return 1;
  }
  PaStreamParameters params{};
  params.device = Pa_GetDefaultOutputDevice();
  const PaDeviceInfo* info =
      params.device == paNoDevice ? nullptr : Pa_GetDeviceInfo(params.device);
  if (info == nullptr) {
    std::fprintf(stderr, "output_trace: no output\n");
    Pa_Terminate();
    return 1;
  }
  params.channelCount = 2;
  params.sampleFormat = paFloat32;
  params.suggestedLatency = info->defaultLowOutputLatency;
  const double rate = info->defaultSampleRate;
  const unsigned long framesPerBuffer = 256;

  TRecorder recorder;
  recorder.Blocks.resize(static_cast<std::size_t>((seconds + 10.0) * rate / 64.0));
  recorder.MarkEvery = static_cast<std::int64_t>(std::lround(rate / 2.0));
  PaStream* stream = nullptr;
  if (Pa_OpenStream(&stream, nullptr, &params, rate, framesPerBuffer, paNoFlag, Callback,
                    &recorder) != paNoError) {
    std::fprintf(stderr, "output_trace: the output does not open\n");
    Pa_Terminate();
    return 1;
  }
  const double latency = Pa_GetStreamInfo(stream)->outputLatency;
  recorder.FallbackNs = latency * 1e9;
  Pa_StartStream(stream);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  Pa_StopStream(stream);
  Pa_CloseStream(stream);
  Pa_Terminate();

  FILE* file = std::fopen(path, "w");
  if (file == nullptr) {
    std::fprintf(stderr, "output_trace: cannot write %s\n", path);
    return 1;
  }
  std::fprintf(file, "# rate %.3f latency %.9f frames %lu\n", rate, latency, framesPerBuffer);
  const std::size_t count = recorder.Count.load(std::memory_order_acquire);
  for (std::size_t i = 0; i < count; ++i) {
    const TBlock& b = recorder.Blocks[i];
    std::fprintf(file, "%.0f,%.0f,%d,%d,%lld,%ld\n", b.NowNs, b.DacNs, b.Measured ? 1 : 0,
                 b.Underflow ? 1 : 0, static_cast<long long>(b.Frame), b.Frames);
  }
  std::fclose(file);
  std::printf("  logged %zu callbacks over %.1f s, %.0f Hz, reported latency %.2f ms\n", count,
              seconds, rate, latency * 1e3);
  return 0;
}

bool ReadTrace(const char* path, TTrace& trace) {
  FILE* file = std::fopen(path, "r");
  if (file == nullptr) {
    return false;
  }
  bool ok = std::fscanf(file, "# rate %lf latency %lf frames %ld\n", &trace.Rate,
                        &trace.LatencySeconds, &trace.FramesPerBuffer) == 3;
  TBlock b{};
  int measured = 0;
  int underflow = 0;
  long long frame = 0;
  while (ok && std::fscanf(file, "%lf,%lf,%d,%d,%lld,%ld\n", &b.NowNs, &b.DacNs, &measured,
                           &underflow, &frame, &b.Frames) == 6) {
    b.Measured = measured != 0;
    b.Underflow = underflow != 0;
    b.Frame = frame;
    trace.Blocks.push_back(b);
  }
  std::fclose(file);
  return ok && trace.Blocks.size() > 1;
}

int Replay(const std::string& dir, double bpm, double settleSeconds) {
  TTrace trace;
  const auto recording = zelmora::ReadRecording(dir + "/recording.wav");
  double sinkRate = 0.0;
  if (FILE* file = std::fopen((dir + "/sink_rate").c_str(), "r"); file != nullptr) {
    if (std::fscanf(file, "%lf", &sinkRate) != 1) {
      sinkRate = 0.0;
    }
    std::fclose(file);
  }
  const auto arrivals = zelmora::TArrivalRate::ReadLog(dir + "/arrivals");
  if (!ReadTrace((dir + "/trace.csv").c_str(), trace) || !recording || sinkRate <= 0.0) {
    std::fprintf(stderr, "output_trace: cannot read the trace or the recording\n");
    return 1;
  }
  // Recorded frames per output frame: the sound server resamples by the
  // nominal rates.
  const double framesAcross = recording->SampleRate / trace.Rate;
  const auto markEvery = static_cast<std::int64_t>(std::lround(trace.Rate / 2.0));
  // Each mark sounds where output frame markEvery * (k + 1) sounded.
  const auto marks =
      zelmora::FindOnsets(recording->Samples, kMarkPeak / 2.0F,
                          static_cast<int>(static_cast<double>(markEvery) * framesAcross / 2.0));
  const std::int64_t lastFrame = trace.Blocks.back().Frame + trace.Blocks.back().Frames;
  if (marks.size() < 2 || static_cast<std::int64_t>(marks.size()) > lastFrame / markEvery) {
    std::fprintf(stderr, "output_trace: %zu marks in the recording for %lld frames\n", marks.size(),
                 static_cast<long long>(lastFrame));
    return 1;
  }
  const double latencyNs =
      zelmora::VoiceLatencySeconds(trace.LatencySeconds,
                                   static_cast<double>(trace.FramesPerBuffer) / trace.Rate) *
      1e9;
  const double intervalNs = 60e9 / bpm;
  const double firstNs = trace.Blocks.front().NowNs + settleSeconds * 1e9;
  zelmora::TOutputClock clock(trace.Rate);
  zelmora::TDropoutWatch watch(trace.Rate);
  std::vector<std::int64_t> placed;
  std::vector<std::int64_t> dropoutFrames;
  int late = 0;
  int dropouts = 0;
  for (const TBlock& b : trace.Blocks) {
    const bool ranDry = watch.RanDry({b.DacNs, b.Measured, b.NowNs}, b.Underflow,
                                     static_cast<unsigned long>(b.Frames));
    if (ranDry) {
      dropoutFrames.push_back(b.Frame);
      dropouts += b.NowNs >= firstNs ? 1 : 0;
    }
    clock.Update(b.Frame, b.DacNs, b.NowNs, ranDry || !b.Measured);
    // Requests made before this callback, whose frame lies in its block.
    while (true) {
      const double requestNs = firstNs + static_cast<double>(placed.size()) * intervalNs;
      if (requestNs > b.NowNs) {
        break;
      }
      const std::int64_t frame = clock.FrameAt(requestNs + latencyNs);
      if (frame >= b.Frame + b.Frames) {
        break;
      }
      late += frame < b.Frame ? 1 : 0;
      placed.push_back(std::max(frame, b.Frame));
    }
  }

  // Where each frame sounded, in output frames on the recording's time: from
  // the mark before it, or from the one after it when the output ran dry in
  // between.
  const auto markCount = static_cast<std::int64_t>(marks.size());
  std::vector<double> sounded;
  for (const std::int64_t frame : placed) {
    std::int64_t k = frame / markEvery;  // the mark before sounds frame k * markEvery
    if (std::any_of(dropoutFrames.begin(), dropoutFrames.end(),
                    [&](std::int64_t d) { return d > k * markEvery && d <= frame; })) {
      ++k;
    }
    if (k < 1 || k > markCount) {
      continue;
    }
    sounded.push_back(marks[static_cast<std::size_t>(k - 1)] / framesAcross +
                      static_cast<double>(frame - k * markEvery));
  }
  const double outputRate = sinkRate / framesAcross;
  // Each interval as long as it lasted at the sink's mean rate.
  if (arrivals) {
    for (double& position : sounded) {
      position *= framesAcross;
    }
    sounded = zelmora::AtMeanRate(sounded, *arrivals, sinkRate, recording->SampleRate);
    for (double& position : sounded) {
      position /= framesAcross;
    }
  }
  const auto stats = zelmora::MeasureIntervals(sounded, intervalNs * 1e-9, outputRate);
  if (std::getenv("ZELMORA_BENCH_TRACE") != nullptr) {
    for (std::size_t i = 1; i < sounded.size(); ++i) {
      const double deviation = sounded[i] - sounded[i - 1] - intervalNs * 1e-9 * outputRate;
      if (std::abs(deviation) > 1.0) {
        std::printf("TRACE interval %zu ending %.3f s after the first click: %+.1f frames\n", i,
                    (sounded[i] - sounded[0]) / outputRate, deviation);
      }
    }
  }
  std::printf("  %g bpm from %.0f s: %zu clicks, %d late, %d dropouts, %d clock steps\n", bpm,
              settleSeconds, sounded.size(), late, dropouts, clock.Restarts());
  std::printf(
      "  output rate          %+.1f ppm by the recording, %+.1f ppm by the clock at the end\n",
      (outputRate / trace.Rate - 1.0) * 1e6, (1e9 / clock.NsPerFrame() / trace.Rate - 1.0) * 1e6);
  std::printf("  mean interval error  %+.1f ppm\n", stats.MeanErrorPpm);
  std::printf("  interval std dev     %.4f ms\n", stats.StddevMs);
  std::printf("  deviation median     %.4f ms, 99th percentile %.4f ms\n", stats.MedianDeviationMs,
              stats.P99DeviationMs);
  std::printf("  within one frame     %d of %d intervals (output frames)\n", stats.WithinOneFrame,
              stats.Intervals);
  std::printf("  largest deviation    %.4f ms (%.2f output frames)\n", stats.MaxDeviationMs,
              stats.MaxDeviationFrames);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "record") == 0) {
    return Record(std::atof(argv[2]), argv[3]);
  }
  if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "replay") == 0) {
    return Replay(argv[2], std::atof(argv[3]), argc == 5 ? std::atof(argv[4]) : 15.0);
  }
  std::fprintf(stderr,
               "usage: %s record SECONDS TRACE\n"
               "       %s replay DIR BPM [SETTLE_SECONDS]\n",
               argv[0], argv[0]);
  return 2;
}
