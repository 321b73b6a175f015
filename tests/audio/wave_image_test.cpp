// Where a sample's image comes from: files, copies and the builder.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "audio/wave/wave.h"
#include "audio/wave/wave_builder.h"
#include "audio/wave/wave_storage.h"
#include "tests/audio/wave_test_bytes.h"

using namespace zelmora;
using namespace zelmora::test;

class WaveImageTest : public QObject {
  Q_OBJECT

 private slots:
  void loadsWholeFileAsIs();
  void failedLoadKeepsImage_data();
  void failedLoadKeepsImage();
  void holdersCopyWholeImage();
  void builderWritesCanonicalHeader_data();
  void builderWritesCanonicalHeader();
};

void WaveImageTest::loadsWholeFileAsIs() {
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  // Not a WAVE at all: nothing is checked on load.
  const Bytes bytes = Cat({Pattern(70000), Bytes{0, 0x1A, 0xFF}});
  QFile file(dir.filePath("any.wav"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  file.close();

  TWave wave;
  QVERIFY(wave.LoadFromFile(file.fileName().toStdString()));
  QCOMPARE(wave.Image(), bytes);
  QVERIFY(!wave.IsValid());
}

void WaveImageTest::failedLoadKeepsImage_data() {
  QTest::addColumn<QString>("name");

  QTest::newRow("missing file") << "missing.wav";
  QTest::newRow("directory") << ".";
}

void WaveImageTest::failedLoadKeepsImage() {
  QFETCH(QString, name);

  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const Bytes image = MakePcmWave(1, 44100, 16, Pattern(8));
  TWave wave(image);
  QVERIFY(wave.IsValid());
  QVERIFY(!wave.LoadFromFile(QDir(dir.path()).filePath(name).toStdString()));
  QCOMPARE(wave.Image(), image);
  QCOMPARE(wave.SampleBytes(), 8u);
}

void WaveImageTest::holdersCopyWholeImage() {
  const Bytes list = MakeChunk("LIST", Id("INFO"));
  const Bytes image = MakePcmWave(1, 44100, 16, Pattern(882), 16, list);
  TWaveCollection bank;
  bank.Waves.push_back({"Click", TWave(image)});
  TWaveStorage storage;
  storage.Wave = bank.Waves[0].Wave;
  QCOMPARE(storage.Wave.Image(), image);

  // Conditioning the holder's copy leaves the bank's sample as it was.
  QVERIFY(storage.Wave.ScaleVolume(99));
  QVERIFY(storage.Wave.DeleteSpan(0, 1));
  QCOMPARE(bank.Waves[0].Wave.Image(), image);
  QCOMPARE(bank.Waves[0].Wave.SampleBytes(), 882u);
}

void WaveImageTest::builderWritesCanonicalHeader_data() {
  QTest::addColumn<Bytes>("built");
  QTest::addColumn<Bytes>("expected");

  const Bytes data = Pattern(6);
  QTest::newRow("16-bit mono 44100")
      << MakePcmWave(1, 44100, 16, data)
      << Cat({Id("RIFF"), Le32(42), Id("WAVE"), Id("fmt "), Le32(16), Le16(1), Le16(1), Le32(44100),
              Le32(88200), Le16(2), Le16(16), Id("data"), Le32(6), data});
  const Bytes list = Chunk("LIST", Cat({Id("INFO"), Pattern(92)}));
  QTest::newRow("with LIST after data")
      << MakePcmWave(1, 48000, 16, data, 16, MakeChunk("LIST", Cat({Id("INFO"), Pattern(92)})))
      << Cat({Id("RIFF"), Le32(42 + 104), Id("WAVE"), Id("fmt "), Le32(16), Le16(1), Le16(1),
              Le32(48000), Le32(96000), Le16(2), Le16(16), Id("data"), Le32(6), data, list});
  QTest::newRow("8-bit stereo, odd data, 18-byte fmt")
      << MakePcmWave(2, 22050, 8, Pattern(3), 18)
      << Cat({Id("RIFF"), Le32(4 + 26 + 12), Id("WAVE"), Id("fmt "), Le32(18), Le16(1), Le16(2),
              Le32(22050), Le32(44100), Le16(2), Le16(8), Le16(0), Id("data"), Le32(3), Pattern(3),
              Bytes{0}});
  QTest::newRow("24-bit, 14-byte fmt")
      << MakePcmWave(1, 96000, 24, {}, 14)
      << Cat({Id("RIFF"), Le32(4 + 22 + 8), Id("WAVE"), Id("fmt "), Le32(14), Le16(1), Le16(1),
              Le32(96000), Le32(288000), Le16(3), Id("data"), Le32(0)});
}

void WaveImageTest::builderWritesCanonicalHeader() {
  QFETCH(Bytes, built);
  QFETCH(Bytes, expected);

  QCOMPARE(built, expected);
  QVERIFY(TWave(built).IsValid());
}

QTEST_APPLESS_MAIN(WaveImageTest)
#include "wave_image_test.moc"
