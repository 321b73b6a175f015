#include <QAction>
#include <QFile>
#include <QTest>

#include <string>

#include "core/config.h"
#include "store/preset_file.h"
#include "tests/ui/main/program_rig.h"
#include "ui/panel/big_panel.h"
#include "ui/practice/practice_dialog.h"
#include "ui/presets/presets_dialog.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

namespace {

// Two pieces, as a musician's file could hold them; no current preset.
const QByteArray kTwoPresets = R"({
  "version": 1,
  "presets": [
    {"name": "Waltz", "settings": {"Tempo": "96", "BeatPattern": "Xxx"}},
    {"name": "Reel", "settings": {"Tempo": "112", "BeatPattern": "Xxxx"}}
  ],
  "setlists": [],
  "current": {"setlist": "All presets", "preset": ""}
})";

}  // namespace

// The presets in the whole program: the keys that step through them, and
// what the windows show of the current one.
class PresetsProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void f8AndF7StepThroughTheSetlist() {
    TProgramRig rig({}, false, kTwoPresets);
    QVERIFY(rig.Show());
    QCOMPARE(rig.main().windowTitle(), QString(" Zelmora"));
    // Wherever the focus is in the window; the fader keeps its own keys.
    rig.meterBox()->setFocus();
    QTest::keyClick(rig.meterBox(), Qt::Key_F8);
    QCOMPARE(rig.config().Tempo.load(), 96);
    QCOMPARE(rig.config().BeatPattern, std::string("Xxx"));
    QCOMPARE(rig.main().windowTitle(), QString::fromUtf8(" Zelmora \u2013 Waltz"));
    QCOMPARE(rig.program->BeatPanel()->PresetName(), std::string("Waltz"));
    rig.tempoFader()->setFocus();
    QTest::keyClick(rig.tempoFader(), Qt::Key_MediaNext);
    QTest::keyClick(rig.tempoFader(), Qt::Key_F8);  // at the end: stays
    QCOMPARE(rig.config().Tempo.load(), 112);
    QTest::keyClick(rig.program->BeatPanel(), Qt::Key_F7);
    QCOMPARE(rig.config().Tempo.load(), 96);
    QVERIFY(rig.boxes.empty());
    rig.End();
    // The place and the settings it recalled outlive the run.
    QCOMPARE(TPresetFile(rig.PresetsPath()).Load().Library.Current().Preset, std::string("Waltz"));
    QCOMPARE(rig.ini.Stored("Zelmora/Tempo").toInt(), 96);
  }

  void ctrlLAndTheMenuItemOpenThePresets() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QWidget& dialog = rig.program->PresetsDialog();
    QTest::keyClick(rig.tempoFader(), Qt::Key_L, Qt::ControlModifier);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.isModal());
    dialog.hide();
    auto* item = rig.main().findChild<QAction*>("Presets1");
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), QString("Presets..."));
    item->trigger();
    QVERIFY(dialog.isVisible());
  }

  // The Practice dialog shows what a recall set while it is open.
  void anOpenPracticeDialogFollowsARecall() {
    const QByteArray presets = R"({"version": 1,
      "presets": [{"name": "Triplets", "settings": {"Subdivision": "3"}}]})";
    TProgramRig rig({}, false, presets);
    QVERIFY(rig.Show());
    rig.program->Practice().show();
    auto* subdivision = rig.program->Practice().findChild<QComboBox*>("scmbSubdivision");
    QVERIFY(subdivision != nullptr);
    QCOMPARE(subdivision->currentData().toInt(), 1);
    rig.program->Presets().Step(TPresetStep::Next);
    QCOMPARE(subdivision->currentData().toInt(), 3);
    QCOMPARE(rig.config().Practice.Subdivision.load(), 3);
  }

  // Nothing is overwritten unread: the damaged file goes aside, named in a
  // message, and the run starts without presets.
  void aDamagedFileIsKeptAside() {
    TProgramRig rig({}, false, "{\"version\": 1, \"presets\": [");
    QCOMPARE(rig.boxes.size(), std::size_t{1});
    QVERIFY2(rig.boxes[0].Text.contains("presets.json.bad"), qPrintable(rig.boxes[0].Text));
    QVERIFY(rig.program->Presets().Library().Presets().empty());
    QFile aside(rig.PresetsPath() + ".bad");
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), QByteArray("{\"version\": 1, \"presets\": ["));
  }

  // A sound file that has gone: the settings file's message, and the name
  // stays for the save.
  void aMissingSoundFileIsReportedAndKept() {
    const QByteArray presets = R"({"version": 1,
      "presets": [{"name": "Own", "settings": {"Accented Sound Index": "25",
                   "Sound Accent": "/nowhere/own click.wav"}}]})";
    TProgramRig rig({}, false, presets);
    QVERIFY(rig.Show());
    QTest::keyClick(rig.tempoFader(), Qt::Key_F8);
    QCOMPARE(rig.boxes.size(), std::size_t{1});
    QVERIFY2(rig.boxes[0].Text.contains("/nowhere/own click.wav"), qPrintable(rig.boxes[0].Text));
    rig.End();
    QCOMPARE(rig.ini.Stored("Zelmora/Sound Accent").toString(), QString("/nowhere/own click.wav"));
  }
};

QTEST_MAIN(PresetsProgramTest)
#include "presets_program_test.moc"
