#include <QTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "audio/beat_voice.h"
#include "audio/mixer.h"
#include "audio/voice_gain.h"
#include "tests/support/virtual_output.h"

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

}  // namespace

class MixerTest : public QObject {
  Q_OBJECT

 private slots:
  // A start asked for on a frame begins on exactly that frame, whatever the
  // block size, the converter's rate or the timing reports' jitter.
  void startsLandOnTheirFrames_data() {
    QTest::addColumn<int>("blockFrames");
    QTest::addColumn<double>("ppm");
    QTest::addColumn<double>("jitterNs");
    QTest::newRow("256") << 256 << 0.0 << 0.0;
    QTest::newRow("1024, +480 ppm, jittery reports") << 1024 << 480.0 << 0.4e6;
    QTest::newRow("37, -300 ppm, jittery reports") << 37 << -300.0 << 0.4e6;
  }
  void startsLandOnTheirFrames() {
    QFETCH(int, blockFrames);
    QFETCH(double, ppm);
    QFETCH(double, jitterNs);
    TMixer mixer(kRate);
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Regular), Click(100));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {blockFrames, ppm, jitterNs, 7, true});
    std::vector<std::int64_t> frames;
    std::int64_t frame = 1000;
    for (int i = 0; i < 20; ++i) {
      // From 416 bpm's 6923 frames up to about 20 bpm's, at odd spacings.
      frame += 6923 + i * 7001;
      frames.push_back(frame);
      QCOMPARE(mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Regular), frame, 0, 1), kSoundOk);
      // Handed over a few blocks ahead, as the scheduler does.
      output.RunUntil(Clock::time_point(std::chrono::nanoseconds(
          std::llround(output.TrueTimeNsOfFrame(frame - 4 * blockFrames - 2000)))));
    }
    output.RunUntil(start + std::chrono::seconds(frame / kRate + 1));
    QCOMPARE(Onsets(output.Recording), frames);
    QCOMPARE(mixer.LateStarts(), std::uint64_t{0});
  }

  // A start withdrawn before its frame is rendered never sounds; the others
  // of the same voice and other tags are left alone.
  void withdrawnStartsDoNotSound() {
    TMixer mixer(kRate);
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), Click(10));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 1000, 0, 7);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 30000, 0, 7);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 20000, 0, 8);
    output.RunUntil(start + 100ms);  // frame 1000 has sounded
    mixer.Withdraw(7);
    output.RunUntil(start + 1s);
    QCOMPARE(Onsets(output.Recording), (std::vector<std::int64_t>{1000, 20000}));
  }

  // A start whose frame has already been rendered begins on the next block's
  // first frame when it is only a little late, and is dropped when it is
  // later than that, never played out of time. So is a start asked for
  // "now" that could only be heard long after it was asked for.
  void lateStartsAreDroppedNotPlayedLate() {
    TMixer mixer(kRate);
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), Click(10));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    output.RunUntil(start + 1s);
    const std::int64_t next = output.FramesRendered();
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), next - 100, 0, 1);  // 2 ms late
    output.RunUntil(start + 1100ms);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), next, 0, 1);  // 100 ms late
    output.RunUntil(start + 1200ms);
    QCOMPARE(Onsets(output.Recording), (std::vector<std::int64_t>{next}));
    QCOMPARE(mixer.LateStarts(), std::uint64_t{2});
    QCOMPARE(mixer.DroppedStarts(), std::uint64_t{1});
    // The simulated output runs 10 s ahead of the wall clock: a tap asked
    // for now would be heard 10 s late.
    output.RunUntil(start + 10s);
    mixer.PlayVoice(SlotOf(TVoiceRole::Accent));
    output.RunUntil(start + 10100ms);
    QCOMPARE(Onsets(output.Recording).size(), std::size_t{1});
    QCOMPARE(mixer.DroppedStarts(), std::uint64_t{2});
  }

  // When frames are heard, to well within a millisecond: through the
  // converter running off steady_clock, jittery reports, a report that
  // jumps by 2 ms for seconds with nothing happening, and a real step of
  // 40 ms when the output ran dry.
  void heardAtFollowsTheOutput() {
    TMixer mixer(kRate);
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 480.0, 0.4e6, 3, false});
    double worstMs = 0.0;
    const auto check = [&] {
      const std::int64_t frame = mixer.EarliestFrame();
      const double errorNs = static_cast<double>(mixer.HeardAt(frame).time_since_epoch().count()) -
                             output.TrueTimeNsOfFrame(frame);
      worstMs = std::max(worstMs, std::abs(errorNs) * 1e-6);
    };
    output.RunUntil(start + 2s);
    for (int i = 0; i < 100; ++i) {
      output.RunUntil(start + 2s + i * 100ms);
      check();
    }
    output.BiasReports(2e6, 600);
    for (int i = 0; i < 50; ++i) {
      output.RunUntil(start + 12s + i * 100ms);
      check();
    }
    QVERIFY2(worstMs < 2.2, qPrintable(QString::number(worstMs)));
    output.Dropout(40e6, true);
    output.RunUntil(start + 18s);
    worstMs = 0.0;
    check();
    QVERIFY2(worstMs < 1.0, qPrintable(QString::number(worstMs)));
  }

  // The level travels with each start: a later start at another level,
  // handed over while the voice still sounds, leaves the sounding voice's
  // level alone until its own frame.
  void levelsBelongToTheirStart() {
    TMixer mixer(kRate);
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), Click(2000));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 1000, -2000, 1);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 2500, -600, 1);
    output.RunUntil(start + 500ms);
    const auto at = [&](std::int64_t frame) { return output.Recording[2 * frame]; };
    QVERIFY(std::abs(at(1000) - 0.1F) < 1e-6F);
    QVERIFY(std::abs(at(2499) - 0.1F) < 1e-6F);
    QVERIFY(std::abs(at(2600) - std::pow(10.0F, -0.3F)) < 1e-5F);
  }

  // A voice still sounding at a new start's frame starts again from its
  // beginning, so that every beat sounds; its tail fades out beside the new
  // start within 64 frames instead of breaking off.
  void restartWhileSoundingFadesTheTail() {
    TMixer mixer(kRate);
    auto ramp = std::make_unique<TVoiceSample>();
    for (int i = 0; i < 1000; ++i) {
      ramp->Frames.push_back(static_cast<float>(i + 1));
      ramp->Frames.push_back(static_cast<float>(i + 1));
    }
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), std::move(ramp));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {128, 0.0, 0.0, 1, true});
    const std::int64_t begin = 4800;
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), begin, 0, 1);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), begin + 500, 0, 1);
    output.RunUntil(start + 300ms);
    const auto at = [&](std::int64_t frame) { return output.Recording[2 * frame]; };
    QCOMPARE(at(begin - 1), 0.0F);
    QCOMPARE(at(begin), 1.0F);
    QCOMPARE(at(begin + 499), 500.0F);
    QCOMPARE(at(begin + 500), 1.0F + 501.0F * 63.0F / 64.0F);
    QCOMPARE(at(begin + 563), 64.0F + 564.0F * 0.0F);
    QCOMPARE(at(begin + 564), 65.0F);
    QCOMPARE(at(begin + 1499), 1000.0F);
    QCOMPARE(at(begin + 1500), 0.0F);
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
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Bell), Click(4800));
    mixer.SetVoiceVolume(SlotOf(TVoiceRole::Bell), volume);
    mixer.SetVoicePan(SlotOf(TVoiceRole::Bell), pan);
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoice(SlotOf(TVoiceRole::Bell));
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
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Regular), Click(kRate));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoice(SlotOf(TVoiceRole::Regular));
    output.RunUntil(start + 100ms);
    mixer.SetVoiceVolume(SlotOf(TVoiceRole::Regular), -10000);
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
    QCOMPARE(mixer.PlayVoice(SlotOf(TVoiceRole::Accent)), kSoundOk);
    QCOMPARE(mixer.SetVoiceVolume(SlotOf(TVoiceRole::Accent), -20000), kSoundOk);
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
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), Click(10));
    mixer.SetVoiceVolume(SlotOf(TVoiceRole::Accent), -3000);
    mixer.SetVoicePan(SlotOf(TVoiceRole::Accent), 5000);
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), Click(10, 0.5F));
    const Clock::time_point start = Clock::now();
    TVirtualOutput output(mixer, start, {256, 0.0, 0.0, 1, true});
    mixer.PlayVoice(SlotOf(TVoiceRole::Accent));
    output.RunUntil(start + 50ms);
    QCOMPARE(output.Recording[0], 0.5F);
    QCOMPARE(output.Recording[1], 0.5F);
  }

  // Voices swapped while another thread plays them and a third renders:
  // the audio thread never touches a freed sample (AddressSanitizer) and
  // nothing races (ThreadSanitizer).
  void swapUnderConcurrentPlayer() {
    TMixer mixer(kRate);
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
        mixer.PlayVoiceAtFrame(voice, mixer.EarliestFrame() + 500, -(beat % 2000), 3);
        if (beat % 5 == 0) {
          mixer.Withdraw(3);
        }
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
