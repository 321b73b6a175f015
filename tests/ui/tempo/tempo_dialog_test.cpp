#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "core/config.h"
#include "ui/tempo/calc_edit.h"
#include "ui/tempo/calculator_popup.h"
#include "ui/tempo/tempo_dialog.h"

using namespace zelmora;

namespace {

// A dialog opened (not exec'd) so the test can type into it, with the
// warning beep counted instead of sounded.
struct TDialogRig {
  explicit TDialogRig(int tempo) : dialog(config) {
    config.SetTempo(tempo);
    field()->SetBeep([this] { ++beeps; });
    dialog.open();
    exposed = QTest::qWaitForWindowExposed(&dialog);
  }
  TCalcEdit* field() { return dialog.findChild<TCalcEdit*>("sCalcEdit1"); }
  QLineEdit* edit() { return field()->Edit(); }
  QPushButton* button(const char* name) { return dialog.findChild<QPushButton*>(name); }
  void Type(const QString& text) {
    edit()->selectAll();
    QTest::keyClick(edit(), Qt::Key_Delete);
    QTest::keyClicks(edit(), text);
  }

  TConfig config;
  TfrmTempo dialog;
  int beeps = 0;
  bool exposed = false;
};

}  // namespace

class TempoDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void looksAsDesigned() {
    TConfig config;
    TfrmTempo dialog(config);
    QCOMPARE(dialog.windowTitle(), QString("Tempo"));
    QCOMPARE(dialog.size(), QSize(154, 105));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(dialog.findChild<QLabel*>()->text() == "Enter the tempo");
    QCOMPARE(dialog.findChild<TCalcEdit*>("sCalcEdit1")->geometry(), QRect(8, 32, 137, 21));
    auto* ok = dialog.findChild<QPushButton*>("sButton1");
    auto* cancel = dialog.findChild<QPushButton*>("sButton2");
    QCOMPARE(ok->text(), QString("Ok"));
    QCOMPARE(cancel->text(), QString("Cancel"));
    QCOMPARE(ok->geometry(), QRect(8, 72, 65, 25));
    QCOMPARE(cancel->geometry(), QRect(80, 72, 65, 25));
    QVERIFY(ok->isDefault());
  }

  void showingPutsTheTempoInTheFocusedField() {
    TDialogRig rig(137);
    QCOMPARE(rig.edit()->text(), QString("137"));
    QVERIFY(rig.edit()->hasFocus());
    // Shown again later, it shows the tempo of that moment.
    rig.dialog.reject();
    rig.config.SetTempo(64);
    rig.dialog.open();
    QCOMPARE(rig.edit()->text(), QString("64"));
  }

  void enterSetsTheClampedTempo_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("tempo");
    QTest::addColumn<QString>("display");
    QTest::newRow("in range") << "250" << 250 << "250";
    QTest::newRow("above 416") << "500" << 416 << "416";
    QTest::newRow("below 20") << "5" << 20 << "020";
    QTest::newRow("empty counts as 0") << "" << 20 << "020";
    QTest::newRow("leading zeros") << "0099" << 99 << "099";
    QTest::newRow("more digits than an int") << "123456789012345" << 416 << "416";
  }
  void enterSetsTheClampedTempo() {
    QFETCH(QString, typed);
    QFETCH(int, tempo);
    QFETCH(QString, display);
    TDialogRig rig(120);
    rig.Type(typed);
    QTest::keyClick(rig.edit(), Qt::Key_Return);
    QCOMPARE(rig.dialog.result(), int(QDialog::Accepted));
    QVERIFY(!rig.dialog.isVisible());
    QCOMPARE(rig.config.Tempo.load(), tempo);
    QCOMPARE(QString::fromStdString(rig.config.Controls.sPanel1->Value()), display);
    QCOMPARE(rig.config.Controls.sTrackBarTempo->Value(), -tempo);
    QCOMPARE(rig.beeps, 0);
  }

  void onlyDigitsAreTaken_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("beeps");
    QTest::newRow("digits") << "123"
                            << "123" << 0;
    QTest::newRow("letter") << "1a2"
                            << "12" << 1;
    QTest::newRow("minus sign") << "-5"
                                << "5" << 1;
    QTest::newRow("decimals") << "1.5"
                              << "15" << 1;
    QTest::newRow("comma and blank") << "1, 2"
                                     << "12" << 2;
  }
  void onlyDigitsAreTaken() {
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(int, beeps);
    TDialogRig rig(120);
    rig.Type(typed);
    QCOMPARE(rig.edit()->text(), text);
    QCOMPARE(rig.beeps, beeps);
  }

  void pastingANonNumberIsRefused() {
    TDialogRig rig(120);
    QApplication::clipboard()->setText("12a");
    rig.edit()->selectAll();
    rig.edit()->paste();
    QCOMPARE(rig.edit()->text(), QString("120"));
    QCOMPARE(rig.beeps, 1);
  }

  void escPutsBackTheShownValueAndStaysOpen() {
    TDialogRig rig(120);
    rig.Type("3");
    QTest::keyClick(rig.edit(), Qt::Key_Escape);
    QCOMPARE(rig.edit()->text(), QString("120"));
    QVERIFY(rig.dialog.isVisible());
    QCOMPARE(rig.config.Tempo.load(), 120);
  }

  void cancelChangesNothing() {
    TDialogRig rig(120);
    rig.config.SetTapMode(true);
    rig.Type("300");
    QTest::mouseClick(rig.button("sButton2"), Qt::LeftButton);
    QCOMPARE(rig.dialog.result(), int(QDialog::Rejected));
    QVERIFY(!rig.dialog.isVisible());
    QCOMPARE(rig.config.Tempo.load(), 120);
    QVERIFY(rig.config.TapMode);
  }

  void okLeavesTapModeOn() {
    TDialogRig rig(120);
    rig.config.SetTapMode(true);
    rig.Type("300");
    QTest::mouseClick(rig.button("sButton1"), Qt::LeftButton);
    QCOMPARE(rig.config.Tempo.load(), 300);
    QVERIFY(rig.config.TapMode);
  }

  void calculatorResultGoesIntoTheField_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("sum") << "200+40"
                         << "240";
    QTest::newRow("rounded to whole") << "60000/512"
                                      << "117";
    QTest::newRow("above the range") << "1000"
                                     << "416";
    QTest::newRow("below the range") << "5-8"
                                     << "20";
    QTest::newRow("from the field's value") << "*2"
                                            << "240";
  }
  void calculatorResultGoesIntoTheField() {
    QFETCH(QString, keys);
    QFETCH(QString, text);
    TDialogRig rig(120);
    QTest::keyClick(rig.edit(), Qt::Key_Down, Qt::AltModifier);
    TCalculatorPopup* popup = rig.field()->Calculator();
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->DisplayText(), QString("120"));
    QTest::keyClicks(popup, keys);
    QTest::keyClick(popup, Qt::Key_Return);
    QVERIFY(!popup->isVisible());
    QCOMPARE(rig.edit()->text(), text);
    QVERIFY(rig.dialog.isVisible());
    QCOMPARE(rig.config.Tempo.load(), 120);  // only "Ok" sets it

    // Esc now puts back the calculator's value, which the field last showed.
    QTest::keyClicks(rig.edit(), "7");
    QTest::keyClick(rig.edit(), Qt::Key_Escape);
    QCOMPARE(rig.edit()->text(), text);
    QTest::keyClick(rig.edit(), Qt::Key_Return);
    QCOMPARE(rig.config.Tempo.load(), text.toInt());
  }

  void calculatorButtonOpensIt() {
    TDialogRig rig(96);
    QTest::mouseClick(rig.field()->Button(), Qt::LeftButton);
    QVERIFY(rig.field()->Calculator()->isVisible());
    QCOMPARE(rig.field()->Calculator()->DisplayText(), QString("96"));
    QTest::keyClick(rig.field()->Calculator(), Qt::Key_Escape);
    QVERIFY(!rig.field()->Calculator()->isVisible());
    QCOMPARE(rig.edit()->text(), QString("96"));
  }

  void executeCentresOnTheMainWindow() {
    QWidget main;
    main.setGeometry(300, 200, 264, 255);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    TConfig config;
    config.SetTempo(120);
    TfrmTempo dialog(config, &main);
    QPoint centre;
    QTimer::singleShot(0, &dialog, [&] {
      centre = dialog.frameGeometry().center();
      dialog.findChild<QPushButton*>("sButton1")->click();
    });
    QVERIFY(dialog.Execute());
    QVERIFY((centre - main.frameGeometry().center()).manhattanLength() <= 2);
  }
};

QTEST_MAIN(TempoDialogTest)
#include "tempo_dialog_test.moc"
