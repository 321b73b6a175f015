#include <QTest>

#include <cmath>
#include <cstdint>
#include <random>

#include "audio/callback_pace.h"

using namespace zelmora;

namespace {

constexpr double kRate = 44100.0;
constexpr int kBlock = 256;

}  // namespace

// The converter's rate, judged from when the callbacks come, holds to a few
// ppm whatever else the callbacks do: come late at random, move to a new
// distance ahead of the converter, or rush to refill after a dropout.
class CallbackPaceTest : public QObject {
  Q_OBJECT

 private slots:
  void rateHolds_data() {
    QTest::addColumn<double>("ppm");
    QTest::addColumn<double>("shiftNs");           // callbacks come this much earlier from 30 s on
    QTest::addColumn<int>("dropoutEverySeconds");  // 0: none
    QTest::newRow("late at random, +480 ppm") << 480.0 << 0.0 << 0;
    QTest::newRow("late at random, -300 ppm") << -300.0 << 0.0 << 0;
    QTest::newRow("server asks 4 ms further ahead") << 480.0 << 4e6 << 0;
    QTest::newRow("server asks 20 ms less far ahead") << 480.0 << -20e6 << 0;
    QTest::newRow("dropouts every 7 s, refilled in a rush") << 480.0 << 0.0 << 7;
  }
  void rateHolds() {
    QFETCH(double, ppm);
    QFETCH(double, shiftNs);
    QFETCH(int, dropoutEverySeconds);
    const double framePeriodNs = 1e9 / (kRate * (1.0 + ppm * 1e-6));
    TCallbackPace pace(kRate);
    std::mt19937_64 random(3);
    // Late by up to 6 ms, most often by little; never early.
    std::exponential_distribution<double> lateNs(1.0 / 1.5e6);
    double gapNs = 0.0;
    int rushBlocks = 0;
    for (std::int64_t frame = 0; frame < static_cast<std::int64_t>(90 * kRate); frame += kBlock) {
      const double seconds = static_cast<double>(frame) / kRate;
      const std::int64_t dropoutFrames = dropoutEverySeconds * static_cast<std::int64_t>(kRate);
      const bool dropout = dropoutEverySeconds > 0 && frame > 0 &&
                           frame / dropoutFrames != (frame - kBlock) / dropoutFrames;
      if (dropout) {
        gapNs += 30e6;
        rushBlocks = 8;
        pace.Break(frame);
      }
      double calledNs = 1e12 + static_cast<double>(frame) * framePeriodNs + gapNs - 20e6 +
                        std::min(lateNs(random), 6e6);
      if (seconds >= 30.0) {
        calledNs -= shiftNs;
      }
      if (rushBlocks > 0) {
        // Refilling: the blocks are asked for one after another at once.
        calledNs -= static_cast<double>(rushBlocks * kBlock) * framePeriodNs;
        --rushBlocks;
      }
      if (!dropout) {
        pace.Add(frame, calledNs);
      }
    }
    const double measuredPpm = (1e9 / pace.NsPerFrame() / kRate - 1.0) * 1e6;
    QVERIFY2(std::abs(measuredPpm - ppm) < 2.0,
             qPrintable(QString("%1 ppm, wanted %2").arg(measuredPpm).arg(ppm)));
  }
};

QTEST_GUILESS_MAIN(CallbackPaceTest)
#include "callback_pace_test.moc"
