#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "core/config.h"
#include "core/metronome.h"
#include "tests/ui/main/program_rig.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

enum class TFocus { TempoFader, MeterBox, TapButton };
Q_DECLARE_METATYPE(TFocus)

// The main window's key map: it acts whichever control has the focus and
// leaves the key to that control afterwards.
class KeyMapTest : public QObject {
  Q_OBJECT

 private:
  static QWidget* Focus(TProgramRig& rig, TFocus focus) {
    QWidget* widget = focus == TFocus::TempoFader ? static_cast<QWidget*>(rig.tempoFader())
                      : focus == TFocus::MeterBox ? static_cast<QWidget*>(rig.meterBox())
                                                  : static_cast<QWidget*>(rig.tapButton());
    widget->setFocus(Qt::OtherFocusReason);
    return widget;
  }

 private slots:
  void enterTapsWhereverTheFocusIs_data() {
    QTest::addColumn<TFocus>("focus");
    QTest::addColumn<bool>("running");
    QTest::newRow("tempo fader") << TFocus::TempoFader << false;
    QTest::newRow("meter box") << TFocus::MeterBox << false;
    QTest::newRow("meter box, running") << TFocus::MeterBox << true;
    QTest::newRow("tap button (not twice)") << TFocus::TapButton << false;
  }
  void enterTapsWhereverTheFocusIs() {
    QFETCH(TFocus, focus);
    QFETCH(bool, running);
    TProgramRig rig;
    QVERIFY(rig.Show());
    if (running) {
      rig.program->Metronome().StartStop();
    }
    QWidget* target = Focus(rig, focus);
    // A tap is not the end of a meter: the meter box does not see it.
    QSignalSpy returned(rig.meterBox()->lineEdit(), &QLineEdit::returnPressed);
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(returned.count(), 0);
    QVERIFY(rig.config().TapMode);
    QCOMPARE(rig.main().Tap().TapCount(), std::size_t{1});
    QVERIFY(!rig.program->Metronome().Running());  // a tap stops the metronome
    QVERIFY(!rig.tapLabel()->isHidden());
    QVERIFY(rig.boxes.empty());
    // The meter box keeps its text: Enter is not a meter.
    QCOMPARE(rig.meterBox()->currentText(), QString("4"));
  }

