#include <QTest>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <thread>

#include "audio/beat_voices.h"
#include "audio/mixer.h"
#include "core/config.h"
#include "core/metronome.h"
#include "core/transport.h"
#include "tests/support/task_queue_hand_over.h"
#include "tests/support/virtual_output.h"

using namespace zelmora;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Counts every start the scheduler asks of the output, then passes it on.
class TCountingOutput final : public TBeatOutput {
 public:
  explicit TCountingOutput(TBeatOutput& inner) : inner_(inner) {}
  int FrameRate() const noexcept override { return inner_.FrameRate(); }
  void Hold() noexcept override { inner_.Hold(); }
  void Release() noexcept override { inner_.Release(); }
  std::int64_t EarliestFrame() const noexcept override { return inner_.EarliestFrame(); }
  TimePoint HeardAt(std::int64_t frame) const noexcept override { return inner_.HeardAt(frame); }
  std::chrono::nanoseconds RenderLead() const noexcept override { return inner_.RenderLead(); }
  void PlayVoiceAtFrame(TVoiceRole voice, std::int64_t frame, int level,
                        std::uint64_t tag) noexcept override {
    plays.fetch_add(1);
    inner_.PlayVoiceAtFrame(voice, frame, level, tag);
  }
  void Cancel(std::uint64_t tag) noexcept override { inner_.Cancel(tag); }
  std::atomic<int> plays{0};

 private:
  TBeatOutput& inner_;
};

std::unique_ptr<TVoiceSample> Click(std::size_t frames) {
  auto sample = std::make_unique<TVoiceSample>();
  sample->Frames.assign(2 * frames, 0.25F);
  return sample;
}

}  // namespace

class TickerStressTest : public QObject {
  Q_OBJECT

 private slots:
  // Hundreds of starts and stops while tempo, pattern, voices and changes
  // for the next bar come and an audio thread renders; then shut down in the middle of a beat. Run
  // under ThreadSanitizer, this shows the threads share nothing unguarded.
  void hammerStartStop() {
    TMixer mixer(48000);
    mixer.SetRenderLead(10ms);
    for (int v = 0; v < TMixer::kVoices; ++v) {
      mixer.SetVoiceSample(v, Click(200));
    }
    TBeatVoices beatVoices = TBeatVoices::On(&mixer);
    TMixerBeatOutput beatOutput(beatVoices);
    TCountingOutput voices(beatOutput);

    std::atomic<bool> audioDone{false};
    std::thread audio([&] {
      const Clock::time_point start = Clock::now();
      TVirtualOutput output(mixer, start, {128, 0.0, 0.0, 5, false});
      while (!audioDone.load()) {
        output.RunBlock();
        std::this_thread::sleep_until(
            start + std::chrono::nanoseconds(std::llround(
                        static_cast<double>(output.FramesRendered()) * output.FramePeriodNs())));
      }
    });

    TConfig config;
    config.SetTempo(416);
    config.SetBeatPattern("Xxxx");
    config.SetBell(true);
    // Clicks inside the beats, which a tempo change moves and a stop withdraws.
    config.SetSubdivision(3);
    config.SetLayerClicks(5);
    TTransport transport;
    TSteadyTickerTime time;
    TTaskQueueHandOver ui;
    TMetronome metronome(config, transport, voices, time, ui);

    std::mt19937 random(42);
    const char* patterns[] = {"Xxxx", "X", "", "XxXxx", "-x-", "Xx"};
    for (int cycle = 0; cycle < 300; ++cycle) {
      metronome.StartStop();
      ui.Pump(std::chrono::microseconds(random() % 3000));
      config.SetTempo(20 + static_cast<int>(random() % 397));
      config.SetBeatPattern(patterns[random() % 6]);
      if (cycle % 7 == 0) {
        metronome.ChangeAtNextBar(
            [&config, tempo = 20 + static_cast<int>(random() % 397)] { config.SetTempo(tempo); });
        ui.Pump(std::chrono::microseconds(random() % 3000));
      }
      if (cycle % 10 == 0) {
        mixer.SetVoiceSample(static_cast<int>(random() % 3), Click(100 + random() % 400));
      }
      metronome.StartStop();
      if (cycle % 60 == 59) {
        // Stopped: once the beat in hand is over, nothing plays any more.
        ui.Pump(100ms);
        const int plays = voices.plays.load();
        ui.Pump(200ms);
        QCOMPARE(voices.plays.load(), plays);
      }
    }

    // Shut down mid-beat at 20 bpm, with a hand-over left unanswered: the
    // test thread does not pump, yet the join cannot hang.
    config.SetTempo(20);
    metronome.StartStop();
    ui.Pump(50ms);
    metronome.StartStop();
    metronome.StartStop();
    metronome.Shutdown();
    const int plays = voices.plays.load();
    ui.Pump(50ms);  // stale tasks run and do nothing
    QCOMPARE(voices.plays.load(), plays);

    audioDone = true;
    audio.join();
  }
};

QTEST_APPLESS_MAIN(TickerStressTest)
#include "ticker_stress_test.moc"
