// Durations and byte counts of a sample: the arithmetic the cut relies on.

#include <QTest>

#include "audio/wave/wave.h"
#include "tests/audio/wave_test_bytes.h"

using namespace zelmora;
using namespace zelmora::test;

class WaveMeasureTest : public QObject {
  Q_OBJECT

 private slots:
  void durationMs_data();
  void durationMs();
  void bytesForMs_data();
  void bytesForMs();
  void invalidImageMeasuresNothing();
};

void WaveMeasureTest::durationMs_data() {
  QTest::addColumn<quint32>("avgBytesPerSec");
  QTest::addColumn<quint32>("declaredBytes");
  QTest::addColumn<qulonglong>("expected");

  QTest::newRow("exact") << 88200u << 22050u << 250ull;
  QTest::newRow("rounds down") << 3u << 1u << 333ull;
  QTest::newRow("rounds up") << 3u << 2u << 667ull;
  QTest::newRow("half rounds away from zero") << 2000u << 3u << 2ull;
  QTest::newRow("half of one ms") << 2000u << 1u << 1ull;
  QTest::newRow("249.50 ms rounds to 250") << 88200u << 22006u << 250ull;
  QTest::newRow("250.51 ms rounds to 251") << 88200u << 22095u << 251ull;
  QTest::newRow("empty data") << 88200u << 0u << 0ull;
  QTest::newRow("zero byte rate") << 0u << 1000u << 0ull;
  QTest::newRow("largest declared size") << 1u << 0xFFFFFFFFu << 4294967295000ull;
}

void WaveMeasureTest::durationMs() {
  QFETCH(quint32, avgBytesPerSec);
  QFETCH(quint32, declaredBytes);
  QFETCH(qulonglong, expected);

  // The duration follows the declared size, even when the data is cut off.
  const TWave wave(
      Riff(Cat({Chunk("fmt ", FmtRates(avgBytesPerSec, 1)), Chunk("data", {}, declaredBytes)})));
  QVERIFY(wave.IsValid());
  QCOMPARE(wave.DurationMs(), expected);
}

void WaveMeasureTest::bytesForMs_data() {
  QTest::addColumn<quint32>("avgBytesPerSec");
  QTest::addColumn<quint16>("blockAlign");
  QTest::addColumn<quint32>("ms");
  QTest::addColumn<qulonglong>("expected");

  QTest::newRow("16-bit stereo 48000, 250 ms") << 192000u << quint16{4} << 250u << 48000ull;
  QTest::newRow("16-bit mono 44100, 250 ms") << 88200u << quint16{2} << 250u << 22050ull;
  QTest::newRow("16-bit mono 44100, 10250 ms") << 88200u << quint16{2} << 10250u << 904050ull;
  QTest::newRow("16-bit mono 44100, 1 ms") << 88200u << quint16{2} << 1u << 88ull;
  QTest::newRow("half rounds up") << 1500u << quint16{1} << 1u << 2ull;
  QTest::newRow("rounded, then whole frames") << 1500u << quint16{4} << 1u << 0ull;
  QTest::newRow("8-bit mono 22050, 250 ms is odd") << 22050u << quint16{1} << 250u << 5513ull;
  QTest::newRow("3-byte frames") << 22050u << quint16{3} << 1u << 21ull;
  QTest::newRow("no frame size") << 1000u << quint16{0} << 7u << 7ull;
  QTest::newRow("zero ms") << 88200u << quint16{2} << 0u << 0ull;
  QTest::newRow("largest rate and time")
      << 0xFFFFFFFFu << quint16{1} << 0xFFFFFFFFu << 18446744065119617ull;
}

void WaveMeasureTest::bytesForMs() {
  QFETCH(quint32, avgBytesPerSec);
  QFETCH(quint16, blockAlign);
  QFETCH(quint32, ms);
  QFETCH(qulonglong, expected);

  const TWave wave(PcmImage(FmtRates(avgBytesPerSec, blockAlign), Pattern(4)));
  QCOMPARE(wave.BytesForMs(ms), expected);
}

void WaveMeasureTest::invalidImageMeasuresNothing() {
  const TWave wave(Riff(Chunk("fmt ", FmtRates(88200, 2))));
  QVERIFY(!wave.IsValid());
  QCOMPARE(wave.DurationMs(), 0ull);
  QCOMPARE(wave.BytesForMs(250), 0ull);
}

QTEST_APPLESS_MAIN(WaveMeasureTest)
#include "wave_measure_test.moc"