  void spaceIsAPressOnTheStartButton() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QTest::keyClick(rig.tempoFader(), Qt::Key_Return);
    QVERIFY(rig.config().TapMode);
    QTest::keyClick(rig.tempoFader(), Qt::Key_Space);
    QVERIFY(!rig.config().TapMode);
    QVERIFY(rig.tapLabel()->isHidden());
    QVERIFY(rig.program->Metronome().Running());
    QVERIFY(rig.startButton()->Sunken());
    QCOMPARE(rig.startButton()->Sign(), TPressButton::TSign::Pause);
    QVERIFY(rig.tempoFader()->hasFocus());
    QTest::keyClick(rig.tempoFader(), Qt::Key_Space);
    QVERIFY(!rig.program->Metronome().Running());
    QCOMPARE(rig.startButton()->Sign(), TPressButton::TSign::Play);
  }

  void spaceOnTheFocusedTapButtonTogglesOnce() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QTest::keyClick(Focus(rig, TFocus::TapButton), Qt::Key_Space);
    QVERIFY(rig.program->Metronome().Running());
    QCOMPARE(rig.main().Tap().TapCount(), std::size_t{0});
    // Releasing a key on the tap button hands the focus back to the fader.
    QVERIFY(rig.tempoFader()->hasFocus());
  }

  // In the meter box, the keys the window acts on act and are not typed
  // as well; every other key is typed as usual.
  void meterBoxGetsOnlyTheKeysTheWindowLeaves_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("volume");
    QTest::newRow("Space starts") << int(Qt::Key_Space) << false << "4" << true << 0;
    QTest::newRow("keypad minus") << int(Qt::Key_Minus) << true << "4" << false << -100;
    QTest::newRow("keypad plus") << int(Qt::Key_Plus) << true << "4" << false << 0;
    QTest::newRow("plus") << int(Qt::Key_Plus) << false << "4+" << false << 0;
    QTest::newRow("digit") << int(Qt::Key_3) << false << "43" << false << 0;
  }
  void meterBoxGetsOnlyTheKeysTheWindowLeaves() {
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(QString, text);
    QFETCH(bool, running);
    QFETCH(int, volume);
    TProgramRig rig;
    QVERIFY(rig.Show());
    QWidget* box = Focus(rig, TFocus::MeterBox);
    rig.meterBox()->lineEdit()->selectAll();
    QTest::keyClicks(box, "4");
    QTest::keyClick(box, Qt::Key(key), keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(rig.meterBox()->currentText(), text);
    QCOMPARE(rig.program->Metronome().Running(), running);
    QCOMPARE(rig.config().Volume.load(), volume);
    QVERIFY(rig.boxes.empty());  // no "'4 ' is not a valid integer value."
  }

  void menuAndHotKeyStartWithoutLeavingTapMode() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QTest::keyClick(rig.tempoFader(), Qt::Key_Return);
    rig.find<QAction>("On1")->trigger();
    QVERIFY(rig.program->Metronome().Running());
    QVERIFY(rig.config().TapMode);
    rig.main().StartStop();  // the hot key's path
    QVERIFY(!rig.program->Metronome().Running());
    QVERIFY(rig.config().TapMode);
  }

  void keypadPlusAndMinusStepTheVolume() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QWidget* fader = rig.tempoFader();
    QTest::keyClick(fader, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(rig.config().Volume.load(), 0);
    QTest::keyClick(fader, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(rig.config().Volume.load(), -100);
    QCOMPARE(rig.volumeFader()->value(), 100);
    for (int i = 0; i < 120; ++i) {
      QTest::keyClick(fader, Qt::Key_Minus, Qt::KeypadModifier);
    }
    // The fader stops at its end; the level goes on down to silence.
    QCOMPARE(rig.config().Volume.load(), -10000);
    QCOMPARE(rig.volumeFader()->value(), 3000);
    QTest::keyClick(fader, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(rig.config().Volume.load(), -9900);
    // The main keyboard's minus is not the keypad's.
    QTest::keyClick(fader, Qt::Key_Minus);
    QCOMPARE(rig.config().Volume.load(), -9900);
  }

  void arrowKeysStillReachTheTempoFader() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QTest::keyClick(rig.tempoFader(), Qt::Key_Up);
    QCOMPARE(rig.config().Tempo.load(), 121);
    QTest::keyClick(rig.tempoFader(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(rig.config().Tempo.load(), 120);
  }

  void escapeClosesAndEveryKeyStillReachesTheControl() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    rig.main().move(77, 66);
    QSignalSpy closed(&rig.main(), &TfrmMain::closed);
    rig.program->Metronome().StartStop();
    QTest::keyClick(Focus(rig, TFocus::MeterBox), Qt::Key_Escape);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!rig.main().isVisible());
    // Hiding stopped the metronome and recorded the window's place.
    QVERIFY(!rig.program->Metronome().Running());
    QCOMPARE(rig.config().MainLeft, rig.main().x());
    QCOMPARE(rig.config().MainTop, rig.main().y());
  }

  void startAndTapButtonsActOnTheLeftPressOnly() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QTest::mousePress(rig.startButton(), Qt::RightButton);
    QTest::mouseRelease(rig.startButton(), Qt::RightButton);
    QVERIFY(!rig.program->Metronome().Running());
    QTest::mousePress(rig.startButton(), Qt::LeftButton);
    QVERIFY(rig.program->Metronome().Running());
    QTest::mouseRelease(rig.startButton(), Qt::LeftButton);
    QVERIFY(rig.program->Metronome().Running());

    QTest::mousePress(rig.tapButton(), Qt::RightButton);
    QVERIFY(!rig.config().TapMode);
    QTest::mousePress(rig.tapButton(), Qt::LeftButton);
    QVERIFY(!rig.program->Metronome().Running());
    QVERIFY(rig.config().TapMode);
    QTest::mouseRelease(rig.tapButton(), Qt::LeftButton);
    QVERIFY(rig.tempoFader()->hasFocus());
  }
};

QTEST_MAIN(KeyMapTest)
#include "key_map_test.moc"
