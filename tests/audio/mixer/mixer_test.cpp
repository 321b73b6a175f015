#include <QTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "audio/beat_voice.h"
#include "audio/mixer.h"
#include "audio/virtual_output.h"
#include "audio/voice_gain.h"

using namespace zelmora;
using namespace std::chrono_literals;
using Clock = TMixer::Clock;

namespace {

constexpr int kRate = 48000;

// A click whose first frame is loud, so its start frame can be read off the
// recording exactly.
std::unique_ptr<TVoiceSample> Click(std::size_t frames, float level = 1.0F) {
  auto sample = std::make_unique<TVoiceSample>();
  sample->Frames.assign(2 * frames, level);
  return sample;
}

// Frames (left channel) at which sound begins after at least one silent frame.
std::vector<std::int64_t> Onsets(const std::vector<float>& recording) {
  std::vector<std::int64_t> onsets;
  bool silent = true;
  for (std::size_t i = 0; i + 1 < recording.size(); i += 2) {
    const bool sounding = recording[i] != 0.0F || recording[i + 1] != 0.0F;
    if (sounding && silent) {
      onsets.push_back(static_cast<std::int64_t>(i / 2));
    }
    silent = !sounding;
  }
  return onsets;
}

double Ns(Clock::time_point t) {
  return static_cast<double>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count());
}

// The first interval between starts that is more than a frame off the
// interval between their requests, described; empty when there is none.
QString IntervalOffByMoreThanAFrame(const std::vector<std::int64_t>& onsets,
                                    const std::vector<Clock::time_point>& requests,
                                    const TVirtualOutput& output) {
  for (std::size_t i = 1; i < onsets.size(); ++i) {
    const double wanted = (Ns(requests[i]) - Ns(requests[i - 1])) / output.FramePeriodNs();
    const double got = static_cast<double>(onsets[i] - onsets[i - 1]);
    if (std::abs(got - wanted) > 1.0) {
      return QString("interval %1: %2 frames, wanted %3").arg(i).arg(got).arg(wanted, 0, 'f', 3);
    }
  }
  return {};
}

}  // namespace

class MixerTest : public QObject {
  Q_OBJECT

 private slots:
  // Starts land on the frame that sounds a constant latency after the
  // requested time, for any block size, a converter off steady_clock, and
  // jittery timing reports.
  void startsAreSampleExact_data() {
    QTest::addColumn<int>("blockFrames");
    QTest::addColumn<double>("ppm");
    QTest::addColumn<double>("jitterNs");
    QTest::addColumn<double>("callbackJitterNs");
    QTest::newRow("ideal, 256") << 256 << 0.0 << 0.0 << 0.0;
    QTest::newRow("ideal, 1024") << 1024 << 0.0 << 0.0 << 0.0;
    // Reports off by up to 0.4 ms either way: as jittery as PortAudio's
    // over PulseAudio measured here (about 0.23 ms rms); callbacks up to
    // 4 ms early or late (they come in pairs there).
    QTest::newRow("+480 ppm, jitter, 256") << 256 << 480.0 << 0.4e6 << 4e6;
    QTest::newRow("-300 ppm, jitter, 1024") << 1024 << -300.0 << 0.4e6 << 4e6;
    QTest::newRow("+480 ppm, jitter, 37") << 37 << 480.0 << 0.4e6 << 4e6;
  }
  void startsAreSampleExact() {
    QFETCH(int, blockFrames);
    QFETCH(double, ppm);
    QFETCH(double, jitterNs);
    QFETCH(double, callbackJitterNs);
    TMixer mixer(kRate);
    mixer.SetLatency(30ms);
    mixer.SetVoiceSample(kRegularSlot, Click(100));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {blockFrames, ppm, jitterNs, 7, true, callbackJitterNs});
    // Let the clock lock onto the converter before measuring, as it has long
    // done when the user starts the metronome (its memory grows with the
    // output's age, to two minutes).
    output.RunUntil(start + 60s);
    const std::size_t lockedAt = output.Recording.size();

