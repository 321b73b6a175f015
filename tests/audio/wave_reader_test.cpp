// The RIFF reader: which images parse, and what it finds in them.

#include <QTest>

#include "audio/wave/wave.h"
#include "tests/audio/wave_test_bytes.h"

using namespace zelmora;
using namespace zelmora::test;

class WaveReaderTest : public QObject {
  Q_OBJECT

 private slots:
  void parses_data();
  void parses();
  void decodesFormatFieldsLittleEndian();
  void reparsesAfterImageChanges();
};

void WaveReaderTest::parses_data() {
  QTest::addColumn<Bytes>("image");
  QTest::addColumn<bool>("valid");
  QTest::addColumn<Bytes>("record");
  QTest::addColumn<qulonglong>("dataOffset");
  QTest::addColumn<quint32>("sampleBytes");
  QTest::addColumn<qulonglong>("presentBytes");

  const Bytes fmt = Fmt16(1, 44100, 16);
  const Bytes fmtChunk = Chunk("fmt ", fmt);
  const Bytes data = Pattern(6);
  const Bytes dataChunk = Chunk("data", data);
  const Bytes list = Chunk("LIST", Cat({Id("INFO"), Chunk("ISFT", Id("Zelmora"))}));
  const Bytes none;

  auto valid = [](const char* name, const Bytes& image, const Bytes& record, std::size_t offset,
                  std::uint32_t declared, std::size_t present) {
    QTest::newRow(name) << image << true << record << qulonglong{offset} << declared
                        << qulonglong{present};
  };
  auto invalid = [&](const char* name, const Bytes& image) {
    QTest::newRow(name) << image << false << none << qulonglong{0} << quint32{0} << qulonglong{0};
  };

  valid("canonical 16-byte fmt", Riff(Cat({fmtChunk, dataChunk})), Cat({fmt, Le16(0)}), 44, 6, 6);
  valid("18-byte fmt", Riff(Cat({Chunk("fmt ", Cat({fmt, Le16(0)})), dataChunk})),
        Cat({fmt, Le16(0)}), 46, 6, 6);
  valid("14-byte fmt is zero-filled", Riff(Cat({Chunk("fmt ", First(fmt, 14)), dataChunk})),
        Cat({First(fmt, 14), Le16(0), Le16(0)}), 42, 6, 6);
  const Bytes extensible = Cat({fmt, Le16(22), Pattern(22, 100)});
  valid("40-byte fmt with cbSize 22", Riff(Cat({Chunk("fmt ", extensible), dataChunk})), extensible,
        68, 6, 6);
  const Bytes overclaiming = Cat({fmt, Le16(100)});
  valid("cbSize beyond the chunk", Riff(Cat({Chunk("fmt ", overclaiming), dataChunk})),
        overclaiming, 46, 6, 6);
  valid("odd fmt chunk with pad byte", Riff(Cat({Chunk("fmt ", Cat({fmt, Bytes{7}})), dataChunk})),
        Cat({fmt, Bytes{7}, Bytes{0}}), 46, 6, 6);
  valid("LIST chunks passed over", Riff(Cat({list, fmtChunk, list, dataChunk, list})),
        Cat({fmt, Le16(0)}), 44 + 2 * list.size(), 6, 6);
  valid("odd unknown chunk with pad byte",
        Riff(Cat({Chunk("junk", Pattern(3)), fmtChunk, dataChunk})), Cat({fmt, Le16(0)}), 56, 6, 6);
  valid("odd data chunk", Riff(Cat({fmtChunk, Chunk("data", Pattern(5))})), Cat({fmt, Le16(0)}), 44,
        5, 5);
  valid("RIFF of another form first",
        Cat({Riff(fmtChunk, std::nullopt, "AVI "), Riff(Cat({fmtChunk, dataChunk}))}),
        Cat({fmt, Le16(0)}), 36 + 44, 6, 6);
  valid("RIFF size beyond the image", Riff(Cat({fmtChunk, dataChunk}), 1000), Cat({fmt, Le16(0)}),
        44, 6, 6);
  valid("data beyond the image", Riff(Cat({fmtChunk, Chunk("data", data, 1000)})),
        Cat({fmt, Le16(0)}), 44, 1000, 6);
  valid("data size near 2^32", Riff(Cat({fmtChunk, Chunk("data", data, 0xFFFFFFFF)})),
        Cat({fmt, Le16(0)}), 44, 0xFFFFFFFF, 6);

  invalid("empty", {});
  invalid("cut inside the RIFF header", Cat({Id("RIFF"), Le16(40)}));
  invalid("cut before the form type", Cat({Id("RIFF"), Le32(40)}));
  invalid("wrong form type", Riff(Cat({fmtChunk, dataChunk}), std::nullopt, "WAVX"));
  invalid("RIFF size below 4", Cat({Id("RIFF"), Le32(3), Id("WAVE"), fmtChunk, dataChunk}));
  invalid("not RIFF", Chunk("RIFX", Cat({Id("WAVE"), fmtChunk, dataChunk})));
  invalid("no fmt", Riff(dataChunk));
  invalid("no data", Riff(Cat({fmtChunk, list})));
  invalid("data before fmt", Riff(Cat({dataChunk, fmtChunk})));
  invalid("13-byte fmt", Riff(Cat({Chunk("fmt ", First(fmt, 13)), dataChunk})));
  invalid("fmt cut off", First(Riff(Cat({fmtChunk, dataChunk})), 30));
  invalid("data header cut off", First(Riff(Cat({fmtChunk, dataChunk})), 40));
  invalid("data outside the RIFF size", Riff(Cat({fmtChunk, dataChunk}), 4 + 24));
  invalid("chunk size near 2^32 skips everything",
          Riff(Cat({Chunk("junk", {}, 0xFFFFFFFF), fmtChunk, dataChunk})));
}

