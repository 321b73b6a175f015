#include <QTest>

#include "ui/app/placement.h"
#include "ui/main/edge_snap.h"

using namespace zelmora;

Q_DECLARE_METATYPE(std::vector<QRect>)

// A stored window place is pulled onto the screen nearest to it.
class PlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void windowEndsUpWhollyOnTheNearestScreen_data() {
    QTest::addColumn<QPoint>("stored");
    QTest::addColumn<std::vector<QRect>>("screens");
    QTest::addColumn<QPoint>("placed");
    const std::vector<QRect> one{QRect(0, 0, 1024, 768)};
    const std::vector<QRect> two{QRect(0, 0, 1024, 768), QRect(1024, 0, 1280, 1024)};
    QTest::newRow("inside stays") << QPoint(300, 200) << one << QPoint(300, 200);
    QTest::newRow("past the right edge") << QPoint(900, 200) << one << QPoint(724, 200);
    QTest::newRow("past the left edge") << QPoint(-50, 200) << one << QPoint(0, 200);
    QTest::newRow("past the bottom") << QPoint(300, 700) << one << QPoint(300, 468);
    QTest::newRow("past the top") << QPoint(300, -80) << one << QPoint(300, 0);
    QTest::newRow("second screen") << QPoint(2000, 900) << two << QPoint(2000, 724);
    QTest::newRow("removed monitor, right") << QPoint(3000, 100) << two << QPoint(2004, 100);
    QTest::newRow("removed monitor, left") << QPoint(-1500, -400) << two << QPoint(0, 0);
  }
  void windowEndsUpWhollyOnTheNearestScreen() {
    QFETCH(QPoint, stored);
    QFETCH(std::vector<QRect>, screens);
    QFETCH(QPoint, placed);
    QCOMPARE(PullOntoNearestScreen(stored, QSize(300, 300), screens), placed);
  }

  void largerThanTheScreenKeepsTheTopLeftOnIt() {
    const std::vector<QRect> small{QRect(0, 0, 200, 150)};
    QCOMPARE(PullOntoNearestScreen(QPoint(50, 50), QSize(300, 300), small), QPoint(0, 0));
  }

  void draggedNearAnEdgeSnapsOntoIt_data() {
    QTest::addColumn<QPoint>("dragged");
    QTest::addColumn<QPoint>("settled");
    // A 300 x 200 window in a work area from (0, 30) to (1024, 738).
    QTest::newRow("free") << QPoint(300, 300) << QPoint(300, 300);
    QTest::newRow("15 from the left") << QPoint(15, 300) << QPoint(0, 300);
    QTest::newRow("16 from the left") << QPoint(16, 300) << QPoint(16, 300);
    QTest::newRow("past the left") << QPoint(-10, 300) << QPoint(0, 300);
    QTest::newRow("near the right") << QPoint(712, 300) << QPoint(724, 300);
    QTest::newRow("near the top panel") << QPoint(300, 40) << QPoint(300, 30);
    QTest::newRow("near the bottom") << QPoint(300, 530) << QPoint(300, 538);
    QTest::newRow("corner") << QPoint(720, 535) << QPoint(724, 538);
  }
  void draggedNearAnEdgeSnapsOntoIt() {
    QFETCH(QPoint, dragged);
    QFETCH(QPoint, settled);
    const QRect area(0, 30, 1024, 708);
    QCOMPARE(SnapToWorkArea(QRect(dragged, QSize(300, 200)), area), settled);
  }

  void noScreenLeavesThePlaceAlone() {
    QCOMPARE(PullOntoNearestScreen(QPoint(5000, 5000), QSize(300, 300), {}), QPoint(5000, 5000));
  }
};

QTEST_MAIN(PlacementTest)
#include "placement_test.moc"
