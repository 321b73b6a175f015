// The volume boost: the value arithmetic with its clipping, and the layouts
// it leaves alone.

#include <QTest>

#include "audio/wave/wave.h"
#include "tests/audio/wave_test_bytes.h"

using namespace zelmora;
using namespace zelmora::test;

class WaveScaleVolumeTest : public QObject {
  Q_OBJECT

 private slots:
  void scales16Bit_data();
  void scales16Bit();
  void scales8Bit_data();
  void scales8Bit();
  void leavesOtherLayoutsAlone_data();
  void leavesOtherLayoutsAlone();
  void scalesOnlyWholeValuesPresent();
};

void WaveScaleVolumeTest::scales16Bit_data() {
  QTest::addColumn<int>("percent");
  QTest::addColumn<int>("value");
  QTest::addColumn<int>("expected");

  QTest::newRow("20000 clips") << 99 << 20000 << 32767;
  QTest::newRow("-100") << 99 << -100 << -199;
  QTest::newRow("1 truncates toward zero") << 99 << 1 << 1;
  QTest::newRow("-1 truncates toward zero") << 99 << -1 << -1;
  QTest::newRow("-32768 clips to -32767") << 99 << -32768 << -32767;
  QTest::newRow("-20000 clips") << 99 << -20000 << -32767;
  QTest::newRow("0") << 99 << 0 << 0;
  QTest::newRow("halving") << -50 << -1001 << -501;
  QTest::newRow("-32768 at 0 percent") << 0 << -32768 << -32767;
  QTest::newRow("large percent") << 2147483647 << 2 << 32767;
  QTest::newRow("large negative percent") << -2147483647 - 1 << 2 << -32767;
}

void WaveScaleVolumeTest::scales16Bit() {
  QFETCH(int, percent);
  QFETCH(int, value);
  QFETCH(int, expected);

  // Both channels of a stereo frame change alike.
  const auto raw = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
  TWave wave(PcmImage(Fmt16(2, 44100, 16), Cat({Le16(raw), Le16(raw)})));
  QCOMPARE(wave.ScaleVolume(percent), expected != value);
  const auto out = static_cast<std::uint16_t>(static_cast<std::int16_t>(expected));
  QCOMPARE(wave.PresentData()[0] | wave.PresentData()[1] << 8, int{out});
  QCOMPARE(wave.PresentData()[2] | wave.PresentData()[3] << 8, int{out});
}

void WaveScaleVolumeTest::scales8Bit_data() {
  QTest::addColumn<int>("percent");
  QTest::addColumn<int>("value");
  QTest::addColumn<int>("expected");

  QTest::newRow("200 clips") << 99 << 200 << 255;
  QTest::newRow("100") << 99 << 100 << 73;
  QTest::newRow("128 is silence") << 99 << 128 << 128;
  QTest::newRow("129 truncates toward zero") << 99 << 129 << 129;
  QTest::newRow("127 truncates toward zero") << 99 << 127 << 127;
  QTest::newRow("0 clips") << 99 << 0 << 0;
  QTest::newRow("halving") << -50 << 0 << 64;
}

void WaveScaleVolumeTest::scales8Bit() {
  QFETCH(int, percent);
  QFETCH(int, value);
  QFETCH(int, expected);

  TWave wave(PcmImage(Fmt16(1, 8000, 8), Bytes{static_cast<std::uint8_t>(value)}));
  QCOMPARE(wave.ScaleVolume(percent), expected != value);
  QCOMPARE(int{wave.PresentData()[0]}, expected);
}

void WaveScaleVolumeTest::leavesOtherLayoutsAlone_data() {
  QTest::addColumn<Bytes>("fmt");

  QTest::newRow("24-bit") << Fmt16(1, 44100, 24);
  QTest::newRow("96000 Hz") << Fmt16(1, 96000, 16);
  QTest::newRow("32000 Hz") << Fmt16(2, 32000, 8);
  QTest::newRow("3 channels") << Fmt16(3, 44100, 16);
  QTest::newRow("float") << Fmt16(1, 44100, 16, 3);
  QTest::newRow("extensible") << Cat({Fmt16(2, 48000, 16, 0xFFFE), Le16(22), Bytes(22)});
}

void WaveScaleVolumeTest::leavesOtherLayoutsAlone() {
  QFETCH(Bytes, fmt);

  const Bytes image = PcmImage(fmt, Pattern(120, 64));
  TWave wave(image);
  QVERIFY(wave.IsValid());
  QVERIFY(!wave.ScaleVolume(99));
  QCOMPARE(wave.Image(), image);
}

void WaveScaleVolumeTest::scalesOnlyWholeValuesPresent() {
  // A file cut off after two whole values and one odd byte of its data.
  const Bytes data = Cat({Le16(1000), Le16(static_cast<std::uint16_t>(-1000)), Bytes{0x50}});
  const Bytes image = Cat({Id("RIFF"), Le32(2000), Id("WAVE"), Chunk("fmt ", Fmt16(1, 44100, 16)),
                           Id("data"), Le32(1000), data});
  TWave wave(image);
  QVERIFY(wave.ScaleVolume(99));
  const Bytes scaled = Cat({Le16(1990), Le16(static_cast<std::uint16_t>(-1990)), Bytes{0x50}});
  QCOMPARE(wave.Image(), Cat({First(image, 44), scaled}));
  QCOMPARE(wave.SampleBytes(), 1000u);
}

QTEST_APPLESS_MAIN(WaveScaleVolumeTest)
#include "wave_scale_volume_test.moc"