    std::vector<Clock::time_point> requests;
    Clock::time_point t = start + 60s + 3ms;
    for (int i = 0; i < 20; ++i) {
      // Beats of a little more than 144 ms (416 bpm) up to 3 s (20 bpm),
      // at odd nanosecond offsets.
      t += std::chrono::nanoseconds(144'230'769 + i * 150'000'017LL);
      requests.push_back(t);
      QCOMPARE(mixer.PlayVoiceAt(kRegularSlot, t), kSoundOk);
      output.RunUntil(t);
    }
    output.RunUntil(t + 100ms);
    QCOMPARE(mixer.LateStarts(), std::uint64_t{0});

    const std::vector<float> measured(output.Recording.begin() + lockedAt, output.Recording.end());
    const std::vector<std::int64_t> onsets = Onsets(measured);
    QCOMPARE(onsets.size(), requests.size());
    const auto first = static_cast<std::int64_t>(lockedAt / 2);
    const QString offInterval = IntervalOffByMoreThanAFrame(onsets, requests, output);
    QVERIFY2(offInterval.isEmpty(), qPrintable(offInterval));
    // And each start is where the latency says, give or take the clock's
    // residual error (jitter filtered down to well under a millisecond).
    for (std::size_t i = 0; i < onsets.size(); ++i) {
      const double soundsAt = output.TrueTimeNsOfFrame(first + onsets[i]);
      const double wantedAt = Ns(requests[i]) + 30e6;
      QVERIFY2(
          std::abs(soundsAt - wantedAt) < (jitterNs > 0 ? 0.25e6 : 30e3),
          qPrintable(QString("start %1 off by %2 us").arg(i).arg((soundsAt - wantedAt) / 1e3)));
    }
  }

  // The output runs dry for a moment (an underrun): later frames sound later
  // than the old line says. When the driver flags the dropout, starts after
  // it land where they belong again. When nothing but the timing reports
  // tells of it, the line stays (the reports also jump with nothing having
  // happened): every later start is late by the gap, all alike, so their
  // spacing stays exact. Reports that are off while the output runs on
  // undisturbed (one wild reading, the driver's estimate jumping for
  // seconds) move nothing.
  void dropoutMovesTheLine_data() {
    QTest::addColumn<double>("gapNs");
    QTest::addColumn<bool>("flagged");
    QTest::addColumn<double>("biasNs");
    QTest::addColumn<int>("biasBlocks");
    QTest::addColumn<int>("waitSeconds");
    QTest::addColumn<int>("steps");
    QTest::addColumn<double>("lateNs");
    QTest::newRow("3 ms, flagged") << 3e6 << true << 0.0 << 0 << 1 << 1 << 0.0;
    QTest::newRow("40 ms, flagged") << 40e6 << true << 0.0 << 0 << 1 << 1 << 0.0;
    QTest::newRow("2 ms, not flagged") << 2e6 << false << 0.0 << 0 << 20 << 0 << 2e6;
    QTest::newRow("one report 4 ms off") << 0.0 << false << 4e6 << 1 << 1 << 0 << 0.0;
    QTest::newRow("one report 40 ms early") << 0.0 << false << -40e6 << 1 << 1 << 0 << 0.0;
    // 8 s of blocks: the starts below all fall inside.
    QTest::newRow("reports 2 ms late for 8 s") << 0.0 << false << 2e6 << 1400 << 1 << 0 << 0.0;
  }
  void dropoutMovesTheLine() {
    QFETCH(double, gapNs);
    QFETCH(bool, flagged);
    QFETCH(double, biasNs);
    QFETCH(int, biasBlocks);
    QFETCH(int, waitSeconds);
    QFETCH(int, steps);
    QFETCH(double, lateNs);
    TMixer mixer(kRate);
    mixer.SetLatency(30ms);
    mixer.SetVoiceSample(kRegularSlot, Click(100));
    Clock::time_point t = Clock::now();
    TVirtualOutput output(mixer, t, {256, 480.0, 0.4e6, 11, true});
    t += 30s;
    output.RunUntil(t);
    output.Dropout(gapNs, flagged);
    output.BiasReports(biasNs, biasBlocks);
    t += std::chrono::seconds(waitSeconds);
    output.RunUntil(t);
    const std::size_t from = output.Recording.size();
    std::vector<Clock::time_point> requests;
    for (int i = 0; i < 10; ++i) {
      t += 500ms + std::chrono::nanoseconds(i * 7'000'003LL);
      requests.push_back(t);
      mixer.PlayVoiceAt(kRegularSlot, t);
      output.RunUntil(t);
    }
    output.RunUntil(t + 100ms);
    const std::vector<float> after(output.Recording.begin() + from, output.Recording.end());
    const std::vector<std::int64_t> onsets = Onsets(after);
    QCOMPARE(onsets.size(), requests.size());
    const auto first = static_cast<std::int64_t>(from / 2);
    for (std::size_t i = 0; i < onsets.size(); ++i) {
      const double soundsAt = output.TrueTimeNsOfFrame(first + onsets[i]);
      const double wantedAt = Ns(requests[i]) + 30e6 + lateNs;
      QVERIFY2(
          std::abs(soundsAt - wantedAt) < 0.1e6,
          qPrintable(QString("start %1 off by %2 us").arg(i).arg((soundsAt - wantedAt) / 1e3)));
    }
    QCOMPARE(mixer.ClockRestarts(), steps);
  }

  // After a dropout the driver's reports can lie for many seconds while the
  // output runs on straight (measured: late by most of a millisecond, then
  // creeping back). The spacing of the starts must not follow them.
  void creepingReportsLeaveTheSpacingAlone() {
    TMixer mixer(kRate);
    mixer.SetLatency(30ms);
    mixer.SetVoiceSample(kRegularSlot, Click(100));
    Clock::time_point t = Clock::now();
    TVirtualOutput output(mixer, t, {256, 480.0, 0.1e6, 5, true, 4e6});
    t += 90s;
    output.RunUntil(t);
    output.Dropout(20e6, true);
    output.RunUntil(t + 100ms);
    const std::size_t from = output.Recording.size();
    // 0.7 ms late, back to the truth over 15 s, in steps of 1/20 s.
    constexpr int kSteps = 300;
    const int blocksPerStep = kRate / 20 / 256;
    std::vector<Clock::time_point> requests;
    for (int i = 0; i < kSteps; ++i) {
      output.BiasReports(0.7e6 * (kSteps - i) / kSteps, blocksPerStep);
      for (int b = 0; b < blocksPerStep; ++b) {
        output.RunBlock();
      }
      if (i % 20 == 10) {
        // At odd offsets from the frames, so that rounding varies.
        requests.push_back(Clock::time_point(std::chrono::nanoseconds(
            std::llround(output.TrueTimeNsOfFrame(output.FramesRendered())) +
            static_cast<std::int64_t>(requests.size()) * 7'000'003)));
        mixer.PlayVoiceAt(kRegularSlot, requests.back());
      }
    }
    output.RunUntil(requests.back() + 100ms);
    const std::vector<float> after(output.Recording.begin() + from, output.Recording.end());
    const std::vector<std::int64_t> onsets = Onsets(after);
    QCOMPARE(onsets.size(), requests.size());
    const QString offInterval = IntervalOffByMoreThanAFrame(onsets, requests, output);
    QVERIFY2(offInterval.isEmpty(), qPrintable(offInterval));
  }

  // A voice still sounding at the requested frame is not restarted; one that
  // has ended starts again from its beginning.
  void noRestartWhileSounding() {
    TMixer mixer(kRate);
    mixer.SetLatency(20ms);
    auto ramp = std::make_unique<TVoiceSample>();
    for (int i = 0; i < 1000; ++i) {
      ramp->Frames.push_back(static_cast<float>(i + 1));
      ramp->Frames.push_back(static_cast<float>(i + 1));
    }
    mixer.SetVoiceSample(kAccentSlot, std::move(ramp));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {128, 0.0, 0.0, 1, true});
    const auto frames = [&](double n) {
      return std::chrono::nanoseconds(std::llround(n * output.FramePeriodNs()));
    };
    const Clock::time_point t = start + 100ms;
    mixer.PlayVoiceAt(kAccentSlot, t);
    mixer.PlayVoiceAt(kAccentSlot, t + frames(500));   // still sounding: ignored
    mixer.PlayVoiceAt(kAccentSlot, t + frames(999));   // last frame: still sounding
    mixer.PlayVoiceAt(kAccentSlot, t + frames(1000));  // just ended: starts again
    output.RunUntil(t + 200ms);
    const auto at = [&](std::int64_t frame) { return output.Recording[2 * frame]; };
    const std::int64_t begin = std::llround((Ns(t) + 20e6 - Ns(start)) / output.FramePeriodNs());
    QCOMPARE(at(begin - 1), 0.0F);
    QCOMPARE(at(begin), 1.0F);
    QCOMPARE(at(begin + 500), 501.0F);
    QCOMPARE(at(begin + 999), 1000.0F);
    QCOMPARE(at(begin + 1000), 1.0F);
    QCOMPARE(at(begin + 1999), 1000.0F);
    QCOMPARE(at(begin + 2000), 0.0F);
  }

  void volumeAndPanLaws_data() {
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("pan");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    QTest::newRow("full") << 0 << 0 << 1.0 << 1.0;
    QTest::newRow("-6 dB") << -600 << 0 << std::pow(10.0, -0.3) << std::pow(10.0, -0.3);
    QTest::newRow("-51 dB") << -5100 << 0 << std::pow(10.0, -2.55) << std::pow(10.0, -2.55);
    QTest::newRow("silence") << -10000 << 0 << 0.0 << 0.0;
    QTest::newRow("below silence") << -20000 << 0 << 0.0 << 0.0;
    QTest::newRow("above full") << 500 << 0 << 1.0 << 1.0;
    QTest::newRow("pan right attenuates left") << 0 << 3000 << std::pow(10.0, -1.5) << 1.0;
    QTest::newRow("pan left attenuates right") << 0 << -3000 << 1.0 << std::pow(10.0, -1.5);
    QTest::newRow("full right") << 0 << 10000 << 0.0 << 1.0;
    QTest::newRow("level and pan") << -600 << -1000 << std::pow(10.0, -0.3) << std::pow(10.0, -0.8);
  }
  void volumeAndPanLaws() {
    QFETCH(int, volume);
    QFETCH(int, pan);
    QFETCH(double, left);
    QFETCH(double, right);
    TMixer mixer(kRate);
    mixer.SetVoiceSample(kBellSlot, Click(4800));
    mixer.SetVoiceVolume(kBellSlot, volume);
    mixer.SetVoicePan(kBellSlot, pan);
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoiceAt(kBellSlot, start + 10ms);
    output.RunUntil(start + 200ms);
    const std::vector<std::int64_t> onsets = Onsets(output.Recording);
    if (left == 0.0 && right == 0.0) {
      QVERIFY(onsets.empty());
      return;
    }
    QCOMPARE(onsets.size(), std::size_t{1});
    // The voice starts at its level: no ramp on the first frame.
    const std::size_t frame = static_cast<std::size_t>(onsets[0]);
    QVERIFY(std::abs(output.Recording[2 * frame] - left) < 1e-6);
    QVERIFY(std::abs(output.Recording[2 * frame + 1] - right) < 1e-6);
    QVERIFY(std::abs(output.Recording[2 * (frame + 2000) + 1] - right) < 1e-6);
  }

  // A level change on a sounding voice glides instead of jumping.
  void volumeChangeDoesNotClick() {
    TMixer mixer(kRate);
    mixer.SetVoiceSample(kRegularSlot, Click(kRate));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoiceAt(kRegularSlot, start);
    output.RunUntil(start + 100ms);
    mixer.SetVoiceVolume(kRegularSlot, -10000);
    output.RunUntil(start + 200ms);
    float largestStep = 0.0F;
    for (std::size_t i = 2 * 4800; i + 2 < output.Recording.size(); i += 2) {
      largestStep = std::max(largestStep, std::abs(output.Recording[i + 2] - output.Recording[i]));
    }
    QVERIFY2(largestStep < 0.03F, qPrintable(QString::number(largestStep)));
    QCOMPARE(output.Recording.back(), 0.0F);
  }

  void emptyVoicesAcceptEverything() {
    TMixer mixer(kRate);
    QCOMPARE(mixer.PlayVoice(kAccentSlot), kSoundOk);
    QCOMPARE(mixer.SetVoiceVolume(kAccentSlot, -20000), kSoundOk);
    TVoice noDevice;
    QCOMPARE(noDevice.PlayVoice(), kSoundOk);
    QCOMPARE(noDevice.SetVoicePan(-3000), kSoundOk);
    QVERIFY(noDevice.IsEmpty());
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    output.RunUntil(start + 50ms);
    QVERIFY(Onsets(output.Recording).empty());
  }

  // A rebuilt voice starts at level 0 and pan 0, as a new buffer does.
  void newSampleStartsAtLevelAndPanZero() {
    TMixer mixer(kRate);
    mixer.SetVoiceSample(kAccentSlot, Click(10));
    mixer.SetVoiceVolume(kAccentSlot, -3000);
    mixer.SetVoicePan(kAccentSlot, 5000);
    mixer.SetVoiceSample(kAccentSlot, Click(10, 0.5F));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoiceAt(kAccentSlot, start);
    output.RunUntil(start + 50ms);
    QCOMPARE(output.Recording[0], 0.5F);
    QCOMPARE(output.Recording[1], 0.5F);
  }

  // Voices swapped while another thread plays them and a third renders:
  // the audio thread never touches a freed sample (AddressSanitizer) and
  // nothing races (ThreadSanitizer).
  void swapUnderConcurrentPlayer() {
    TMixer mixer(kRate);
    mixer.SetLatency(5ms);
    for (int v = 0; v < TMixer::kVoices; ++v) {
      mixer.SetVoiceSample(v, Click(300));
    }
    std::atomic<bool> done{false};
    std::thread audio([&] {
      const Clock::time_point start = Clock::now();
      TVirtualOutput output(mixer, start, {64, 0.0, 2e5, 3, false});
      while (!done.load()) {
        output.RunBlock();
        // Keep the simulated converter near real time so requests land.
        std::this_thread::sleep_until(
            start + std::chrono::nanoseconds(std::llround(
                        static_cast<double>(output.FramesRendered()) * output.FramePeriodNs())));
      }
    });
    std::thread player([&] {
      int beat = 0;
      while (!done.load()) {
        const int voice = beat++ % TMixer::kVoices;
        mixer.SetVoiceVolume(voice, -(beat % 3000));
        mixer.PlayVoice(voice);
        std::this_thread::sleep_for(300us);
      }
    });
    for (int i = 0; i < 300; ++i) {
      mixer.SetVoiceSample(i % TMixer::kVoices,
                           i % 7 == 6 ? nullptr : Click(200 + static_cast<std::size_t>(i)));
      std::this_thread::sleep_for(1ms);
    }
    done = true;
    player.join();
    audio.join();
    mixer.CollectRetired();
    QVERIFY(mixer.BlocksRendered() > 100);
  }

  void gainLaws() {
    QCOMPARE(GainForLevel(0), 1.0F);
    QCOMPARE(GainForLevel(-10000), 0.0F);
    QVERIFY(std::abs(GainForLevel(-2000) - 0.1F) < 1e-6F);
  }
};

QTEST_APPLESS_MAIN(MixerTest)
#include "mixer_test.moc"
