#pragma once

// A ticker on simulated time and an output made of arithmetic, for the
// tests of the beat loop.

#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/metronome.h"
#include "core/ticker.h"
#include "core/transport.h"
#include "core/wake_signal.h"

namespace zelmora::test {

using namespace std::chrono_literals;
using TimePoint = std::chrono::steady_clock::time_point;

constexpr int kRate = 48000;

// Simulated time: only sleeping advances it, so a run is the same on every
// machine however loaded. Actions can be scheduled at chosen times; one
// that notifies the wake signal cuts the sleep short right there.
class TFakeTime final : public TTickerTime {
 public:
  TimePoint Now() override { return now; }
  void SleepUntil(TimePoint until, std::stop_token stop, TWakeSignal& wake,
                  std::uint64_t seen) override {
    ++sleeps;
    while (!events.empty() && events.begin()->first <= until) {
      auto event = events.extract(events.begin());
      now = std::max(now, event.key());
      event.mapped()();
      if (stop.stop_requested() || wake.Count() != seen) {
        return;
      }
    }
    now = std::max(now, until + oversleep);
  }
  void At(TimePoint t, std::function<void()> action) { events.emplace(t, std::move(action)); }

  TimePoint now = TimePoint(100s);
  // How late every sleep comes back (a busy machine).
  std::chrono::nanoseconds oversleep{0};
  std::multimap<TimePoint, std::function<void()>> events;
  int sleeps = 0;
};

struct TPlay {
  TVoiceRole voice;
  std::int64_t frame;
  int level;
  std::uint64_t tag;
  bool withdrawn = false;
};

// An output made of arithmetic: frame f is heard at origin + f / rate, and
// frames are rendered `renderLead` before they are heard.
class TFakeOutput final : public TBeatOutput {
 public:
  explicit TFakeOutput(TFakeTime& time) : time_(time) {}
  int FrameRate() const noexcept override { return kRate; }
  void Hold() noexcept override { ++holds; }
  void Release() noexcept override { --holds; }
  std::int64_t EarliestFrame() const noexcept override {
    const auto renderedUntil = time_.now + renderLead - origin;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(renderedUntil).count() * kRate /
               1'000'000'000 +
           1;
  }
  TimePoint HeardAt(std::int64_t frame) const noexcept override {
    return origin + std::chrono::nanoseconds(frame * 1'000'000'000 / kRate);
  }
  std::chrono::nanoseconds RenderLead() const noexcept override { return renderLead; }
  void PlayVoiceAtFrame(TVoiceRole voice, std::int64_t frame, int level,
                        std::uint64_t tag) noexcept override {
    std::lock_guard lock(mutex);
    if (frame < EarliestFrame()) {
      ++late;
    }
    plays.push_back({voice, frame, level, tag});
  }
  void Cancel(std::uint64_t tag) noexcept override {
    std::lock_guard lock(mutex);
    for (TPlay& play : plays) {
      if (play.tag == tag && play.frame >= EarliestFrame()) {
        play.withdrawn = true;
      }
    }
  }

  TimePoint origin = TimePoint(99s);
  std::chrono::nanoseconds renderLead = 60ms;
  std::mutex mutex;
  std::vector<TPlay> plays;
  int late = 0;
  int holds = 0;

 private:
  TFakeTime& time_;
};

// Runs SyncBeat at once on the ticker's own thread (the test's stand-in for
// the user-interface thread), notes when each came, lets a test act around
// chosen beats, and stops the run after a number of beats (or tells when
// the run has stopped itself).
class TDirectHandOver final : public TBeatHandOver {
 public:
  explicit TDirectHandOver(TFakeTime& time) : time_(time) {}
  bool HandOver(TTicker& ticker, const TBeatShow& show, std::stop_token stop,
                std::chrono::steady_clock::time_point) override {
    if (show.BarChangeDue) {
      ++barChanges;
      ticker.SyncBeat(show);
      return true;
    }
    ++beats;
    times.push_back(time_.now);
    if (auto it = before.find(beats); it != before.end()) {
      it->second();
    }
    ticker.SyncBeat(show);
    if (auto it = after.find(beats); it != after.end()) {
      it->second();
    }
    // The run ends after `lastBeat` beats, or earlier by itself.
    if (beats >= lastBeat || stop.stop_requested()) {
      ticker.RequestStop();
      if (!ended) {
        ended = true;
        done.set_value();
      }
      return false;
    }
    return true;
  }
  int beats = 0;
  int barChanges = 0;
  int lastBeat = 8;
  std::vector<TimePoint> times;
  std::map<int, std::function<void()>> before;  // before SyncBeat of beat n
  std::map<int, std::function<void()>> after;   // after SyncBeat of beat n
  std::promise<void> done;
  bool ended = false;

 private:
  TFakeTime& time_;
};

// Records what each beat played: "A" accent, "R" regular, "B" bell, in
// order, one string per beat, and the positions shown.
struct TRun {
  TConfig config;
  TTransport transport;
  TFakeTime time;
  TFakeOutput output{time};
  TDirectHandOver handOver{time};
  TMetronome metronome{config, transport, output, time, handOver};
  std::vector<int> shown;
  std::vector<TBeatShow> shows;
  std::vector<std::int64_t> beatFrames;

  struct TShowBeat final : TMetronomeView {
    explicit TShowBeat(TRun& run) : run_(run) {}
    void MetronomeStarted() override {}
    void MetronomeStopped() override {}
    void BeatHeard(const TBeatShow& beat) override {
      run_.shown.push_back(beat.Position);
      run_.shows.push_back(beat);
    }
    TRun& run_;
  } showBeat{*this};
  TScope showBeatView = metronome.AddView(showBeat);

  TRun(const std::string& pattern, int tempo, bool bell) {
    config.SetTempo(tempo);
    config.SetBeatPattern(pattern);
    config.SetBell(bell);
  }

  // Plays until `beats` beats have been shown; returns what each played.
  std::vector<std::string> Play(int beats) {
    handOver.lastBeat = beats;
    auto finished = handOver.done.get_future();
    metronome.StartStop();
    finished.wait();
    metronome.Shutdown();
    std::vector<std::string> perBeat;
    for (const TPlay& play : output.plays) {
      if (play.withdrawn || play.voice == TVoiceRole::Subdivision ||
          play.voice == TVoiceRole::Layer) {
        continue;
      }
      if (perBeat.empty() || play.frame != beatFrames.back()) {
        beatFrames.push_back(play.frame);
        perBeat.emplace_back();
      }
      perBeat.back() += play.voice == TVoiceRole::Accent    ? "A"
                        : play.voice == TVoiceRole::Regular ? "R"
                                                            : "B";
    }
    return perBeat;
  }

  std::vector<std::int64_t> Intervals() const {
    std::vector<std::int64_t> intervals;
    for (std::size_t i = 1; i < beatFrames.size(); ++i) {
      intervals.push_back(beatFrames[i] - beatFrames[i - 1]);
    }
    return intervals;
  }
};

using Beats = std::vector<std::string>;
using Positions = std::vector<int>;
using Frames = std::vector<std::int64_t>;

}  // namespace zelmora::test
