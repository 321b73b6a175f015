#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <string>

#include "audio/bank/bank.h"
#include "choice_rig.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"
#include "tests/store/error_text.h"
#include "tests/store/temp_ini.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

// A one-second 44100 Hz file of the value 1000 in a fresh folder.
struct TSoundFile {
  TSoundFile() {
    const std::vector<std::uint8_t> bytes = ConstantWave(44100, 44100, 1000);
    QFile file(dir.filePath("chosen.wav"));
    written = file.open(QIODevice::WriteOnly) &&
              file.write(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
  }
  std::string Path() const { return dir.filePath("chosen.wav").toStdString(); }
  QTemporaryDir dir;
  bool written = false;
};

void Select(TChoiceRig& rig, TSoundSide side, int index) {
  rig.choice.List(side).Select(index);
}

}  // namespace

// LoadSoundChoice and the file choice, as the Preferences dialog runs them.
class SoundChoiceLoadTest : public QObject {
  Q_OBJECT

 private slots:
  void bankEntryRebuildsTheVoice_data() {
    QTest::addColumn<TSoundSide>("side");
    QTest::addColumn<int>("index");
    QTest::addColumn<uint>("dataBytes");
    QTest::newRow("accent HH Rock") << TSoundSide::Accent << 3 << 24000u;
    QTest::newRow("regular HH Pure") << TSoundSide::Regular << 2 << 15950u;
    QTest::newRow("regular 808 rimshot") << TSoundSide::Regular << 0 << 22050u;
    QTest::newRow("accent Tabla Sharp Tin") << TSoundSide::Accent << 23 << 18752u;
  }
  void bankEntryRebuildsTheVoice() {
    QFETCH(TSoundSide, side);
    QFETCH(int, index);
    QFETCH(uint, dataBytes);
    TChoiceRig rig;
    rig.choice.StartUp();

    Select(rig, side, index);
    rig.choice.LoadSoundChoice(side);

    QCOMPARE(rig.Holder(side).Wave.SampleBytes(), dataBytes);
    QVERIFY(rig.Holder(side).Wave.Image() == CutBankWave(index).Image());
    QVERIFY(rig.messages.Texts.empty());
    QVERIFY(rig.chooser.Asked.empty());
    QVERIFY(VoicePlays(rig.mixer, rig.Voice(side), rig.Holder(side).Wave));
  }

  // The file entry with a path loads the file; the boost, when on, scales
  // the new sample once.
  void fileEntryLoadsTheFile_data() {
    QTest::addColumn<bool>("boost");
    QTest::addColumn<int>("firstValue");
    QTest::newRow("plain") << false << 1000;
    QTest::newRow("boosted") << true << 1990;
  }
  void fileEntryLoadsTheFile() {
    QFETCH(bool, boost);
    QFETCH(int, firstValue);
    TSoundFile file;
    QVERIFY(file.written);
    TChoiceRig rig;
    rig.choice.StartUp();
    rig.config.SetBoostVolume(boost);
    rig.choice.List(TSoundSide::Regular).SetText(25, file.Path());

    Select(rig, TSoundSide::Regular, 25);
    rig.choice.LoadSoundChoice(TSoundSide::Regular);

    QCOMPARE(rig.regular.Wave.SampleBytes(), 22050u);
    QCOMPARE(int(FirstValue(rig.regular.Wave)), firstValue);
    QVERIFY(rig.chooser.Asked.empty());
    QVERIFY(VoicePlays(rig.mixer, rig.voices.RegularBuffer, rig.regular.Wave));
  }

  // A file that cannot be opened is reported with its full path and the
  // system's reason; the holder and the voice keep their sound.
  void fileThatCannotBeOpened_data() {
    QTest::addColumn<QString>("path");  // "<dir>" stands for a fresh folder
    QTest::addColumn<QString>("fullPath");
    QTest::addColumn<int>("error");
    const QString relative = "zelmora-missing.wav";
    QTest::newRow("missing") << "<dir>/gone.wav"
                             << "<dir>/gone.wav" << ENOENT;
    QTest::newRow("relative") << relative << QDir::current().absoluteFilePath(relative) << ENOENT;
    QTest::newRow("a folder") << "<dir>"
                              << "<dir>" << EISDIR;
  }
  void fileThatCannotBeOpened() {
    QFETCH(QString, path);
    QFETCH(QString, fullPath);
    QFETCH(int, error);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    path.replace("<dir>", dir.path());
    fullPath.replace("<dir>", dir.path());
    TChoiceRig rig;
    rig.choice.StartUp();
    const std::vector<std::uint8_t> before = rig.accent.Wave.Image();
    rig.choice.List(TSoundSide::Accent).SetText(25, path.toStdString());
    Select(rig, TSoundSide::Accent, 25);

    const QString text =
        testing::ErrorText([&] { rig.choice.LoadSoundChoice(TSoundSide::Accent); });

    QCOMPARE(text, QString("Cannot open file \"%1\". %2").arg(fullPath, std::strerror(error)));
    QVERIFY(rig.accent.Wave.Image() == before);
    QVERIFY(rig.messages.Texts.empty());
    QVERIFY(VoicePlays(rig.mixer, rig.voices.AccentBuffer, CutBankWave(18)));
  }

