#include <QTest>

#include <optional>
#include <vector>

#include "ui/panel/docking.h"

using namespace zelmora;

Q_DECLARE_METATYPE(zelmora::TScreenRect)
Q_DECLARE_METATYPE(zelmora::TScreenPoint)
Q_DECLARE_METATYPE(zelmora::TDockState)
Q_DECLARE_METATYPE(std::optional<zelmora::TScreenPoint>)
Q_DECLARE_METATYPE(std::optional<zelmora::TScreenRect>)
Q_DECLARE_METATYPE(std::vector<zelmora::TScreenRect>)

namespace {

// The main window of the examples: left 100, outer width 300.
constexpr TScreenRect kMain{100, 200, 300, 180};

TScreenRect Panel(int left, int top = 260, int width = 250) {
  return {left, top, width, 250};
}

}  // namespace

class DockingTest : public QObject {
  Q_OBJECT

 private slots:
  void dockingRule_data() {
    QTest::addColumn<TScreenRect>("proposed");
    QTest::addColumn<bool>("moves");
    QTest::addColumn<TScreenRect>("main");
    QTest::addColumn<TDockState>("before");
    QTest::addColumn<int>("left");
    QTest::addColumn<TDockState>("after");
    QTest::addColumn<bool>("snap");

    const TDockState undocked{false, 0, 0};
    const TDockState docked{true, 300, 60};
    QTest::newRow("gap 20 right of the main window docks at its right edge")
        << Panel(420) << true << kMain << undocked << 400 << TDockState{true, 300, 60} << false;
    QTest::newRow("gap 30 does not dock")
        << Panel(430) << true << kMain << docked << 430 << TDockState{false, 300, 60} << true;
    QTest::newRow("overlapping by 29 docks too")
        << Panel(371) << true << kMain << undocked << 400 << TDockState{true, 300, 60} << false;
    QTest::newRow("overlapping by 30 does not")
        << Panel(370) << true << kMain << undocked << 370 << undocked << true;
    QTest::newRow("right edge 20 left of the main window docks at its left edge")
        << Panel(-170) << true << kMain << undocked << -150 << TDockState{true, -250, 60} << false;
    QTest::newRow("gap 30 on the left does not dock")
        << Panel(-180) << true << kMain << undocked << -180 << undocked << true;
    QTest::newRow("docks at any height, far above") << Panel(410, -300) << true << kMain << undocked
                                                    << 400 << TDockState{true, 300, -500} << false;
    QTest::newRow("the left side is tried first")
        << TScreenRect{95, 200, 20, 20} << true << TScreenRect{100, 200, 20, 100} << undocked << 80
        << TDockState{true, -20, 0} << false;
    QTest::newRow("a change of size only leaves docking alone")
        << Panel(700) << false << kMain << docked << 700 << docked << false;
  }
  void dockingRule() {
    QFETCH(TScreenRect, proposed);
    QFETCH(bool, moves);
    QFETCH(TScreenRect, main);
    QFETCH(TDockState, before);
    QFETCH(int, left);
    QFETCH(TDockState, after);
    QFETCH(bool, snap);
    TDockState state = before;
    const TDockOutcome outcome = DockingRule(proposed, moves, main, state);
    QCOMPARE(outcome.Left, left);
    QCOMPARE(outcome.SnapToScreen, snap);
    QCOMPARE(state, after);
  }

  void followPosition_data() {
    QTest::addColumn<TDockState>("state");
    QTest::addColumn<TScreenPoint>("mainTopLeft");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<std::optional<TScreenPoint>>("expected");

    QTest::newRow("docked on the right moves along")
        << TDockState{true, 300, 60} << TScreenPoint{150, 240} << true
        << std::optional<TScreenPoint>(TScreenPoint{450, 300});
    QTest::newRow("500 above stays 500 above")
        << TDockState{true, -250, -500} << TScreenPoint{600, 700} << true
        << std::optional<TScreenPoint>(TScreenPoint{350, 200});
    QTest::newRow("undocked stays") << TDockState{false, 300, 60} << TScreenPoint{150, 240} << true
                                    << std::optional<TScreenPoint>();
    QTest::newRow("hidden stays") << TDockState{true, 300, 60} << TScreenPoint{150, 240} << false
                                  << std::optional<TScreenPoint>();
  }
  void followPosition() {
    QFETCH(TDockState, state);
    QFETCH(TScreenPoint, mainTopLeft);
    QFETCH(bool, visible);
    QFETCH(std::optional<TScreenPoint>, expected);
    QCOMPARE(FollowPosition(state, mainTopLeft, visible), expected);
  }

