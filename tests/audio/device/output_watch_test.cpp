#include <QTest>

#include <chrono>
#include <vector>

#include "audio/device/output_pick.h"
#include "audio/device/output_watch.h"

using namespace zelmora;
using namespace std::chrono_literals;

namespace {

using Clock = TOutputWatch::Clock;
const Clock::time_point kStart{std::chrono::seconds(1000)};

// A watch on a stream started at kStart with no blocks yet.
TOutputWatch StartedWatch() {
  TOutputWatch watch(400ms, 1s);
  watch.Started(kStart, 0);
  return watch;
}

}  // namespace

// When the output's keeper gives a stream up, how it paces the attempts to
// open one again, which output it picks, and that the user hears once.
class OutputWatchTest : public QObject {
  Q_OBJECT

 private slots:
  // Blocks seen at the given times (ms after the start), then a look at
  // `lookMs`: failed or not.
  void failure_data() {
    QTest::addColumn<QList<int>>("blocksAtMs");
    QTest::addColumn<int>("lookMs");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("failed");
    QTest::newRow("blocks keep coming")
        << QList<int>{100, 200, 300, 400, 500} << 800 << true << false;
    QTest::newRow("blocks stop") << QList<int>{100, 200} << 601 << true << true;
    QTest::newRow("just within the limit") << QList<int>{100, 200} << 600 << true << false;
    QTest::newRow("the first block may take twice the limit")
        << QList<int>{} << 800 << true << false;
    QTest::newRow("no first block at all") << QList<int>{} << 801 << true << true;
    QTest::newRow("the host says it stopped") << QList<int>{100, 200} << 250 << false << true;
  }
  void failure() {
    QFETCH(QList<int>, blocksAtMs);
    QFETCH(int, lookMs);
    QFETCH(bool, active);
    QFETCH(bool, failed);
    TOutputWatch watch = StartedWatch();
    std::uint64_t blocks = 0;
    for (const int ms : blocksAtMs) {
      QVERIFY(!watch.Failed(kStart + std::chrono::milliseconds(ms), ++blocks, true));
    }
    QCOMPARE(watch.Failed(kStart + std::chrono::milliseconds(lookMs), blocks, active), failed);
  }

  // At once, then once a second; a choice of another output asks at once.
  void retriesArePaced() {
    TOutputWatch watch = StartedWatch();
    const Clock::time_point lost = kStart + 2s;
    QVERIFY(watch.Lost(lost));
    QVERIFY(watch.RetryDue(lost));
    QVERIFY(!watch.RetryDue(lost + 999ms));
    QVERIFY(watch.RetryDue(lost + 1s));
    QVERIFY(!watch.RetryDue(lost + 1500ms));
    watch.RetryNow();
    QVERIFY(watch.RetryDue(lost + 1500ms));
    QVERIFY(!watch.RetryDue(lost + 1600ms));
  }

  // A server that keeps failing is told to the user once.
  void onlyTheFirstLossIsTold() {
    TOutputWatch watch = StartedWatch();
    QVERIFY(watch.Lost(kStart + 1s));
    watch.Started(kStart + 3s, 10);
    QVERIFY(watch.Failed(kStart + 4s, 10, true));
    QVERIFY(!watch.Lost(kStart + 4s));
  }

  void pick_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("index");
    QTest::newRow("found") << "ALSA: pulse" << 4;
    QTest::newRow("system default") << "System default" << 7;
    QTest::newRow("not found") << "ALSA: USB Audio (hw:1,0)" << 7;
    QTest::newRow("empty") << "" << 7;
    QTest::newRow("only a part of a name") << "ALSA" << 7;
  }
  void pick() {
    QFETCH(QString, chosen);
    QFETCH(int, index);
    const std::vector<TFoundOutput> found = {{OutputName("ALSA", "HDA Intel PCH (hw:0,0)"), 0},
                                             {OutputName("ALSA", "pulse"), 4},
                                             {OutputName("ALSA", "default"), 7}};
    QCOMPARE(PickOutput(found, chosen.toStdString(), 7), index);
  }

  void names() {
    QCOMPARE(OutputName("JACK Audio Connection Kit", "system"),
             std::string("JACK Audio Connection Kit: system"));
  }
};

QTEST_GUILESS_MAIN(OutputWatchTest)
#include "output_watch_test.moc"
