#include <QTest>

#include <cstdint>
#include <limits>
#include <vector>

#include "audio/mixer.h"
#include "audio/voice_build/convert_for_voice.h"
#include "audio/wave/wave.h"
#include "voice_test_waves.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

constexpr int kRate = 48000;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TBytes Pcm(std::uint16_t channels, std::uint16_t bits, const TBytes& data) {
  return MakePcmWave(channels, kRate, bits, data);
}

// A data chunk that declares more bytes than the image holds.
TBytes CutOff(TBytes image, std::uint32_t missing) {
  // The data chunk's size field sits right before the data, at the end of
  // the canonical 44-byte header.
  constexpr std::size_t kDataSizeAt = 40;
  WriteLe32(image, kDataSizeAt, ReadLe32(image, kDataSizeAt) + missing);
  return image;
}

}  // namespace

class ConvertForVoiceTest : public QObject {
  Q_OBJECT

 private slots:
  // Every accepted layout, at the output's own rate: the values arrive
  // exactly, as stereo float frames.
  void convertsLayout_data() {
    QTest::addColumn<TBytes>("image");
    QTest::addColumn<QList<float>>("frames");  // interleaved left, right
    const auto ext = [](std::uint16_t channels, std::uint16_t bits, std::uint16_t validBits,
                        std::uint16_t subTag, const TBytes& data) {
      const auto align = static_cast<std::uint16_t>(channels * bits / 8);
      return WaveImage(FormatRecord(kTagExtensible, channels, kRate, bits, align,
                                    ExtensibleExtra(validBits, subTag)),
                       data);
    };
    const auto ieee = [](std::uint16_t channels, std::uint16_t bits, const TBytes& data) {
      const auto align = static_cast<std::uint16_t>(channels * bits / 8);
      return WaveImage(FormatRecord(kTagFloat, channels, kRate, bits, align), data);
    };

    QTest::newRow("8-bit mono") << Pcm(1, 8, {128, 255, 0, 64})
                                << QList<float>{0,  0,  127 / 128.0F, 127 / 128.0F,
                                                -1, -1, -0.5F,        -0.5F};
    QTest::newRow("16-bit mono") << Pcm(1, 16, Le16({-32768, 16384, 32767}))
                                 << QList<float>{
                                        -1, -1, 0.5F, 0.5F, 32767 / 32768.0F, 32767 / 32768.0F};
    QTest::newRow("16-bit stereo")
        << Pcm(2, 16, Le16({1000, -1000, -32768, 1}))
        << QList<float>{1000 / 32768.0F, -1000 / 32768.0F, -1, 1 / 32768.0F};
    QTest::newRow("24-bit stereo, full scale")
        << Pcm(2, 24, Le24({0x7FFFFF, -0x800000, 1, -1}))
        << QList<float>{8388607 / 8388608.0F, -1, 1 / 8388608.0F, -1 / 8388608.0F};
    QTest::newRow("32-bit mono, full scale")
        << Pcm(1, 32, Le32({2147483647, -2147483648LL, 65536}))
        << QList<float>{1, 1, -1, -1, 1 / 32768.0F, 1 / 32768.0F};
    // Float values pass as they are, even beyond full scale.
    QTest::newRow("float32 stereo")
        << ieee(2, 32, Float32({0.25F, -0.5F, 1.5F, -1})) << QList<float>{0.25F, -0.5F, 1.5F, -1};
    QTest::newRow("float64 mono") << ieee(1, 64, Float64({0.1, -0.75}))
                                  << QList<float>{0.1F, 0.1F, -0.75F, -0.75F};
    QTest::newRow("float32, NaN and infinity silenced")
        << ieee(1, 32, Float32({kNaN, kInf, -kInf, 0.5F}))
        << QList<float>{0, 0, 0, 0, 0, 0, 0.5F, 0.5F};
    QTest::newRow("extensible 16-bit PCM stereo")
        << ext(2, 16, 16, kTagPcm, Le16({-32768, 16384})) << QList<float>{-1, 0.5F};
    // 24 valid bits in a 32-bit container: the container decides the layout.
    QTest::newRow("extensible 24-in-32 PCM mono")
        << ext(1, 32, 24, kTagPcm, Le32({0x7FFFFF00, -2147483648LL}))
        << QList<float>{8388607 / 8388608.0F, 8388607 / 8388608.0F, -1, -1};
    QTest::newRow("extensible float32 mono")
        << ext(1, 32, 32, kTagFloat, Float32({-0.125F})) << QList<float>{-0.125F, -0.125F};
    QTest::newRow("trailing partial frame ignored")
        << Pcm(2, 16, TBytes{0x00, 0x40, 0x00, 0xC0, 0x11, 0x22, 0x33})
        << QList<float>{0.5F, -0.5F};
    QTest::newRow("data chunk cut off") << CutOff(Pcm(1, 16, Le16({8192, -8192})), 100)
                                        << QList<float>{0.25F, 0.25F, -0.25F, -0.25F};
  }
  void convertsLayout() {
    QFETCH(TBytes, image);
    QFETCH(QList<float>, frames);
    const TVoiceConversion converted = ConvertForVoice(TWave(image), kRate);
    QCOMPARE(converted.Result, std::uint32_t{kSoundOk});
    QVERIFY(converted.Sample != nullptr);
    const std::vector<float>& actual = converted.Sample->Frames;
    QCOMPARE(actual.size(), static_cast<std::size_t>(frames.size()));
    for (std::size_t i = 0; i < actual.size(); ++i) {
      // Exact: at equal rates the values are only converted, never filtered.
      QVERIFY2(
          actual[i] == frames[static_cast<qsizetype>(i)],
          qPrintable(QStringLiteral("value %1: %2, expected %3")
                         .arg(i)
                         .arg(static_cast<double>(actual[i]), 0, 'g', 9)
                         .arg(static_cast<double>(frames[static_cast<qsizetype>(i)]), 0, 'g', 9)));
    }
  }

