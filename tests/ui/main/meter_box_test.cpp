#include <QAbstractItemView>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/config.h"
#include "core/metronome.h"
#include "tests/ui/main/program_rig.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

// The meter box runs its change handler for the user's own edits and picks
// only, and reports bad texts in the general error box.
class MeterBoxTest : public QObject {
  Q_OBJECT

 private:
  static void Type(TProgramRig& rig, const QString& text) {
    TMeterCombo* box = rig.meterBox();
    box->setFocus(Qt::OtherFocusReason);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, text);  // the first key replaces the old text
  }

  // Opens the list and clicks an entry, as the user picks it.
  static void Pick(TProgramRig& rig, const QString& text) {
    TMeterCombo* box = rig.meterBox();
    box->showPopup();
    QAbstractItemView* list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QModelIndex item = box->model()->index(box->findText(text), 0);
    const QPoint centre = list->visualRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
  }

 private slots:
  void pickingAShorterBarRestartsIt_data() {
    QTest::addColumn<QString>("picked");
    QTest::addColumn<int>("beatIndex");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("expectedIndex");
    QTest::newRow("1 at beat 4") << "1" << 4 << "X" << 1;
    QTest::newRow("2 at beat 3") << "2" << 3 << "Xx" << 1;
    QTest::newRow("3+2 at beat 4") << "3+2" << 4 << "XxxXx" << 4;
  }
  void pickingAShorterBarRestartsIt() {
    QFETCH(QString, picked);
    QFETCH(int, beatIndex);
    QFETCH(QString, pattern);
    QFETCH(int, expectedIndex);
    TProgramRig rig;
    QVERIFY(rig.Show());
    rig.program->Transport().BeatIndex = static_cast<std::uint8_t>(beatIndex);
    Pick(rig, picked);
    QCOMPARE(QString::fromStdString(rig.config().BeatPattern), pattern);
    QCOMPARE(int(rig.program->Transport().BeatIndex.load()), expectedIndex);
    QCOMPARE(rig.find<QLabel>("slblTimeSignNum")->text(), QString::number(pattern.size()));
    // The closed list hands the focus back to the tempo fader.
    QVERIFY(rig.tempoFader()->hasFocus());
  }

  // The open list highlights the entry the box shows, or none; Enter in the
  // list then keeps the meter the box shows.
  void listOpensOnTheMeterShown_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::string>("setPattern");
    QTest::addColumn<int>("highlighted");
    QTest::addColumn<std::string>("patternAfterEnter");
    QTest::newRow("typed 3") << "3" << std::string() << 2 << std::string("Xxx");
    QTest::newRow("typed 2+2") << "2+2" << std::string() << 4 << std::string("XxXx");
    QTest::newRow("typed 5, no entry") << "5" << std::string() << -1 << std::string("Xxxxx");
    QTest::newRow("set 3+2") << QString() << std::string("XxxXx") << 5 << std::string("XxxXx");
    QTest::newRow("set 7, no entry")
        << QString() << std::string("Xxxxxxx") << -1 << std::string("Xxxxxxx");
  }
  void listOpensOnTheMeterShown() {
    QFETCH(QString, typed);
    QFETCH(std::string, setPattern);
    QFETCH(int, highlighted);
    QFETCH(std::string, patternAfterEnter);
    TProgramRig rig;
    QVERIFY(rig.Show());
    if (!typed.isEmpty()) {
      Type(rig, typed);
    } else {
      rig.config().SetBeatPattern(setPattern);
    }
    TMeterCombo* box = rig.meterBox();
    const QString shown = box->currentText();
    box->showPopup();
    QAbstractItemView* list = box->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    QCOMPARE(list->currentIndex().row(), highlighted);
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), highlighted >= 0 ? 1 : 0);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(rig.config().BeatPattern, patternAfterEnter);
    QCOMPARE(box->currentText(), shown);
    box->hidePopup();
    QVERIFY(rig.boxes.empty());
  }

  void typingSetsTheBarAsItIsTyped() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    Type(rig, "3+2");
    QCOMPARE(rig.config().BeatPattern, std::string("XxxXx"));
    QCOMPARE(rig.meterBox()->currentText(), QString("3+2"));
    // "3+" on the way was the bar of 3; nothing was refused.
    QVERIFY(rig.boxes.empty());
    // Typed texts are not added to the list.
    QTest::keyClick(rig.meterBox(), Qt::Key_Return);
    QCOMPARE(rig.meterBox()->count(), 6);
  }

  void textFromTheProgramDoesNotRunTheHandler() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    rig.config().SetBeatPattern("XxxXxx");
    QCOMPARE(rig.meterBox()->currentText(), QString("3+3"));
    // The handler would have recorded the text it applied.
    QCOMPARE(rig.config().MeterText, std::string());
    QVERIFY(rig.boxes.empty());
  }

  void badTextGoesToTheErrorBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("beats");  // of the last valid text on the way
    QTest::newRow("letter") << "a"
                            << "'a' is not a valid integer value." << 4;
    QTest::newRow("too large") << "256"
                               << "Range check error." << 25;
    QTest::newRow("markup stays text") << "<b>"
                                       << "'<b>' is not a valid integer value." << 4;
  }
  void badTextGoesToTheErrorBox() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, beats);
    TProgramRig rig;
    QVERIFY(rig.Show());
    Type(rig, typed);
    QVERIFY(!rig.boxes.empty());
    const TShownBox& box = rig.boxes.back();
    QCOMPARE(box.Title, QString("Zelmora"));
    QCOMPARE(box.Text, message);
    QVERIFY(box.Error);
    // The bar stays as it was, and the box keeps what the user typed.
    QCOMPARE(int(rig.config().BeatPattern.size()), beats);
    QCOMPARE(rig.meterBox()->currentText(), typed);
  }

  void askingForTheOpenConstructorModallyIsAnError() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    rig.find<QAction>("MeterConstructor1")->trigger();  // beside the window
    QTest::mouseDClick(rig.meterBox()->lineEdit(), Qt::LeftButton);
    QVERIFY(!rig.boxes.empty());
    QCOMPARE(rig.boxes.back().Text, QString("Cannot make a visible window modal."));
    auto* count = rig.find<QWidget>("slblTimeSignNum");
    QTest::mouseClick(count, Qt::LeftButton);
    QCOMPARE(rig.boxes.back().Text, QString("Cannot make a visible window modal."));
    QCOMPARE(int(rig.boxes.size()), 2);
  }
};

QTEST_MAIN(MeterBoxTest)
#include "meter_box_test.moc"
