#include <QKeyEvent>
#include <QSlider>
#include <QTest>

#include <vector>

#include "ui/tempo/tempo_fader_keys.h"

using namespace zelmora;

namespace {

// A slider that records the keys that reach its own handler.
class TKeySlider : public QSlider {
 public:
  TKeySlider() : QSlider(Qt::Vertical) {}
  std::vector<int> seen;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    seen.push_back(event->key());
    QSlider::keyPressEvent(event);
  }
};

}  // namespace

// A tempo fader as the main window builds it: position = minus the tempo.
class TempoFaderKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void keys_data() {
    QTest::addColumn<int>("tempo");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("userChanges");
    const int none = Qt::NoModifier;
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Up raises") << 100 << int(Qt::Key_Up) << none << 101 << 1;
    QTest::newRow("Down lowers") << 100 << int(Qt::Key_Down) << none << 99 << 1;
    QTest::newRow("Left raises") << 100 << int(Qt::Key_Left) << none << 101 << 1;
    QTest::newRow("Right lowers") << 100 << int(Qt::Key_Right) << none << 99 << 1;
    QTest::newRow("PageUp") << 100 << int(Qt::Key_PageUp) << none << 110 << 1;
    QTest::newRow("PageDown") << 100 << int(Qt::Key_PageDown) << none << 90 << 1;
    QTest::newRow("Home") << 100 << int(Qt::Key_Home) << none << 208 << 1;
    QTest::newRow("End") << 100 << int(Qt::Key_End) << none << 40 << 1;
    QTest::newRow("Ctrl+Up") << 101 << int(Qt::Key_Up) << ctrl << 104 << 1;
    QTest::newRow("Ctrl+Shift+Up")
        << 101 << int(Qt::Key_Up) << int(ctrl | Qt::ShiftModifier) << 104 << 1;
    QTest::newRow("Ctrl+Right from 63") << 63 << int(Qt::Key_Right) << ctrl << 60 << 1;
    QTest::newRow("Shift alone changes nothing")
        << 100 << int(Qt::Key_Up) << int(Qt::ShiftModifier) << 101 << 1;
    QTest::newRow("Ctrl+Up at the top") << 208 << int(Qt::Key_Up) << ctrl << 208 << 0;
    QTest::newRow("End at the bottom") << 40 << int(Qt::Key_End) << none << 40 << 0;
  }
  void keys() {
    QFETCH(int, tempo);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, expected);
    QFETCH(int, userChanges);
    QSlider fader(Qt::Vertical);
    fader.setRange(-208, -40);
    fader.setPageStep(10);
    fader.setValue(-tempo);
    int calls = 0;
    int seenInHandler = 0;
    new TTempoFaderKeys(&fader, [&] {
      ++calls;
      seenInHandler = -fader.value();
    });
    QTest::keyClick(&fader, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(-fader.value(), expected);
    QCOMPARE(calls, userChanges);
    if (userChanges > 0) {
      QCOMPARE(seenInHandler, expected);  // the handler sees the new position
    }
  }

  void otherKeysReachTheSlider() {
    TKeySlider fader;
    fader.setRange(-208, -40);
    fader.setValue(-100);
    int calls = 0;
    new TTempoFaderKeys(&fader, [&] { ++calls; });
    QTest::keyClick(&fader, Qt::Key_Space);
    QTest::keyClick(&fader, Qt::Key_Up);
    QCOMPARE(fader.seen, std::vector<int>{Qt::Key_Space});  // Up was taken by the filter
    QCOMPARE(fader.value(), -101);
    QCOMPARE(calls, 1);
  }
};

QTEST_MAIN(TempoFaderKeysTest)
#include "tempo_fader_keys_test.moc"
