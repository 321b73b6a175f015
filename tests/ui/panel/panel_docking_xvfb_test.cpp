// The beat panel docking to a main window and following it on a real X
// server (run by panel_docking_xvfb.sh under Xvfb, no window manager). The
// moves come from outside the program, through xdotool, as a window
// manager's would; what counts is where the X server has the windows.

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "core/config.h"
#include "ui/panel/big_panel.h"

using namespace zelmora;

namespace {

// Stands in for the main window: it hands its moves to the panel.
class TStandInMain final : public QWidget {
 public:
  TfrmBigPanel* panel = nullptr;

 protected:
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (panel != nullptr) {
      panel->FollowMainWindow(pos());
    }
  }
};

QString XDoTool(const QStringList& arguments) {
  QProcess tool;
  tool.start("xdotool", arguments);
  if (!tool.waitForFinished(10000) || tool.exitCode() != 0) {
    return QString("xdotool failed: %1").arg(QString::fromLocal8Bit(tool.readAllStandardError()));
  }
  return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

bool MoveWindow(const QWidget& window, QPoint to) {
  return !XDoTool({"windowmove", QString::number(window.winId()), QString::number(to.x()),
                   QString::number(to.y())})
              .startsWith("xdotool failed");
}

// Where the X server has the window, as "x,y".
QPoint ServerPosition(const QWidget& window) {
  const QString info = XDoTool({"getwindowgeometry", QString::number(window.winId())});
  const qsizetype at = info.indexOf("Position: ");
  if (at < 0) {
    return {-99999, -99999};
  }
  const QStringList xy = info.mid(at + 10).section(' ', 0, 0).split(',');
  return xy.size() == 2 ? QPoint(xy[0].toInt(), xy[1].toInt()) : QPoint(-99999, -99999);
}

void Screenshot(const char* name) {
  const QByteArray dir = qgetenv("ZELMORA_SCREENSHOT_DIR");
  if (!dir.isEmpty()) {
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString("%1/%2").arg(dir, name));
  }
}

}  // namespace

class PanelDockingXvfbTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != "xcb") {
      QSKIP("needs an X server; run through panel_docking_xvfb.sh");
    }
  }

  void docksToTheMainWindowAndFollowsIt() {
    TStandInMain main;
    main.setWindowTitle("Zelmora");
    main.resize(300, 180);
    main.move(500, 300);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    TConfig config;
    config.BigPanelLeft = 50;
    config.BigPanelTop = 50;
    config.BigPanelWidth = 250;
    config.BigPanelHeight = 250;
    config.SetBeatPattern("Xxxx");
    TfrmBigPanel panel(config, &main);
    main.panel = &panel;
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QTRY_COMPARE(ServerPosition(panel), QPoint(50, 50));
    QVERIFY(!config.PanelDocked);

    // Dragged to 20 pixels left of the main window, the panel docks there.
    QVERIFY(MoveWindow(panel, {230, 120}));
    QTRY_COMPARE(ServerPosition(panel), QPoint(250, 120));
    QTRY_VERIFY(config.PanelDocked);
    QCOMPARE(config.PanelOffsetX, -250);
    QCOMPARE(config.PanelOffsetY, -180);
    panel.SetMarkColor(0x70B94D);
    panel.ShowBeat(1);
    QTest::qWait(100);
    Screenshot("panel_xvfb_docked.png");

    // The main window moves; the panel comes along, 180 pixels higher.
    QVERIFY(MoveWindow(main, {700, 600}));
    QTRY_COMPARE(ServerPosition(main), QPoint(700, 600));
    QTRY_COMPARE(ServerPosition(panel), QPoint(450, 420));
    QVERIFY(config.PanelDocked);

    // Quick moves in a row, as in a drag: the panel ends up docked at the
    // last one.
    for (int step = 1; step <= 8; ++step) {
      QVERIFY(MoveWindow(main, {700 - 40 * step, 600 - 25 * step}));
    }
    QTRY_COMPARE(ServerPosition(main), QPoint(380, 400));
    QTRY_COMPARE(ServerPosition(panel), QPoint(130, 220));
    QVERIFY(config.PanelDocked);
    QCOMPARE(config.PanelOffsetX, -250);
    QCOMPARE(config.PanelOffsetY, -180);
    QTest::qWait(100);
    Screenshot("panel_xvfb_followed.png");

    // Dragged to the right side (gap 25), it docks there instead.
    QVERIFY(MoveWindow(panel, {705, 500}));
    QTRY_COMPARE(ServerPosition(panel), QPoint(680, 500));
    QTRY_COMPARE(config.PanelOffsetX, 300);
    QCOMPARE(config.PanelOffsetY, 100);

    // Pulled well away, it stays put when the main window moves.
    QVERIFY(MoveWindow(panel, {900, 200}));
    QTRY_VERIFY(!config.PanelDocked);
    QVERIFY(MoveWindow(main, {300, 350}));
    QTRY_COMPARE(ServerPosition(main), QPoint(300, 350));
    QTest::qWait(200);
    QCOMPARE(ServerPosition(panel), QPoint(900, 200));
  }
};

QTEST_MAIN(PanelDockingXvfbTest)
#include "panel_docking_xvfb_test.moc"
