#include <QTest>

#include "ui/meter/grid_navigation.h"

using namespace zelmora;

Q_DECLARE_METATYPE(zelmora::TGridKey)

// A grid of 30 columns with 14 in view.
class GridNavigationTest : public QObject {
  Q_OBJECT

 private slots:
  void keysMoveTheCurrentCell_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<TGridKey>("key");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<int>("newColumn");
    QTest::addColumn<int>("newRow");
    QTest::newRow("right") << 0 << 1 << TGridKey::Right << false << 1 << 1;
    QTest::newRow("right at the last column") << 29 << 1 << TGridKey::Right << false << 29 << 1;
    QTest::newRow("left at the first column") << 0 << 2 << TGridKey::Left << false << 0 << 2;
    QTest::newRow("down") << 3 << 1 << TGridKey::Down << false << 3 << 2;
    QTest::newRow("down at the last row") << 3 << 2 << TGridKey::Down << false << 3 << 2;
    QTest::newRow("up never reaches the header") << 3 << 1 << TGridKey::Up << false << 3 << 1;
    QTest::newRow("ctrl right pages") << 2 << 1 << TGridKey::Right << true << 16 << 1;
    QTest::newRow("ctrl left pages to the start") << 10 << 2 << TGridKey::Left << true << 0 << 2;
    QTest::newRow("home") << 12 << 2 << TGridKey::Home << false << 0 << 2;
    QTest::newRow("ctrl home") << 12 << 2 << TGridKey::Home << true << 0 << 1;
    QTest::newRow("end") << 4 << 1 << TGridKey::End << false << 29 << 1;
    QTest::newRow("ctrl end") << 4 << 1 << TGridKey::End << true << 29 << 2;
    QTest::newRow("page down") << 4 << 1 << TGridKey::PageDown << false << 4 << 2;
    QTest::newRow("page up") << 4 << 2 << TGridKey::PageUp << true << 4 << 1;
  }
  void keysMoveTheCurrentCell() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(TGridKey, key);
    QFETCH(bool, ctrl);
    const TGridCell next = NavigateCell({column, row}, key, ctrl, 30, 14);
    QFETCH(int, newColumn);
    QCOMPARE(next.Column, newColumn);
    QFETCH(int, newRow);
    QCOMPARE(next.Row, newRow);
  }
};

QTEST_GUILESS_MAIN(GridNavigationTest)
#include "grid_navigation_test.moc"
