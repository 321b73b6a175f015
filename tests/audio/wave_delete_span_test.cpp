// The cut that keeps a sample's first moments: what it keeps, what it leaves
// alone, and the canonical image it writes.

#include <QTest>

#include "audio/wave/wave.h"
#include "tests/audio/wave_test_bytes.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

// The canonical image the cut writes: an 18 + cbSize byte "fmt " chunk, then
// "data" with a pad byte after odd content, nothing else.
Bytes CanonicalImage(const Bytes& record, const Bytes& data) {
  return Riff(Cat({Chunk("fmt ", record), Chunk("data", data)}));
}

}  // namespace

class WaveDeleteSpanTest : public QObject {
  Q_OBJECT

 private slots:
  void leavesSampleAlone_data();
  void leavesSampleAlone();
  void cuts_data();
  void cuts();
  void writesFormatChunkOfCbSize_data();
  void writesFormatChunkOfCbSize();
};

void WaveDeleteSpanTest::leavesSampleAlone_data() {
  QTest::addColumn<Bytes>("image");
  QTest::addColumn<quint32>("posMs");
  QTest::addColumn<quint32>("lenMs");

  const Bytes fmt = Fmt16(1, 44100, 16);
  const Bytes list = Chunk("LIST", Cat({Id("INFO"), Chunk("ISFT", Id("Zelmora"))}));
  QTest::newRow("200 ms with LIST chunk")
      << Riff(Cat({Chunk("fmt ", fmt), Chunk("data", Pattern(17640)), list})) << 250u << 10000u;
  QTest::newRow("exactly 250 ms") << PcmImage(fmt, Pattern(22050)) << 250u << 10000u;
  QTest::newRow("250.02 ms rounds to 250") << PcmImage(fmt, Pattern(22052)) << 250u << 10000u;
  QTest::newRow("zero length") << PcmImage(fmt, Pattern(88200)) << 250u << 0u;
  QTest::newRow("invalid image") << Riff(Chunk("fmt ", fmt)) << 250u << 10000u;
  QTest::newRow("zero byte rate") << PcmImage(FmtRates(0, 2), Pattern(88200)) << 250u << 10000u;
}

void WaveDeleteSpanTest::leavesSampleAlone() {
  QFETCH(Bytes, image);
  QFETCH(quint32, posMs);
  QFETCH(quint32, lenMs);

  TWave wave(image);
  QVERIFY(!wave.DeleteSpan(posMs, lenMs));
  QCOMPARE(wave.Image(), image);
}

void WaveDeleteSpanTest::cuts_data() {
  QTest::addColumn<Bytes>("fmt");
  QTest::addColumn<Bytes>("image");
  QTest::addColumn<quint32>("posMs");
  QTest::addColumn<quint32>("lenMs");
  QTest::addColumn<Bytes>("expectedData");

  const Bytes mono44 = Fmt16(1, 44100, 16);
  const Bytes record44 = Cat({mono44, Le16(0)});
  // 12 s: the first 250 ms, then everything from the 10.25 s mark on.
  QTest::newRow("12 s 44100 Hz 16-bit mono")
      << record44 << PcmImage(mono44, Pattern(1058400)) << 250u << 10000u
      << Cat({Pattern(22050), Pattern(1058400 - 904050, 904050)});
  QTest::newRow("300 ms 48000 Hz keeps 250 ms")
      << Cat({Fmt16(1, 48000, 16), Le16(0)}) << PcmImage(Fmt16(1, 48000, 16), Pattern(28800))
      << 250u << 10000u << Pattern(24000);
  QTest::newRow("LIST chunk dropped")
      << record44
      << Riff(Cat({Chunk("LIST", Id("INFO")), Chunk("fmt ", mono44), Chunk("data", Pattern(40572)),
                   Chunk("LIST", Id("INFO"))}))
      << 250u << 10000u << Pattern(22050);
  QTest::newRow("from the start") << Cat({Fmt16(1, 44100, 8), Le16(0)})
                                  << PcmImage(Fmt16(1, 44100, 8), Pattern(44100)) << 0u << 100u
                                  << Pattern(44100 - 4410, 4410);
  // 22050 Hz 8-bit: 250 ms is 5512.5 bytes, rounded to 5513, so a pad byte.
  QTest::newRow("odd result gets a pad byte")
      << Cat({Fmt16(1, 22050, 8), Le16(0)}) << PcmImage(Fmt16(1, 22050, 8), Pattern(6000)) << 250u
      << 10000u << Pattern(5513);
  // A cut-off data chunk is treated as ending where the file ends; the new
  // chunk declares what it really holds.
  const Bytes mono8k = Fmt16(1, 8000, 8);
  const Bytes cutOff = Riff(Cat({Chunk("fmt ", mono8k), Chunk("data", Pattern(3000), 100000)}));
  QTest::newRow("data cut off, span past the file")
      << Cat({mono8k, Le16(0)}) << cutOff << 250u << 10000u << Pattern(2000);
  QTest::newRow("data cut off, span inside the file")
      << Cat({mono8k, Le16(0)}) << cutOff << 250u << 100u
      << Cat({Pattern(2000), Pattern(200, 2800)});
  QTest::newRow("data cut off before the kept part")
      << Cat({mono8k, Le16(0)}) << cutOff << 1000u << 10u << Pattern(3000);
}

void WaveDeleteSpanTest::cuts() {
  QFETCH(Bytes, fmt);
  QFETCH(Bytes, image);
  QFETCH(quint32, posMs);
  QFETCH(quint32, lenMs);
  QFETCH(Bytes, expectedData);

  TWave wave(image);
  QVERIFY(wave.DeleteSpan(posMs, lenMs));
  QCOMPARE(wave.Image(), CanonicalImage(fmt, expectedData));
  QVERIFY(wave.IsValid());
  QCOMPARE(wave.SampleBytes(), expectedData.size());
}

void WaveDeleteSpanTest::writesFormatChunkOfCbSize_data() {
  QTest::addColumn<Bytes>("fmt");
  QTest::addColumn<Bytes>("written");

  const Bytes pcm = Fmt16(1, 8000, 8);
  QTest::newRow("16 bytes grow to 18") << pcm << Cat({pcm, Le16(0)});
  QTest::newRow("14 bytes grow to 18") << First(pcm, 14) << Cat({First(pcm, 14), Le16(0), Le16(0)});
  const Bytes extensible = Cat({pcm, Le16(22), Pattern(22, 7)});
  QTest::newRow("extensible kept whole") << extensible << extensible;
  QTest::newRow("bytes past cbSize dropped")
      << Cat({pcm, Le16(2), Pattern(6)}) << Cat({pcm, Le16(2), Pattern(2)});
  // The record holds fewer extra bytes than cbSize claims: nothing is read
  // beyond it.
  QTest::newRow("cbSize beyond the chunk")
      << Cat({pcm, Le16(100), Pattern(4)}) << Cat({pcm, Le16(100), Pattern(4)});
}

void WaveDeleteSpanTest::writesFormatChunkOfCbSize() {
  QFETCH(Bytes, fmt);
  QFETCH(Bytes, written);

  TWave wave(PcmImage(fmt, Pattern(4000)));
  QVERIFY(wave.DeleteSpan(250, 10000));
  QCOMPARE(wave.Image(), CanonicalImage(written, Pattern(2000)));
  QCOMPARE(wave.FormatRecord(), written);
}

QTEST_APPLESS_MAIN(WaveDeleteSpanTest)
#include "wave_delete_span_test.moc"
