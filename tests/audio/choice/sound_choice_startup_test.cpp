#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "audio/bank/bank.h"
#include "choice_rig.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"
#include "tests/store/temp_ini.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

// The bank sample as a voice gets it: cut after its first 250 ms.
bool WriteFile(const QString& path, const std::vector<std::uint8_t>& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) &&
         file.write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

}  // namespace

// The start-up selection: the stored choice becomes the two lists'
// selection and the two samples, and the voices are built from them.
class SoundChoiceStartupTest : public QObject {
  Q_OBJECT

 private slots:
  // Nothing stored: "Jam Block" and "Wood Block Hi", both cut to 250 ms, and
  // the save writes the same choice back.
  void firstRunPlaysTheDefaults() {
    testing::TTempIni ini;
    QVERIFY(ini.IsValid());
    const auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TChoiceRig rig;
    LoadSettings(rig.config, store);

    rig.choice.StartUp();

    for (const TSoundSide side : {TSoundSide::Accent, TSoundSide::Regular}) {
      const TSoundList& list = rig.choice.List(side);
      QCOMPARE(list.Count(), 26);
      for (int i = 0; i < kBankCount; ++i) {
        QCOMPARE(list.Text(i), std::string(BankName(i)));
      }
      QCOMPARE(list.Text(25), std::string());
    }
    QCOMPARE(rig.choice.List(TSoundSide::Regular).SelectedIndex(), 17);
    QCOMPARE(rig.choice.List(TSoundSide::Accent).SelectedIndex(), 18);
    QCOMPARE(rig.regular.Wave.SampleBytes(), 22050u);
    QCOMPARE(rig.accent.Wave.SampleBytes(), 22050u);
    QVERIFY(rig.regular.Wave.Image() == CutBankWave(17).Image());
    QVERIFY(rig.accent.Wave.Image() == CutBankWave(18).Image());
    // The bell is neither replaced nor cut.
    QVERIFY(rig.bell.Wave.Image() == BellWave().Image());
    QVERIFY(rig.messages.Texts.empty());
    QVERIFY(!rig.voices.AccentBuffer.IsEmpty());
    QVERIFY(!rig.voices.BellBuffer.IsEmpty());
    QVERIFY(VoicePlays(rig.mixer, rig.voices.RegularBuffer, rig.regular.Wave));

    SaveSettings(rig.config, store);
    settings->sync();
    QCOMPARE(ini.Stored("Zelmora/Regular Sound Index").toString(), QString("17"));
    QCOMPARE(ini.Stored("Zelmora/Accented Sound Index").toString(), QString("18"));
    QCOMPARE(ini.Stored("Zelmora/Sound Regular").toString(), QString());
  }

  // A stored index that names no usable entry falls back to "808 rimshot";
  // every bank entry is loaded and cut as its length asks.
  void storedIndexSelectsItsEntry_data() {
    QTest::addColumn<TSoundSide>("side");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("selected");
    QTest::addColumn<uint>("dataBytes");
    QTest::newRow("file entry without a path") << TSoundSide::Regular << 25 << 0 << 22050u;
    QTest::newRow("index 40") << TSoundSide::Accent << 40 << 0 << 22050u;
    QTest::newRow("index -3") << TSoundSide::Regular << -3 << 0 << 22050u;
    QTest::newRow("HH Rock, 48000 Hz") << TSoundSide::Accent << 3 << 3 << 24000u;
    QTest::newRow("HH Pure, shorter than 250 ms") << TSoundSide::Regular << 2 << 2 << 15950u;
    QTest::newRow("Table Sharp Na, last entry") << TSoundSide::Accent << 24 << 24 << 20800u;
  }
  void storedIndexSelectsItsEntry() {
    QFETCH(TSoundSide, side);
    QFETCH(int, stored);
    QFETCH(int, selected);
    QFETCH(uint, dataBytes);
    TChoiceRig rig;
    TBinding<int>& pending = side == TSoundSide::Accent ? rig.config.Controls.sComboBoxAcc
                                                        : rig.config.Controls.sComboBoxReg;
    pending->SetValue(stored);

    rig.choice.StartUp();

    QCOMPARE(rig.choice.List(side).SelectedIndex(), selected);
    QCOMPARE(pending->Value(), selected);
    QCOMPARE(rig.Holder(side).Wave.SampleBytes(), dataBytes);
    QVERIFY(rig.Holder(side).Wave.Image() == CutBankWave(selected).Image());
    QVERIFY(rig.messages.Texts.empty());
    QVERIFY(VoicePlays(rig.mixer, rig.Voice(side), rig.Holder(side).Wave));
  }

