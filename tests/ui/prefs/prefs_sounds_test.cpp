#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>

#include "prefs_rig.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"
#include "tests/store/temp_ini.h"
#include "ui/skin/skin.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

// What the user's pick of an entry in the drop-down list does.
void Choose(QComboBox* combo, int index) {
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

struct TSoundFile {
  TSoundFile() {
    const std::vector<std::uint8_t> bytes = ConstantWave(44100, 44100, 1000);
    QFile file(Path());
    written = file.open(QIODevice::WriteOnly) &&
              file.write(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
  }
  QString Path() const { return dir.filePath("chosen.wav"); }
  QTemporaryDir dir;
  bool written = false;
};

}  // namespace

// The two sound lists of the dialog and their file choice.
class PrefsSoundsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setApplicationName(QStringLiteral("Zelmora")); }
  void cleanup() { TSkin::Instance().SetHueOffset(0); }

  // Each open list shows 24 of its 26 entries at a time and scrolls to the
  // rest.
  void listsShowTwentyFourEntriesAtATime() {
    QApplication::setStyle(QStringLiteral("Fusion"));  // the program's
    TPrefsRig rig;
    rig.dialog.FillSoundLists();
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    for (const char* name : {"sComboBoxAcc", "sComboBoxReg"}) {
      auto* combo = rig.Find<QComboBox>(name);
      combo->setCurrentIndex(0);
      combo->showPopup();
      QAbstractItemView* list = combo->view();
      QVERIFY(QTest::qWaitForWindowExposed(list->window()));
      int wholeRows = 0;
      for (int row = 0; row < combo->count(); ++row) {
        const QRect place = list->visualRect(combo->model()->index(row, 0));
        wholeRows += place.top() >= 0 && place.bottom() <= list->viewport()->rect().bottom();
      }
      QCOMPARE(wholeRows, 24);
      QVERIFY(list->verticalScrollBar()->maximum() > 0);
      combo->hidePopup();
    }
  }

  // First run: "Jam Block" and "Wood Block Hi", the file entries empty; the
  // save reads the lists and the hue slider.
  void firstRunAndTheSave() {
    testing::TTempIni ini;
    QVERIFY(ini.IsValid());
    const auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TPrefsRig rig;
    LoadSettings(rig.config, store);

    rig.dialog.FillSoundLists();

    auto* accent = rig.Find<QComboBox>("sComboBoxAcc");
    auto* regular = rig.Find<QComboBox>("sComboBoxReg");
    for (QComboBox* combo : {accent, regular}) {
      QCOMPARE(combo->count(), 26);
      QCOMPARE(combo->itemText(0), QString("808 rimshot"));
      QCOMPARE(combo->itemText(24), QString("Table Sharp Na"));
      QCOMPARE(combo->itemText(25), QString());
      QCOMPARE(combo->maxVisibleItems(), 24);
      QVERIFY(!combo->isEditable());
    }
    QCOMPARE(regular->currentText(), QString("Jam Block"));
    QCOMPARE(accent->currentText(), QString("Wood Block Hi"));
    QCOMPARE(rig.regular.Wave.SampleBytes(), 22050u);

    Choose(accent, 3);
    rig.Find<QSlider>("strkbHue")->setValue(120);
    SaveSettings(rig.config, store);
    settings->sync();
    QCOMPARE(ini.Stored("Zelmora/Accented Sound Index").toString(), QString("3"));
    QCOMPARE(ini.Stored("Zelmora/Regular Sound Index").toString(), QString("17"));
    QCOMPARE(ini.Stored("Zelmora/Hue").toString(), QString("120"));
  }

  // The main window may destroy the dialog before it saves: the dialog hands
  // the lists and the hue back, and a new dialog takes the lists over again.
  void saveAfterTheDialogHasGone() {
    testing::TTempIni ini;
    QVERIFY(ini.IsValid());
    const auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    TBeatVoices voices = TBeatVoices::On(nullptr);
    TWaveStorage accent{ClickWave()}, regular{ClickWave()}, bell{BellWave()};
    TRecordedMessages messages;
    TSoundChoice choice(config, accent, regular, bell, voices, messages);
    auto dialog = std::make_unique<TfrmSettings>(config, choice);
    LoadSettings(config, store);
    dialog->FillSoundLists();
    Choose(dialog->findChild<QComboBox*>("sComboBoxReg"), 5);
    dialog->findChild<QSlider*>("strkbHue")->setValue(120);

    dialog.reset();
    SaveSettings(config, store);

    settings->sync();
    QCOMPARE(ini.Stored("Zelmora/Regular Sound Index").toString(), QString("5"));
    QCOMPARE(ini.Stored("Zelmora/Accented Sound Index").toString(), QString("18"));
    QCOMPARE(ini.Stored("Zelmora/Hue").toString(), QString("120"));
    TfrmSettings again(config, choice);
    QCOMPARE(again.findChild<QComboBox*>("sComboBoxReg")->currentIndex(), 5);
    QCOMPARE(again.findChild<QComboBox*>("sComboBoxReg")->count(), 26);
  }

  // Selecting the empty file entry opens the file dialog. A cancel leaves
  // the entry selected and empty and the sound as it was; a chosen file
  // becomes the entry and the sound.
  void emptyFileEntryOpensTheFileDialog_data() {
    QTest::addColumn<bool>("pick");
    QTest::newRow("cancelled") << false;
    QTest::newRow("a file is chosen") << true;
  }
  void emptyFileEntryOpensTheFileDialog() {
    QFETCH(bool, pick);
    TSoundFile file;
    QVERIFY(file.written);
    TPrefsRig rig;
    rig.dialog.FillSoundLists();
    const std::vector<std::uint8_t> before = rig.regular.Wave.Image();
    if (pick) {
      rig.chooser.Answer = file.Path().toStdString();
    }
    auto* regular = rig.Find<QComboBox>("sComboBoxReg");

    Choose(regular, 25);

    QCOMPARE(rig.chooser.Asked.size(), std::size_t{1});
    QCOMPARE(rig.chooser.Asked.front().first, TSoundSide::Regular);
    QCOMPARE(regular->currentIndex(), 25);
    QCOMPARE(regular->itemText(25), pick ? file.Path() : QString());
    if (pick) {
      QCOMPARE(rig.regular.Wave.SampleBytes(), 22050u);
      QCOMPARE(int(FirstValue(rig.regular.Wave)), 1000);
    } else {
      QVERIFY(rig.regular.Wave.Image() == before);
    }
    QVERIFY(rig.messages.Texts.empty());
  }

  // The "..." button: cancelled, nothing changes; chosen, the file is the
  // entry, selected and loaded.
  void fileButton_data() {
    QTest::addColumn<bool>("pick");
    QTest::newRow("cancelled") << false;
    QTest::newRow("a file is chosen") << true;
  }
  void fileButton() {
    QFETCH(bool, pick);
    TSoundFile file;
    QVERIFY(file.written);
    TPrefsRig rig;
    rig.dialog.FillSoundLists();
    const std::vector<std::uint8_t> before = rig.accent.Wave.Image();
    if (pick) {
      rig.chooser.Answer = file.Path().toStdString();
    }

    rig.Find<QPushButton>("sbtnSelectFilenameAcc")->click();

    auto* accent = rig.Find<QComboBox>("sComboBoxAcc");
    QCOMPARE(rig.chooser.Asked.size(), std::size_t{1});
    QCOMPARE(rig.chooser.Asked.front().first, TSoundSide::Accent);
    QCOMPARE(accent->currentIndex(), pick ? 25 : 18);
    QCOMPARE(accent->itemText(25), pick ? file.Path() : QString());
    QCOMPARE(rig.config.Controls.OpenDialogAcc->Value(),
             pick ? file.Path().toStdString() : std::string());
    if (pick) {
      QCOMPARE(rig.accent.Wave.SampleBytes(), 22050u);
    } else {
      QVERIFY(rig.accent.Wave.Image() == before);
    }
  }

  // A file that cannot be opened goes to the general error box, with a
  // full stop, and the sound stays.
  void fileThatCannotBeOpened() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("gone.wav");
    TPrefsRig rig;
    rig.config.Controls.OpenDialogReg->SetValue(path.toStdString());
    rig.dialog.FillSoundLists();
    const std::vector<std::uint8_t> before = rig.regular.Wave.Image();
    TMessageBoxWatcher watcher;

    Choose(rig.Find<QComboBox>("sComboBoxReg"), 25);

    QCOMPARE(watcher.Seen.size(), std::size_t{1});
    QCOMPARE(watcher.Seen.front().Title, QString("Zelmora"));
    QCOMPARE(watcher.Seen.front().Icon, QMessageBox::Critical);
    QCOMPARE(watcher.Seen.front().Text,
             QString("Cannot open file \"%1\". %2.").arg(path, std::strerror(ENOENT)));
    QVERIFY(rig.regular.Wave.Image() == before);
    QVERIFY(rig.chooser.Asked.empty());
  }

  // Picking a bank sound from the list rebuilds that side at once.
  void bankSoundFromTheList() {
    TPrefsRig rig;
    rig.dialog.FillSoundLists();
    Choose(rig.Find<QComboBox>("sComboBoxAcc"), 3);
    QCOMPARE(rig.accent.Wave.SampleBytes(), 24000u);
    QCOMPARE(rig.config.Controls.sComboBoxAcc->Value(), 3);
    // Selecting from code alone loads nothing.
    rig.Find<QComboBox>("sComboBoxAcc")->setCurrentIndex(2);
    QCOMPARE(rig.accent.Wave.SampleBytes(), 24000u);
  }
};

QTEST_MAIN(PrefsSoundsTest)
#include "prefs_sounds_test.moc"
