#include <QTest>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audio/bank/bank.h"
#include "audio/wave/byte_order.h"
#include "tests/audio/bank/sample_probe.h"

using namespace zelmora;
using zelmora::test::MaxAbs;
using zelmora::test::PcmValues;
using zelmora::test::StrongestHz;

namespace {

std::string_view FourCc(std::span<const std::uint8_t> image, std::size_t at) {
  return {reinterpret_cast<const char*>(image.data() + at), 4};
}

// The canonical 44-byte header of 16-bit mono PCM, and the data after it.
void VerifyCanonicalHeader(std::span<const std::uint8_t> image, std::uint32_t rate,
                           std::uint32_t dataBytes) {
  QCOMPARE(FourCc(image, 0), "RIFF");
  QCOMPARE(ReadLe32(image, 4), image.size() - 8);
  QCOMPARE(FourCc(image, 8), "WAVE");
  QCOMPARE(FourCc(image, 12), "fmt ");
  QCOMPARE(ReadLe32(image, 16), 16u);
  QCOMPARE(ReadLe16(image, 20), 1);  // PCM
  QCOMPARE(ReadLe16(image, 22), 1);  // mono
  QCOMPARE(ReadLe32(image, 24), rate);
  QCOMPARE(ReadLe32(image, 28), 2 * rate);
  QCOMPARE(ReadLe16(image, 32), 2);   // block align
  QCOMPARE(ReadLe16(image, 34), 16);  // bits
  QCOMPARE(FourCc(image, 36), "data");
  QCOMPARE(ReadLe32(image, 40), dataBytes);
}

// An INFO list with one software tag: 96 bytes of content in all.
void VerifySoftwareList(std::span<const std::uint8_t> image, std::size_t at) {
  QCOMPARE(FourCc(image, at), "LIST");
  QCOMPARE(ReadLe32(image, at + 4), 96u);
  QCOMPARE(FourCc(image, at + 8), "INFO");
  QCOMPARE(FourCc(image, at + 12), "ISFT");
  QCOMPARE(ReadLe32(image, at + 16), 84u);
  QVERIFY(image[at + 20] != 0);
  QCOMPARE(image[at + 20 + 83], 0);  // the text is zero-terminated
  QCOMPARE(at + 104, image.size());
}

std::vector<int> DataValues(std::span<const std::uint8_t> image) {
  return PcmValues(image.subspan(44, ReadLe32(image, 40)));
}

std::span<const std::uint8_t> ImageNamed(const QString& name) {
  if (name == "click") {
    return ClickImage();
  }
  if (name == "bell") {
    return BellImage();
  }
  for (int i = 0; i < BankCount(); ++i) {
    if (BankName(i) == name.toStdString()) {
      return BankImage(i);
    }
  }
  return {};
}

}  // namespace

class BankTest : public QObject {
  Q_OBJECT

