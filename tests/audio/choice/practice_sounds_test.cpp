#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "audio/bank/bank.h"
#include "audio/choice/practice_sounds.h"
#include "choice_rig.h"
#include "core/error.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

struct TPracticeRig {
  TConfig config;
  TMixer mixer{kRigMixerRate};
  TBeatVoices voices = TBeatVoices::On(&mixer);
  TRecordedMessages messages;
  TPracticeSounds sounds{config, voices, messages};
};

}  // namespace

class PracticeSoundsTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpBuildsTheStoredSounds() {
    TPracticeRig rig;
    rig.config.SetLayerSound(3, "");
    rig.sounds.StartUp();
    QVERIFY(rig.messages.Texts.empty());
    QVERIFY(VoicePlays(rig.mixer, rig.voices.SubdivisionBuffer, CutBankWave(5)));
    TPracticeRig other;
    other.config.SetLayerSound(3, "");
    other.sounds.StartUp();
    QVERIFY(VoicePlays(other.mixer, other.voices.LayerBuffer, CutBankWave(3)));
  }

  // The stored choice stays, for a later run that finds the file again or
  // an index this version does not know.
  void aMissingFileOrAnUnknownIndexFallsBackToTheDefault() {
    TPracticeRig rig;
    rig.config.SetSubdivisionSound(kBankCount, "/no/such/click.wav");
    rig.config.SetLayerSound(77, "");
    rig.sounds.StartUp();
    QCOMPARE(rig.messages.Texts.size(), std::size_t{1});
    QVERIFY(rig.messages.Texts[0].find("/no/such/click.wav") != std::string::npos);
    QCOMPARE(rig.config.Practice.SoundSubdivision, std::string("/no/such/click.wav"));
    QCOMPARE(rig.config.Practice.LayerSoundIndex, 77);
    QVERIFY(VoicePlays(rig.mixer, rig.voices.SubdivisionBuffer, CutBankWave(5)));
    TPracticeRig other;
    other.config.SetLayerSound(77, "");
    other.sounds.StartUp();
    QVERIFY(VoicePlays(other.mixer, other.voices.LayerBuffer, CutBankWave(9)));
  }

  void chooseStoresTheChoiceOnceItIsBuilt() {
    QTemporaryDir dir;
    const QString path = dir.filePath("click.wav");
    {
      const std::vector<std::uint8_t> bytes = ConstantWave(48000, 4800, 1000);
      QFile file(path);
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    TPracticeRig rig;
    rig.sounds.StartUp();
    rig.sounds.Choose(TPracticeVoice::Layer, kBankCount, path.toStdString());
    QCOMPARE(rig.config.Practice.LayerSoundIndex, kBankCount);
    QCOMPARE(rig.config.Practice.SoundLayer, path.toStdString());
    TWave chosen;
    chosen.SetImage(ConstantWave(48000, 4800, 1000));
    QVERIFY(VoicePlays(rig.mixer, rig.voices.LayerBuffer, chosen));
  }

  void aFileThatCannotBeReadChangesNothing() {
    TPracticeRig rig;
    rig.sounds.StartUp();
    bool thrown = false;
    try {
      rig.sounds.Choose(TPracticeVoice::Subdivision, kBankCount, "/no/such/click.wav");
    } catch (const TError&) {
      thrown = true;
    }
    QVERIFY(thrown);
    QCOMPARE(rig.config.Practice.SubdivisionSoundIndex, 5);
    QCOMPARE(rig.config.Practice.SoundSubdivision, std::string());
    QVERIFY(VoicePlays(rig.mixer, rig.voices.SubdivisionBuffer, CutBankWave(5)));
  }
};

QTEST_GUILESS_MAIN(PracticeSoundsTest)
#include "practice_sounds_test.moc"
