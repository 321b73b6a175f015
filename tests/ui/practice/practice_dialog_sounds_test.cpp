#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <string>

#include "audio/bank/bank.h"
#include "practice_rig.h"

using namespace zelmora;
using namespace zelmora::test;

Q_DECLARE_METATYPE(TPracticeVoice)

namespace {

struct TVoiceControls {
  const char* List;
  const char* Button;
};

TVoiceControls ControlsOf(TPracticeVoice voice) {
  return voice == TPracticeVoice::Layer
             ? TVoiceControls{"scmbLayerSound", "sbtnLayerSoundFile"}
             : TVoiceControls{"scmbSubdivisionSound", "sbtnSubdivisionSoundFile"};
}

int StoredIndex(const TConfig& config, TPracticeVoice voice) {
  return voice == TPracticeVoice::Layer ? config.Practice.LayerSoundIndex
                                        : config.Practice.SubdivisionSoundIndex;
}

std::string StoredFile(const TConfig& config, TPracticeVoice voice) {
  return voice == TPracticeVoice::Layer ? config.Practice.SoundLayer
                                        : config.Practice.SoundSubdivision;
}

void Store(TConfig& config, TPracticeVoice voice, int index, const std::string& file) {
  if (voice == TPracticeVoice::Layer) {
    config.SetLayerSound(index, file);
  } else {
    config.SetSubdivisionSound(index, file);
  }
}

// The user's pick in the drop-down list, or a click on "..." for -1.
void Pick(TPracticeRig& rig, TPracticeVoice voice, int entry) {
  if (entry < 0) {
    rig.Find<QPushButton>(ControlsOf(voice).Button)->click();
    return;
  }
  auto* list = rig.Find<QComboBox>(ControlsOf(voice).List);
  list->setCurrentIndex(entry);
  emit list->activated(entry);
}

// A readable WAV file and, beside it, the name of one that is not there.
struct TSoundFiles {
  TSoundFiles() {
    const std::vector<std::uint8_t> bytes = ConstantWave(44100, 4410, 1000);
    QFile file(Readable());
    written = file.open(QIODevice::WriteOnly) &&
              file.write(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
  }
  QString Readable() const { return dir.filePath("shaker.wav"); }
  QString Missing() const { return dir.filePath("gone.wav"); }
  QTemporaryDir dir;
  bool written = false;
};

constexpr int kButton = -1;

}  // namespace

// The two practice sounds: a pick is stored once the sound has loaded, and
// the list always shows the stored choice.
class PracticeDialogSoundsTest : public QObject {
  Q_OBJECT

 private slots:
  void picksAreStored_data() {
    QTest::addColumn<TPracticeVoice>("voice");
    QTest::addColumn<int>("entry");     // kButton: the "..." button
    QTest::addColumn<bool>("answers");  // the file dialog gives the readable file
    QTest::addColumn<int>("index");     // stored and shown afterwards
    QTest::addColumn<bool>("asked");
    QTest::newRow("bank entry") << TPracticeVoice::Layer << 3 << false << 3 << false;
    QTest::newRow("file by the button")
        << TPracticeVoice::Subdivision << kButton << true << kBankCount << true;
    QTest::newRow("empty file entry asks for a file")
        << TPracticeVoice::Layer << kBankCount << true << kBankCount << true;
    QTest::newRow("button cancelled")
        << TPracticeVoice::Subdivision << kButton << false << 5 << true;
    QTest::newRow("empty file entry cancelled")
        << TPracticeVoice::Layer << kBankCount << false << 9 << true;
  }
  void picksAreStored() {
    QFETCH(TPracticeVoice, voice);
    QFETCH(int, entry);
    QFETCH(bool, answers);
    QFETCH(int, index);
    QFETCH(bool, asked);
    TSoundFiles files;
    QVERIFY(files.written);
    TPracticeRig rig;
    rig.SwitchEverythingOn();
    rig.dialog.show();
    if (answers) {
      rig.chooser.Answer = files.Readable().toStdString();
    }

    Pick(rig, voice, entry);

    const bool chosenFile = answers && index == kBankCount;
    QCOMPARE(StoredIndex(rig.config, voice), index);
    QCOMPARE(StoredFile(rig.config, voice), chosenFile ? files.Readable().toStdString() : "");
    auto* list = rig.Find<QComboBox>(ControlsOf(voice).List);
    QCOMPARE(list->currentIndex(), index);
    QCOMPARE(list->itemText(kBankCount), chosenFile ? files.Readable() : QString());
    QCOMPARE(rig.chooser.Asked.size(), std::size_t{asked ? 1u : 0u});
    if (asked) {
      QCOMPARE(rig.chooser.Asked.front().first, voice);
    }
    QVERIFY(rig.errors.empty());
  }

  // Whether the file comes from the file dialog or is the stored one that
  // has gone since, the error is reported and nothing changes.
  void unreadableFileIsReportedAndNothingChanges_data() {
    QTest::addColumn<TPracticeVoice>("voice");
    QTest::addColumn<int>("entry");
    QTest::newRow("by the button") << TPracticeVoice::Subdivision << kButton;
    QTest::newRow("stored file gone, picked again") << TPracticeVoice::Layer << kBankCount;
  }
  void unreadableFileIsReportedAndNothingChanges() {
    QFETCH(TPracticeVoice, voice);
    QFETCH(int, entry);
    TSoundFiles files;
    const std::string missing = files.Missing().toStdString();
    TPracticeRig rig;
    rig.SwitchEverythingOn();
    // A bank entry playing; the file entry holds the file that has gone,
    // or is empty and the dialog answers with that file.
    const std::string before = entry == kButton ? "" : missing;
    Store(rig.config, voice, 12, before);
    rig.chooser.Answer = missing;
    rig.dialog.show();

    Pick(rig, voice, entry);

    QCOMPARE(int(rig.errors.size()), 1);
    QVERIFY2(rig.errors.front().find("Cannot open file") != std::string::npos,
             rig.errors.front().c_str());
    QVERIFY(rig.errors.front().find("gone.wav") != std::string::npos);
    QCOMPARE(StoredIndex(rig.config, voice), 12);
    QCOMPARE(StoredFile(rig.config, voice), before);
    auto* list = rig.Find<QComboBox>(ControlsOf(voice).List);
    QCOMPARE(list->currentIndex(), 12);
    QCOMPARE(list->itemText(kBankCount), QString::fromStdString(before));
  }
};

QTEST_MAIN(PracticeDialogSoundsTest)
#include "practice_dialog_sounds_test.moc"