void WaveReaderTest::parses() {
  QFETCH(Bytes, image);
  QFETCH(bool, valid);
  QFETCH(Bytes, record);
  QFETCH(qulonglong, dataOffset);
  QFETCH(quint32, sampleBytes);
  QFETCH(qulonglong, presentBytes);

  const TWave wave(image);
  QCOMPARE(wave.IsValid(), valid);
  QCOMPARE(wave.FormatRecord(), record);
  QCOMPARE(wave.SampleBytes(), sampleBytes);
  QCOMPARE(wave.SampleData().has_value(), valid);
  QCOMPARE(wave.SampleData().value_or(0), dataOffset);
  const auto present = wave.PresentData();
  QCOMPARE(present.size(), presentBytes);
  if (valid) {
    QCOMPARE(present.data(), wave.Image().data() + dataOffset);
  }
}

void WaveReaderTest::decodesFormatFieldsLittleEndian() {
  const Bytes record = Cat({Le16(0xFFFE), Le16(0x0102), Le32(0x01020304), Le32(0x05060708),
                            Le16(0x090A), Le16(0x0B0C), Le16(2), Bytes{0xAA, 0xBB}});
  const TWave wave(Riff(Cat({Chunk("fmt ", record), Chunk("data", {})})));
  const auto f = wave.Format();
  QVERIFY(f.has_value());
  QCOMPARE(f->wFormatTag, 0xFFFE);
  QCOMPARE(f->nChannels, 0x0102);
  QCOMPARE(f->nSamplesPerSec, 0x01020304u);
  QCOMPARE(f->nAvgBytesPerSec, 0x05060708u);
  QCOMPARE(f->nBlockAlign, 0x090A);
  QCOMPARE(f->wBitsPerSample, 0x0B0C);
  QCOMPARE(f->cbSize, 2);
  QCOMPARE(TWave().Format().has_value(), false);
}

void WaveReaderTest::reparsesAfterImageChanges() {
  TWave wave(PcmImage(Fmt16(1, 44100, 16), Pattern(8)));
  QCOMPARE(wave.SampleBytes(), 8u);
  const TWave copy = wave;

  wave.SetImage(PcmImage(Fmt16(2, 48000, 16), Pattern(12)));
  QCOMPARE(wave.SampleBytes(), 12u);
  QCOMPARE(wave.Format()->nChannels, 2);

  wave.SetImage(Bytes{'R', 'I', 'F', 'F'});
  QVERIFY(!wave.IsValid());
  QCOMPARE(wave.SampleBytes(), 0u);

  // A copy holds its own image.
  QCOMPARE(copy.SampleBytes(), 8u);
  QCOMPARE(copy.Format()->nChannels, 1);
}

QTEST_APPLESS_MAIN(WaveReaderTest)
#include "wave_reader_test.moc"
