#include <QTest>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "audio/mixer.h"
#include "audio/voice_build/convert_for_voice.h"
#include "audio/wave/wave.h"
#include "voice_test_waves.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

constexpr int kOutputRate = 48000;
constexpr double kToneHz = 1000.0;
constexpr double kAmplitude = 0.9;

// A 16-bit mono sine starting at phase 0, so it rises from the first frame.
TBytes Sine(std::uint32_t rate, std::size_t frames) {
  std::vector<std::uint8_t> data;
  for (std::size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double v = kAmplitude * std::sin(2 * std::numbers::pi * kToneHz * t);
    AppendLe16(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
  }
  return MakePcmWave(1, rate, 16, data);
}

// Frequency from the upward zero crossings of the left channel, each placed
// between frames by linear interpolation.
double MeasuredFrequency(const std::vector<float>& frames, int rate) {
  std::vector<double> crossings;
  for (std::size_t i = 2; i < frames.size(); i += 2) {
    const double before = frames[i - 2];
    const double after = frames[i];
    if (before < 0 && after >= 0) {
      crossings.push_back(static_cast<double>(i / 2 - 1) + before / (before - after));
    }
  }
  if (crossings.size() < 2) {
    return 0;
  }
  const double cycles = static_cast<double>(crossings.size() - 1);
  return cycles * rate / (crossings.back() - crossings.front());
}

}  // namespace

class VoiceResampleTest : public QObject {
  Q_OBJECT

 private slots:
  // A sample at another rate is resampled to the output's: the length scales
  // with the rates, including the converter's flushed tail, the pitch stays,
  // and the attack stays at the start.
  void keepsLengthPitchAndAttack_data() {
    QTest::addColumn<int>("rate");
    QTest::newRow("44100") << 44100;
    QTest::newRow("22050") << 22050;
    QTest::newRow("96000") << 96000;
  }
  void keepsLengthPitchAndAttack() {
    QFETCH(int, rate);
    const std::size_t inFrames = static_cast<std::size_t>(rate) / 4;  // 250 ms
    const TVoiceConversion converted =
        ConvertForVoice(TWave(Sine(static_cast<std::uint32_t>(rate), inFrames)), kOutputRate);
    QCOMPARE(converted.Result, std::uint32_t{kSoundOk});
    const std::vector<float>& frames = converted.Sample->Frames;

    const double expectedFrames = static_cast<double>(inFrames) * kOutputRate / rate;
    QVERIFY2(std::abs(static_cast<double>(converted.Sample->FrameCount()) - expectedFrames) <= 2,
             qPrintable(QString::number(converted.Sample->FrameCount())));

    const double frequency = MeasuredFrequency(frames, kOutputRate);
    QVERIFY2(std::abs(frequency - kToneHz) < 1.0, qPrintable(QString::number(frequency)));

    // The sine first reaches half its peak after asin(0.5) / (2 pi f).
    const double halfPeakFrame = std::asin(0.5) / (2 * std::numbers::pi * kToneHz) * kOutputRate;
    std::size_t firstLoud = 0;
    while (firstLoud < frames.size() / 2 && std::abs(frames[2 * firstLoud]) < 0.5 * kAmplitude) {
      ++firstLoud;
    }
    QVERIFY2(std::abs(static_cast<double>(firstLoud) - halfPeakFrame) <= 1.5,
             qPrintable(QString::number(firstLoud)));

    // Mono stays centred.
    for (std::size_t i = 0; i < frames.size(); i += 2) {
      QCOMPARE(frames[i + 1], frames[i]);
    }
  }
};

QTEST_APPLESS_MAIN(VoiceResampleTest)
#include "voice_resample_test.moc"