  // Selecting the empty file entry asks for a file. A chosen file becomes
  // the entry and the sound (boosted once, not once per run); after a
  // cancel the entry stays selected and empty and the sound stays.
  void emptyFileEntryAsksForAFile_data() {
    QTest::addColumn<bool>("pick");
    QTest::newRow("a file is chosen") << true;
    QTest::newRow("cancelled") << false;
  }
  void emptyFileEntryAsksForAFile() {
    QFETCH(bool, pick);
    TSoundFile file;
    QVERIFY(file.written);
    TChoiceRig rig;
    rig.config.SetBoostVolume(true);
    rig.choice.StartUp();
    const std::vector<std::uint8_t> before = rig.regular.Wave.Image();
    if (pick) {
      rig.chooser.Answer = file.Path();
    }

    Select(rig, TSoundSide::Regular, 25);
    rig.choice.LoadSoundChoice(TSoundSide::Regular);

    QCOMPARE(rig.chooser.Asked.size(), std::size_t{1});
    QCOMPARE(rig.chooser.Asked.front().first, TSoundSide::Regular);
    QCOMPARE(rig.chooser.Asked.front().second, std::string());
    const TSoundList& list = rig.choice.List(TSoundSide::Regular);
    QCOMPARE(list.SelectedIndex(), 25);
    QCOMPARE(list.Text(25), pick ? file.Path() : std::string());
    QCOMPARE(rig.config.Controls.OpenDialogReg->Value(), pick ? file.Path() : std::string());
    if (pick) {
      QCOMPARE(rig.regular.Wave.SampleBytes(), 22050u);
      QCOMPARE(int(FirstValue(rig.regular.Wave)), 1990);
    } else {
      QVERIFY(rig.regular.Wave.Image() == before);
    }
    QVERIFY(rig.messages.Texts.empty());
    QVERIFY(VoicePlays(rig.mixer, rig.voices.RegularBuffer, rig.regular.Wave));
  }

  // The "..." button: a chosen file is put in the file entry, selected and
  // loaded; a cancel changes nothing at all.
  void fileButton_data() {
    QTest::addColumn<bool>("pick");
    QTest::newRow("a file is chosen") << true;
    QTest::newRow("cancelled") << false;
  }
  void fileButton() {
    QFETCH(bool, pick);
    TSoundFile file;
    QVERIFY(file.written);
    const std::string earlier = file.dir.filePath("earlier.wav").toStdString();
    TChoiceRig rig;
    rig.config.Controls.OpenDialogAcc->SetValue(earlier);
    rig.choice.StartUp();
    const std::vector<std::uint8_t> before = rig.accent.Wave.Image();
    if (pick) {
      rig.chooser.Answer = file.Path();
    }

    QCOMPARE(rig.choice.ChooseSoundFile(TSoundSide::Accent), pick);

    QCOMPARE(rig.chooser.Asked.size(), std::size_t{1});
    QCOMPARE(rig.chooser.Asked.front().first, TSoundSide::Accent);
    QCOMPARE(rig.chooser.Asked.front().second, earlier);
    const TSoundList& list = rig.choice.List(TSoundSide::Accent);
    const std::string entry = pick ? file.Path() : earlier;
    QCOMPARE(list.Text(25), entry);
    QCOMPARE(rig.config.Controls.OpenDialogAcc->Value(), entry);
    QCOMPARE(list.SelectedIndex(), pick ? 25 : 18);
    if (pick) {
      QCOMPARE(rig.accent.Wave.SampleBytes(), 22050u);
      QCOMPARE(int(FirstValue(rig.accent.Wave)), 1000);
    } else {
      QVERIFY(rig.accent.Wave.Image() == before);
    }
    QVERIFY(VoicePlays(rig.mixer, rig.voices.AccentBuffer, rig.accent.Wave));
  }

  // After a file, a bank sound again: the file stays in the list and is
  // still saved as the last chosen path, beside the bank index.
  void fileIsKeptWhenABankSoundIsChosenAgain() {
    TSoundFile file;
    QVERIFY(file.written);
    testing::TTempIni ini;
    const auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TChoiceRig rig;
    LoadSettings(rig.config, store);
    rig.choice.StartUp();
    rig.chooser.Answer = file.Path();
    QVERIFY(rig.choice.ChooseSoundFile(TSoundSide::Regular));

    Select(rig, TSoundSide::Regular, 5);
    rig.choice.LoadSoundChoice(TSoundSide::Regular);

    QCOMPARE(rig.choice.List(TSoundSide::Regular).Text(25), file.Path());
    SaveSettings(rig.config, store);
    settings->sync();
    QCOMPARE(ini.Stored("Zelmora/Sound Regular").toString(), QString::fromStdString(file.Path()));
    QCOMPARE(ini.Stored("Zelmora/Regular Sound Index").toString(), QString("5"));
    QCOMPARE(ini.Stored("Zelmora/Sound Accent").toString(), QString());
  }

  // A rebuilt voice plays where the pan slider says, not centred.
  void rebuiltVoiceKeepsThePan() {
    TChoiceRig rig;
    rig.choice.StartUp();
    rig.config.SetPan(3000);

    Select(rig, TSoundSide::Accent, 9);
    rig.choice.LoadSoundChoice(TSoundSide::Accent);

    QCOMPARE(rig.accentPan.Value(), -3000);
    const TVoiceSound sound = PlayOnce(rig.mixer, rig.voices.AccentBuffer);
    QVERIFY(sound.RightEnergy > 0.0);
    QVERIFY(sound.LeftEnergy > 100.0 * sound.RightEnergy);
  }

  // Before the lists are filled nothing is selected, and nothing happens.
  void nothingSelectedLoadsNothing() {
    TChoiceRig rig;
    rig.choice.LoadSoundChoice(TSoundSide::Accent);
    QVERIFY(rig.accent.Wave.Image() == ClickWave().Image());
    QVERIFY(rig.voices.AccentBuffer.IsEmpty());
    QVERIFY(rig.chooser.Asked.empty());
  }
};

QTEST_GUILESS_MAIN(SoundChoiceLoadTest)
#include "sound_choice_load_test.moc"
