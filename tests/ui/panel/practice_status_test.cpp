#include <QTest>

#include "ui/panel/practice_status.h"

using namespace zelmora;

namespace {

TBeatShow Practising(int bar) {
  TBeatShow beat;
  beat.Practising = true;
  beat.Bar = bar;
  return beat;
}

}  // namespace

Q_DECLARE_METATYPE(TBeatShow)

class PracticeStatusTest : public QObject {
  Q_OBJECT

 private slots:
  void text_data() {
    QTest::addColumn<TBeatShow>("beat");
    QTest::addColumn<QString>("text");
    TBeatShow countIn = Practising(0);
    countIn.CountIn = true;
    countIn.TrainerTempo = 100;
    TBeatShow training = Practising(12);
    training.TrainerTempo = 96;
    training.PracticeMs = 205'999;
    TBeatShow silent = Practising(3);
    silent.Silent = true;
    silent.PracticeMs = 61'000 * 60;
    TBeatShow ended = Practising(7);
    ended.TrainerEndedByHand = true;
    ended.PracticeMs = 9'000;
    QTest::newRow("nothing on") << TBeatShow{} << "";
    QTest::newRow("count-in, the trainer's start tempo")
        << countIn << "count-in \u00b7 100 \u2192 120 bpm";
    QTest::newRow("training") << training << "bar 12 \u00b7 96 \u2192 120 bpm \u00b7 3:25";
    QTest::newRow("a silent bar after an hour") << silent << "bar 3 \u00b7 61:00 \u00b7 silent bar";
    QTest::newRow("the trainer ended by hand")
        << ended << "bar 7 \u00b7 trainer off: tempo set by hand \u00b7 0:09";
  }
  void text() {
    QFETCH(TBeatShow, beat);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(PracticeStatusText(beat, 120)), text);
  }
};

QTEST_APPLESS_MAIN(PracticeStatusTest)
#include "practice_status_test.moc"