  // "Tabla Sharp Tin" is shorter than the cut: the holder keeps the image as
  // built in, its trailing LIST chunk too.
  void shortSampleIsKeptWhole() {
    TChoiceRig rig;
    rig.config.Controls.sComboBoxAcc->SetValue(23);
    rig.choice.StartUp();
    QCOMPARE(rig.accent.Wave.SampleBytes(), 18752u);
    const std::span<const std::uint8_t> builtIn = BankImage(23);
    QCOMPARE(rig.accent.Wave.Image().size(), std::size_t{44 + 18752 + 104});
    QVERIFY(std::equal(builtIn.begin(), builtIn.end(), rig.accent.Wave.Image().begin(),
                       rig.accent.Wave.Image().end()));
    QVERIFY(VoicePlays(rig.mixer, rig.voices.AccentBuffer, rig.accent.Wave));
  }

  // A stored file that has gone: the user is told, the voice keeps the click
  // and the list keeps showing the file.
  void missingStoredFileKeepsTheClick_data() {
    QTest::addColumn<QString>("path");  // "<dir>" stands for a fresh folder
    QTest::newRow("absolute") << "<dir>/gone.wav";
    QTest::newRow("relative") << "zelmora-gone.wav";
    QTest::newRow("a folder") << "<dir>";
  }
  void missingStoredFileKeepsTheClick() {
    QFETCH(QString, path);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string stored = path.replace("<dir>", dir.path()).toStdString();
    TChoiceRig rig;
    rig.config.Controls.OpenDialogReg->SetValue(stored);
    rig.config.Controls.sComboBoxReg->SetValue(25);

    rig.choice.StartUp();

    QCOMPARE(rig.messages.Texts.size(), std::size_t{1});
    QCOMPARE(Bytes(rig.messages.Texts.front()),
             Bytes("File " + stored + " not found!\r\rChoose another sound from preferences."));
    const TSoundList& list = rig.choice.List(TSoundSide::Regular);
    QCOMPARE(list.SelectedIndex(), 25);
    QCOMPARE(list.Text(25), stored);
    QVERIFY(rig.regular.Wave.Image() == ClickWave().Image());
    // The other side is not disturbed.
    QCOMPARE(rig.choice.List(TSoundSide::Accent).SelectedIndex(), 18);
    QVERIFY(VoicePlays(rig.mixer, rig.voices.RegularBuffer, ClickWave()));
  }

  // A stored file that is there is loaded whole, cut, and boosted once when
  // the boost is on.
  void storedFileIsLoadedAndCut_data() {
    QTest::addColumn<bool>("boost");
    QTest::addColumn<int>("firstValue");
    QTest::newRow("plain") << false << 1000;
    QTest::newRow("boosted") << true << 1990;
  }
  void storedFileIsLoadedAndCut() {
    QFETCH(bool, boost);
    QFETCH(int, firstValue);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("one second.wav");
    QVERIFY(WriteFile(path, ConstantWave(44100, 44100, 1000)));
    TChoiceRig rig;
    rig.config.SetBoostVolume(boost);
    rig.config.Controls.OpenDialogAcc->SetValue(path.toStdString());
    rig.config.Controls.sComboBoxAcc->SetValue(25);

    rig.choice.StartUp();

    QVERIFY(rig.messages.Texts.empty());
    QCOMPARE(rig.choice.List(TSoundSide::Accent).SelectedIndex(), 25);
    QCOMPARE(rig.accent.Wave.SampleBytes(), 22050u);
    QCOMPARE(int(FirstValue(rig.accent.Wave)), firstValue);
    QVERIFY(VoicePlays(rig.mixer, rig.voices.AccentBuffer, rig.accent.Wave));
  }

  // Without an output device the lists and the samples are still set up, so
  // the save keeps the user's choice.
  void worksWithoutAnOutputDevice() {
    TConfig config;
    TBeatVoices voices = TBeatVoices::On(nullptr);
    TWaveStorage accent{ClickWave()}, regular{ClickWave()}, bell{BellWave()};
    TRecordedMessages messages;
    TSoundChoice choice(config, accent, regular, bell, voices, messages);
    config.Controls.sComboBoxReg->SetValue(3);

    choice.StartUp();

    QVERIFY(messages.Texts.empty());
    QCOMPARE(regular.Wave.SampleBytes(), 24000u);
    QCOMPARE(config.Controls.sComboBoxReg->Value(), 3);
    QCOMPARE(config.Controls.sComboBoxAcc->Value(), 18);
  }
};

QTEST_GUILESS_MAIN(SoundChoiceStartupTest)
#include "sound_choice_startup_test.moc"