 private slots:
  void bankEntry_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("dataBytes");
    QTest::addColumn<int>("peak");
    QTest::addColumn<bool>("softwareTag");
    auto row = [](int index, const char* name, int rate, int dataBytes, int peak, bool tag) {
      QTest::newRow(name) << index << QString(name) << rate << dataBytes << peak << tag;
    };
    row(0, "808 rimshot", 44100, 40572, 22065, false);
    row(1, "HH Heavy", 44100, 22932, 32767, false);
    row(2, "HH Pure", 48000, 15950, 32767, false);
    row(3, "HH Rock", 48000, 28800, 32767, false);
    row(4, "HH Pop", 44100, 25500, 32767, false);
    row(5, "HH Tight", 48000, 17280, 32767, false);
    row(6, "Tamb Clean", 44100, 40572, 32767, false);
    row(7, "Tamb Hi-Pitched 2", 44100, 18144, 32767, false);
    row(8, "Cabasa", 44100, 10584, 31969, false);
    row(9, "Claves", 44100, 8820, 31890, false);
    row(10, "Cowbell Hi", 44100, 8820, 27458, false);
    row(11, "Cowbell Low", 44100, 10584, 20323, false);
    row(12, "Egg Shaker", 44100, 12348, 16383, false);
    row(13, "Finger Bongos Hi", 44100, 8820, 29795, false);
    row(14, "Finger Bongos Low", 44100, 8820, 25583, false);
    row(15, "Maracas", 44100, 24696, 22617, false);
    row(16, "Tamborine", 44100, 35280, 31684, false);
    row(17, "Jam Block", 44100, 33516, 25000, false);
    row(18, "Wood Block Hi", 44100, 35280, 29491, false);
    row(19, "Beep High", 44100, 2870, 32765, false);
    row(20, "Beep Low", 44100, 11028, 32765, false);
    row(21, "Shaker Thin Down", 44100, 30906, 32768, false);
    row(22, "Shaker Thin Up", 44100, 28162, 32767, false);
    row(23, "Tabla Sharp Tin", 44100, 18752, 30998, true);
    row(24, "Table Sharp Na", 44100, 20800, 30998, true);
  }
  void bankEntry() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, rate);
    QFETCH(int, dataBytes);
    QFETCH(int, peak);
    QFETCH(bool, softwareTag);

    QCOMPARE(QString::fromUtf8(BankName(index).data(), BankName(index).size()), name);
    const std::span<const std::uint8_t> image = BankImage(index);
    QCOMPARE(image.size(), std::size_t(44 + dataBytes + (softwareTag ? 104 : 0)));
    VerifyCanonicalHeader(image, rate, dataBytes);
    if (softwareTag) {
      VerifySoftwareList(image, 44 + std::size_t(dataBytes));
    }

    const TWave wave = BankWave(index);
    QVERIFY(wave.IsValid());
    QCOMPARE(wave.SampleBytes(), std::uint32_t(dataBytes));
    QCOMPARE(wave.SampleData(), std::optional<std::size_t>(44));

    const std::vector<int> values = DataValues(image);
    QCOMPARE(MaxAbs(values, 0, values.size()), peak);
    if (peak == 32768) {
      QVERIFY(std::find(values.begin(), values.end(), -32768) != values.end());
    }
    // The beat is where the sample starts: it must be loud from the first
    // fraction of a millisecond, and it must die away without a click.
    QVERIFY2(MaxAbs(values, 0, 8) >= peak / 3, "the attack is late");
    QVERIFY2(MaxAbs(values, values.size() - 4, values.size()) <= peak / 500,
             "the end is not silent");
  }

  void bankOrderAndDefaults() {
    QCOMPARE(BankCount(), 25);
    QCOMPARE(BankName(kDefaultRegularSoundIndex), "Jam Block");
    QCOMPARE(BankName(kDefaultAccentSoundIndex), "Wood Block Hi");
    QCOMPARE(BankName(kFallbackSoundIndex), "808 rimshot");
    QCOMPARE(kFileEntryIndex, BankCount());
    for (int outside : {-1, kFileEntryIndex}) {
      QVERIFY(BankName(outside).empty());
      QVERIFY(BankImage(outside).empty());
      QVERIFY(!BankWave(outside).IsValid());
    }

    TWaveCollection collection;
    collection.Waves.resize(3);
    FillBankCollection(collection);
    QCOMPARE(collection.Waves.size(), std::size_t(25));
    for (int i = 0; i < 25; ++i) {
      const TWaveItem& item = collection.Waves[std::size_t(i)];
      QCOMPARE(item.Name, std::string(BankName(i)));
      const std::span<const std::uint8_t> image = BankImage(i);
      QVERIFY(std::equal(image.begin(), image.end(), item.Wave.Image().begin(),
                         item.Wave.Image().end()));
    }
  }

  // What a voice keeps of the sample after the cut to its first 250 ms.
  void cutForAVoice_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("keptBytes");
    QTest::addColumn<bool>("whole");
    QTest::newRow("HH Rock, 48000 Hz") << 3 << 24000 << false;
    QTest::newRow("HH Pure, shorter than the cut") << 2 << 15950 << true;
    QTest::newRow("Jam Block, 44100 Hz") << 17 << 22050 << false;
    QTest::newRow("Tabla Sharp Tin, with its LIST chunk") << 23 << 18752 << true;
  }
  void cutForAVoice() {
    QFETCH(int, index);
    QFETCH(int, keptBytes);
    QFETCH(bool, whole);
    TWave wave = BankWave(index);
    wave.DeleteSpan(250, 10000);
    QCOMPARE(wave.SampleBytes(), std::uint32_t(keptBytes));
    if (whole) {
      const std::span<const std::uint8_t> image = BankImage(index);
      QCOMPARE(wave.Image(), std::vector<std::uint8_t>(image.begin(), image.end()));
    }
  }

  void click() {
    const std::span<const std::uint8_t> image = ClickImage();
    VerifyCanonicalHeader(image, 44100, 1506);
    QCOMPARE(image.size(), std::size_t(44 + 1506));
    QVERIFY(ClickWave().IsValid());
    QCOMPARE(ClickWave().Image(), std::vector<std::uint8_t>(image.begin(), image.end()));
    const std::vector<int> values = DataValues(image);
    QCOMPARE(values.size(), std::size_t(753));
    QVERIFY(std::find(values.begin(), values.end(), -32768) != values.end());
    QVERIFY(MaxAbs(values, 0, 8) >= 32768 / 3);
    QVERIFY(MaxAbs(values, values.size() - 4, values.size()) <= 64);
  }

  void bell() {
    const std::span<const std::uint8_t> image = BellImage();
    VerifyCanonicalHeader(image, 44100, 88182);
    QCOMPARE(image.size(), std::size_t(44 + 88182));
    QVERIFY(BellWave().IsValid());
    QCOMPARE(BellWave().Image(), std::vector<std::uint8_t>(image.begin(), image.end()));
    const std::vector<int> values = DataValues(image);
    QCOMPARE(values.size(), std::size_t(44091));
    const int peak = MaxAbs(values, 0, values.size());
    QCOMPARE(peak, 32184);
    QVERIFY(MaxAbs(values, 0, 8) >= peak / 3);
    // About a fifth of the peak at 0.2 s, below 500 from 0.6 s on.
    const int at200ms = MaxAbs(values, 8820, 8820 + 441);
    QVERIFY2(at200ms >= peak * 15 / 100 && at200ms <= peak * 25 / 100,
             qPrintable(QString::number(at200ms)));
    QVERIFY(MaxAbs(values, 26460, values.size()) < 500);
  }

  void strongestFrequency_data() {
    QTest::addColumn<QString>("sound");
    QTest::addColumn<double>("hz");
    QTest::addColumn<double>("toleranceHz");
    QTest::addColumn<double>("secondHz");  // next strongest away from hz; 0: not checked
    QTest::newRow("click") << "click" << 1800.0 << 150.0 << 0.0;
    QTest::newRow("bell") << "bell" << 3000.0 << 100.0 << 7200.0;
    QTest::newRow("Beep High") << "Beep High" << 2300.0 << 30.0 << 0.0;
    QTest::newRow("Beep Low") << "Beep Low" << 1370.0 << 30.0 << 0.0;
    QTest::newRow("Claves") << "Claves" << 2500.0 << 100.0 << 0.0;
    QTest::newRow("Jam Block") << "Jam Block" << 1100.0 << 60.0 << 0.0;
    QTest::newRow("Wood Block Hi") << "Wood Block Hi" << 1760.0 << 60.0 << 0.0;
  }
  void strongestFrequency() {
    QFETCH(QString, sound);
    QFETCH(double, hz);
    QFETCH(double, toleranceHz);
    QFETCH(double, secondHz);
    const std::span<const std::uint8_t> image = ImageNamed(sound);
    QVERIFY(!image.empty());
    const std::vector<int> values = DataValues(image);
    const double rate = ReadLe32(image, 24);
    const double strongest = StrongestHz(values, rate, 10.0);
    QVERIFY2(std::fabs(strongest - hz) <= toleranceHz, qPrintable(QString::number(strongest)));
    if (secondHz > 0.0) {
      const double second = StrongestHz(values, rate, 10.0, strongest, 500.0);
      QVERIFY2(std::fabs(second - secondHz) <= toleranceHz, qPrintable(QString::number(second)));
    }
  }
};

QTEST_APPLESS_MAIN(BankTest)
#include "bank_test.moc"
