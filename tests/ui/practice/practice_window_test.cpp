#include <QAction>
#include <QMenu>
#include <QSpinBox>
#include <QTest>

#include "core/config.h"
#include "tests/ui/main/program_rig.h"
#include "ui/practice/practice_dialog.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

enum class TOpening { MenuItem, CtrlPAtTheFader, CtrlPInTheMeterBox, PAlone };
Q_DECLARE_METATYPE(TOpening)

// The Practice dialog as the program reaches it from the main window.
class PracticeWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void menuItemBetweenBellSoundAndPreferences() {
    TProgramRig rig;
    const QList<QAction*> items = rig.find<QMenu>("Tools1")->actions();
    const auto at = [&items](const char* name) {
      for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i]->objectName() == QLatin1String(name)) {
          return i;
        }
      }
      return qsizetype{-1};
    };
    const qsizetype practice = at("Practice1");
    QVERIFY(practice > 0);
    QCOMPARE(items[practice]->text(), QString("Practice..."));
    QVERIFY(items[practice]->shortcut().isEmpty());
    QCOMPARE(at("Bellsound1"), practice - 1);
    // The other tool for the pieces comes next, then Preferences.
    QCOMPARE(at("Presets1"), practice + 1);
    QVERIFY(items[practice + 2]->isSeparator());
    QCOMPARE(at("Settings2"), practice + 3);
  }

  void ctrlPAndTheMenuItemOpenIt_data() {
    QTest::addColumn<TOpening>("opening");
    QTest::addColumn<bool>("opens");
    QTest::newRow("menu item") << TOpening::MenuItem << true;
    QTest::newRow("Ctrl+P at the tempo fader") << TOpening::CtrlPAtTheFader << true;
    QTest::newRow("Ctrl+P in the meter box") << TOpening::CtrlPInTheMeterBox << true;
    QTest::newRow("P alone") << TOpening::PAlone << false;
  }
  void ctrlPAndTheMenuItemOpenIt() {
    QFETCH(TOpening, opening);
    QFETCH(bool, opens);
    TProgramRig rig;
    QVERIFY(rig.Show());
    rig.config().SetTrainerStart(99);
    TfrmPractice& practice = rig.program->Practice();
    QVERIFY(!practice.isVisible());

    switch (opening) {
      case TOpening::MenuItem:
        rig.find<QAction>("Practice1")->trigger();
        break;
      case TOpening::CtrlPAtTheFader:
        QTest::keyClick(rig.tempoFader(), Qt::Key_P, Qt::ControlModifier);
        break;
      case TOpening::CtrlPInTheMeterBox:
        rig.meterBox()->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(rig.meterBox(), Qt::Key_P, Qt::ControlModifier);
        break;
      case TOpening::PAlone:
        QTest::keyClick(rig.tempoFader(), Qt::Key_P);
        break;
    }

    QCOMPARE(practice.isVisible(), opens);
    QCOMPARE(rig.meterBox()->currentText(), QString("4"));
    QVERIFY(rig.boxes.empty());
    if (!opens) {
      return;
    }
    QVERIFY(!practice.isModal());
    QVERIFY(QTest::qWaitForWindowExposed(&practice));
    QVERIFY((practice.frameGeometry().center() - rig.main().frameGeometry().center())
                .manhattanLength() <= 2);
    QCOMPARE(practice.findChild<QSpinBox*>("sspnTrainerStart")->text(), QString("99 bpm"));
  }

  // What is set there is saved with the rest, the dialog gone first.
  void itsSettingsAreSavedWithTheRest() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    rig.find<QAction>("Practice1")->trigger();
    rig.program->Practice().findChild<QSpinBox*>("sspnPracticeMinutes")->setValue(30);
    rig.End();
    QCOMPARE(rig.ini.Stored("Zelmora/Practice Minutes").toString(), QString("30"));
  }
};

QTEST_MAIN(PracticeWindowTest)
#include "practice_window_test.moc"
