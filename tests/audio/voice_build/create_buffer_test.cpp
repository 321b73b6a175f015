#include <QTest>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "audio/beat_voice.h"
#include "audio/mixer.h"
#include "audio/voice_build/convert_for_voice.h"
#include "audio/voice_build/create_buffer.h"
#include "audio/voice_build/sound_error_text.h"
#include "audio/wave/wave_storage.h"
#include "tests/support/virtual_output.h"
#include "voice_test_waves.h"

using namespace zelmora;
using namespace zelmora::test;
using namespace std::chrono_literals;
using Clock = TMixer::Clock;

namespace {

constexpr int kMixerRate = 48000;

class TRecordedMessages : public TAudioMessages {
 public:
  void ShowMessage(const std::string& text) override { Texts.push_back(text); }
  std::vector<std::string> Texts;
};

// A short 16-bit mono burst starting at `first`, alternating in sign and
// falling off, with no zero value.
TBytes Burst(std::uint32_t rate, std::int16_t first) {
  TBytes data;
  for (int i = 0; i < 96; ++i) {
    const int value = (i % 2 == 0 ? first : -first) >> (i % 3);
    AppendLe16(data, static_cast<std::uint16_t>(value));
  }
  return MakePcmWave(1, rate, 16, data);
}

// Plays each voice at full level at its time (ms after the start) and
// records the output.
std::vector<float> Render(TMixer& mixer, const std::vector<std::pair<TVoice*, int>>& plays) {
  const Clock::time_point start = Clock::now();
  TVirtualOutput output(mixer, start, {});
  for (const auto& [voice, ms] : plays) {
    mixer.PlayVoiceAtFrame(voice->MixerSlot(), std::int64_t{ms} * mixer.SampleRate() / 1000, 0, 1);
  }
  output.RunUntil(start + 100ms);
  return output.Recording;
}

// Frames at which sound begins after silence, with the left value there.
std::vector<std::pair<std::size_t, float>> Onsets(const std::vector<float>& recording) {
  std::vector<std::pair<std::size_t, float>> onsets;
  bool silent = true;
  for (std::size_t i = 0; i + 1 < recording.size(); i += 2) {
    const bool sounding = recording[i] != 0.0F || recording[i + 1] != 0.0F;
    if (sounding && silent) {
      onsets.emplace_back(i / 2, recording[i]);
    }
    silent = !sounding;
  }
  return onsets;
}

std::int16_t FirstValue(const TWave& wave) {
  return static_cast<std::int16_t>(ReadLe16(wave.PresentData(), 0));
}

}  // namespace

class CreateBufferTest : public QObject {
  Q_OBJECT

 private slots:
  // The boost scales the holder's own sample, again on every build, and the
  // voice then plays exactly what the holder's sample converts to.
  void buildsVoiceFromHolder_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<bool>("boost");
    QTest::addColumn<int>("builds");
    QTest::addColumn<int>("firstValue");  // the holder's, after the builds
    QTest::newRow("plain") << kMixerRate << false << 1 << 1000;
    QTest::newRow("boosted") << kMixerRate << true << 1 << 1990;
    QTest::newRow("boosted twice") << kMixerRate << true << 2 << 3960;
    QTest::newRow("plain, built twice") << kMixerRate << false << 2 << 1000;
    QTest::newRow("boosted, resampled") << 44100 << true << 1 << 1990;
  }
  void buildsVoiceFromHolder() {
    QFETCH(int, rate);
    QFETCH(bool, boost);
    QFETCH(int, builds);
    QFETCH(int, firstValue);
    TMixer mixer(kMixerRate);
    TVoice voice(&mixer, TVoiceRole::Accent);
    TWaveStorage holder{TWave(Burst(static_cast<std::uint32_t>(rate), 1000))};
    TRecordedMessages messages;

    for (int i = 0; i < builds; ++i) {
      CreateBuffer(voice, holder, boost, messages);
    }

    QVERIFY(messages.Texts.empty());
    QCOMPARE(FirstValue(holder.Wave), firstValue);
    QVERIFY(!voice.IsEmpty());
    const TVoiceConversion expected = ConvertForVoice(holder.Wave, kMixerRate);
    const std::vector<float> recording = Render(mixer, {{&voice, 10}});
    const auto onsets = Onsets(recording);
    QVERIFY(!onsets.empty());
    const std::size_t from = 2 * onsets.front().first;
    const std::vector<float>& frames = expected.Sample->Frames;
    QVERIFY(recording.size() >= from + frames.size());
    // At level 0 and centre pan the mix is the sample itself.
    for (std::size_t i = 0; i < frames.size(); ++i) {
      QCOMPARE(recording[from + i], frames[i]);
    }
  }

  // A sample the voices cannot play empties its voice, says why once, and
  // leaves the other voices playing.
  void refusedSampleEmptiesOnlyItsVoice_data() {
    QTest::addColumn<TBytes>("image");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("ADPCM") << WaveImage(
                                  FormatRecord(kTagAdpcm, 1, kMixerRate, 4, 256, TBytes(32, 0)),
                                  TBytes(256, 0))
                           << QByteArray("The specified wave format is not supported.");
    QTest::newRow("empty data")
        << MakePcmWave(1, kMixerRate, 16, {})
        << QByteArray("An invalid parameter was passed to the returning function.");
  }
  void refusedSampleEmptiesOnlyItsVoice() {
    QFETCH(TBytes, image);
    QFETCH(QByteArray, message);
    TMixer mixer(kMixerRate);
    TVoice accent(&mixer, TVoiceRole::Accent);
    TVoice regular(&mixer, TVoiceRole::Regular);
    TVoice bell(&mixer, TVoiceRole::Bell);
    TWaveStorage accentHolder{TWave(Burst(kMixerRate, 8192))};
    TWaveStorage regularHolder{TWave(Burst(kMixerRate, 4096))};
    TWaveStorage bellHolder{TWave(Burst(kMixerRate, 16384))};
    TRecordedMessages messages;
    CreateBuffer(accent, accentHolder, false, messages);
    CreateBuffer(regular, regularHolder, false, messages);
    CreateBuffer(bell, bellHolder, false, messages);
    QVERIFY(messages.Texts.empty());

    regularHolder.Wave.SetImage(image);
    CreateBuffer(regular, regularHolder, true, messages);

    QCOMPARE(messages.Texts.size(), std::size_t{1});
    QCOMPARE(QByteArray::fromStdString(messages.Texts.front()), message);
    QVERIFY(regular.IsEmpty());
    QVERIFY(!accent.IsEmpty());
    QVERIFY(!bell.IsEmpty());
    const auto onsets = Onsets(Render(mixer, {{&accent, 10}, {&regular, 30}, {&bell, 50}}));
    QCOMPARE(onsets.size(), std::size_t{2});
    QCOMPARE(onsets[0].second, 0.25F);
    QCOMPARE(onsets[1].second, 0.5F);
  }

  // Without an output device there is no voice to build: the holder keeps
  // its sample unboosted and nothing is shown.
  void voiceWithoutMixerIsLeftAlone() {
    TVoice voice;
    TWaveStorage holder{TWave(Burst(kMixerRate, 1000))};
    const std::vector<std::uint8_t> before = holder.Wave.Image();
    TRecordedMessages messages;
    CreateBuffer(voice, holder, true, messages);
    QVERIFY(holder.Wave.Image() == before);
    QVERIFY(messages.Texts.empty());
    QVERIFY(voice.IsEmpty());
  }
};

QTEST_APPLESS_MAIN(CreateBufferTest)
#include "create_buffer_test.moc"
