#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>

#include "core/config.h"
#include "core/metronome.h"
#include "core/transport.h"
#include "tests/core/silent_output.h"
#include "ui/bridge/qt_beat_hand_over.h"

using namespace zelmora;
using namespace std::chrono_literals;

namespace {

// Records on which thread each beat is shown.
class TShownBeats final : public TMetronomeView {
 public:
  void MetronomeStarted() override {}
  void MetronomeStopped() override {}
  void BeatHeard(const TBeatShow& /*beat*/) override {
    ++count;
    onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
  }
  int count = 0;
  bool onUiThread = true;
};

struct TRig {
  TConfig config;
  TTransport transport;
  test::TSilentOutput voices;
  TSteadyTickerTime time;
  QObject context;
  TQtBeatHandOver handOver{&context};
  TMetronome metronome{config, transport, voices, time, handOver};
  TShownBeats shown;
  TScope shownView = metronome.AddView(shown);
  TRig() {
    config.SetTempo(416);
    config.SetBeatPattern("Xxxx");
  }
};

}  // namespace

class HandOverTest : public QObject {
  Q_OBJECT

 private slots:
  void beatsAreShownOnTheUserInterfaceThread() {
    TRig rig;
    rig.metronome.StartStop();
    QTRY_VERIFY_WITH_TIMEOUT(rig.shown.count >= 3, 5000);
    rig.metronome.Shutdown();
    QVERIFY(rig.shown.onUiThread);
    QVERIFY(rig.voices.plays.load() >= 3);
  }

  // The program ends while the user-interface thread sits in a modal
  // dialog's loop and a beat waits to be handed over: no deadlock.
  void shutdownFromInsideANestedLoop() {
    TRig rig;
    rig.config.SetTempo(20);
    rig.metronome.StartStop();
    QEventLoop modal;
    QTimer::singleShot(100, &modal, [&] {
      rig.metronome.Shutdown();
      modal.quit();
    });
    modal.exec();
    QVERIFY(!rig.metronome.Running());
    const int plays = rig.voices.plays.load();
    QTest::qWait(50);  // a stale hand-over, if any, runs and does nothing
    QCOMPARE(rig.voices.plays.load(), plays);
  }

  // The scheduler waits for a hand-over the event loop never runs (the
  // loop is blocked): stopping still ends the ticker, and the join returns.
  void shutdownWithTheLoopBlocked() {
    TRig rig;
    rig.metronome.StartStop();
    QThread::msleep(30);  // the first beat's hand-over is queued, not run
    rig.metronome.Shutdown();
    QCOMPARE(rig.shown.count, 0);
    QCoreApplication::processEvents();
    QCOMPARE(rig.shown.count, 0);
  }
};

QTEST_GUILESS_MAIN(HandOverTest)
#include "hand_over_test.moc"