  void snapToArea_data() {
    QTest::addColumn<TScreenRect>("window");
    QTest::addColumn<TScreenPoint>("expected");

    // Work area 0,0 .. 1000,700.
    QTest::newRow("away from every edge")
        << TScreenRect{300, 200, 250, 250} << TScreenPoint{300, 200};
    QTest::newRow("14 from the left and top snaps")
        << TScreenRect{14, -14, 250, 250} << TScreenPoint{0, 0};
    QTest::newRow("15 from the left does not")
        << TScreenRect{15, 200, 250, 250} << TScreenPoint{15, 200};
    QTest::newRow("near the right and bottom edges")
        << TScreenRect{740, 440, 250, 250} << TScreenPoint{750, 450};
    QTest::newRow("beyond the right edge by 10")
        << TScreenRect{760, 300, 250, 250} << TScreenPoint{750, 300};
  }
  void snapToArea() {
    QFETCH(TScreenRect, window);
    QFETCH(TScreenPoint, expected);
    QCOMPARE(SnapToArea(window, TScreenRect{0, 0, 1000, 700}), expected);
  }

  void fitOnMonitor_data() {
    QTest::addColumn<TScreenRect>("window");
    QTest::addColumn<TScreenPoint>("expected");

    // Monitor 1920,0 .. 3200,1024 (a second monitor right of the first).
    QTest::newRow("inside stays") << TScreenRect{2000, 50, 250, 250} << TScreenPoint{2000, 50};
    QTest::newRow("beyond the right and bottom edges")
        << TScreenRect{3100, 900, 250, 250} << TScreenPoint{2950, 774};
    QTest::newRow("left of the left edge, above the top")
        << TScreenRect{1900, -40, 250, 250} << TScreenPoint{1920, 0};
    QTest::newRow("larger than the monitor: its top-left corner stays on it")
        << TScreenRect{2500, 300, 1500, 1100} << TScreenPoint{1920, 0};
    QTest::newRow("larger than the monitor, already on it")
        << TScreenRect{1920, 0, 1500, 1100} << TScreenPoint{1920, 0};
  }
  void fitOnMonitor() {
    QFETCH(TScreenRect, window);
    QFETCH(TScreenPoint, expected);
    QCOMPARE(FitOnMonitor(window, TScreenRect{1920, 0, 1280, 1024}), expected);
  }

  void nearestMonitor_data() {
    QTest::addColumn<TScreenRect>("window");
    QTest::addColumn<std::vector<TScreenRect>>("monitors");
    QTest::addColumn<std::optional<TScreenRect>>("expected");

    const TScreenRect left{0, 0, 1920, 1080};
    const TScreenRect right{1920, 0, 1280, 1024};
    QTest::newRow("the one it overlaps most")
        << TScreenRect{1800, 100, 250, 250} << std::vector{left, right}
        << std::optional<TScreenRect>(right);
    QTest::newRow("off every monitor: the closest")
        << TScreenRect{3300, 500, 250, 250} << std::vector{left, right}
        << std::optional<TScreenRect>(right);
    QTest::newRow("below the shorter one: the closest")
        << TScreenRect{1700, 1200, 150, 150} << std::vector{left, right}
        << std::optional<TScreenRect>(left);
    QTest::newRow("no monitor") << TScreenRect{0, 0, 10, 10} << std::vector<TScreenRect>{}
                                << std::optional<TScreenRect>();
  }
  void nearestMonitor() {
    QFETCH(TScreenRect, window);
    QFETCH(std::vector<TScreenRect>, monitors);
    QFETCH(std::optional<TScreenRect>, expected);
    QCOMPARE(NearestMonitor(window, monitors), expected);
  }
};

QTEST_APPLESS_MAIN(DockingTest)
#include "docking_test.moc"