  // Anything the voices cannot play is refused with the code that says why,
  // and no sample.
  void refusesImage_data() {
    QTest::addColumn<TBytes>("image");
    QTest::addColumn<int>("outputRate");
    QTest::addColumn<std::uint32_t>("code");
    const TBytes twoFrames = Le16({1, 2});
    const std::uint32_t bad = kSoundBadFormat;
    const std::uint32_t invalid = kSoundInvalidParam;

    QTest::newRow("ADPCM (tag 2)")
        << WaveImage(FormatRecord(kTagAdpcm, 1, kRate, 4, 256, TBytes(32, 0)), TBytes(256, 0))
        << kRate << bad;
    QTest::newRow("three channels")
        << WaveImage(FormatRecord(kTagPcm, 3, kRate, 16, 6), Le16({1, 2, 3})) << kRate << bad;
    QTest::newRow("12-bit PCM") << Pcm(1, 12, twoFrames) << kRate << bad;
    QTest::newRow("16-bit float") << WaveImage(FormatRecord(kTagFloat, 1, kRate, 16, 2), twoFrames)
                                  << kRate << bad;
    QTest::newRow("block align not channels x sample size")
        << WaveImage(FormatRecord(kTagPcm, 1, kRate, 16, 4), twoFrames) << kRate << bad;
    QTest::newRow("extensible, ADPCM sub-format")
        << WaveImage(FormatRecord(kTagExtensible, 1, kRate, 16, 2, ExtensibleExtra(16, kTagAdpcm)),
                     twoFrames)
        << kRate << bad;
    QTest::newRow("extensible, record too short")
        << WaveImage(FormatRecord(kTagExtensible, 1, kRate, 16, 2), twoFrames) << kRate << bad;
    QTest::newRow("extensible, more valid bits than the container")
        << WaveImage(FormatRecord(kTagExtensible, 1, kRate, 16, 2, ExtensibleExtra(24, kTagPcm)),
                     twoFrames)
        << kRate << bad;
    QTest::newRow("rate too far from the output's")
        << MakePcmWave(1, 100, 16, twoFrames) << kRate << bad;
    QTest::newRow("empty data") << Pcm(1, 16, {}) << kRate << invalid;
    QTest::newRow("less than one frame") << Pcm(2, 16, TBytes{1, 2, 3}) << kRate << invalid;
    QTest::newRow("zero sample rate") << MakePcmWave(1, 0, 16, twoFrames) << kRate << invalid;
    QTest::newRow("invalid image")
        << TBytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'} << kRate << invalid;
    QTest::newRow("empty image") << TBytes{} << kRate << invalid;
    QTest::newRow("zero output rate") << Pcm(1, 16, twoFrames) << 0 << invalid;
  }
  void refusesImage() {
    QFETCH(TBytes, image);
    QFETCH(int, outputRate);
    QFETCH(std::uint32_t, code);
    const TVoiceConversion converted = ConvertForVoice(TWave(image), outputRate);
    QCOMPARE(converted.Result, code);
    QVERIFY(converted.Sample == nullptr);
  }
};

QTEST_APPLESS_MAIN(ConvertForVoiceTest)
#include "convert_for_voice_test.moc"
