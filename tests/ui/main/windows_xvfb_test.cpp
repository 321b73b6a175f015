// Where the program's windows are, on a real X server (run by
// xvfb_test.sh, with a window manager that frames the windows or
// without one). What counts is where the X server has them, read with
// xwininfo and xprop: a window's outer rectangle is its client area and
// the frame the window manager reports (_NET_FRAME_EXTENTS).

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

#include "tests/ui/main/program_rig.h"
#include "ui/panel/big_panel.h"
#include "ui/prefs/prefs_dialog.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

namespace {

QString Tool(const QString& program, const QStringList& arguments) {
  QProcess tool;
  tool.start(program, arguments);
  tool.waitForFinished(10000);
  return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

int Field(const QString& text, const QString& name) {
  const QRegularExpression field(QRegularExpression::escape(name) + R"(:\s*(-?\d+))");
  const QRegularExpressionMatch match = field.match(text);
  return match.hasMatch() ? match.captured(1).toInt() : -99999;
}

// The outer rectangle of the window as the X server has it.
QRect ServerOuter(const QWidget& window) {
  const QString id = QString::number(window.winId());
  const QString info = Tool("xwininfo", {"-id", id});
  const QRect client(Field(info, "Absolute upper-left X"), Field(info, "Absolute upper-left Y"),
                     Field(info, "Width"), Field(info, "Height"));
  // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
  const QRegularExpression extents(R"(= (\d+), (\d+), (\d+), (\d+))");
  const QRegularExpressionMatch frame =
      extents.match(Tool("xprop", {"-id", id, "_NET_FRAME_EXTENTS"}));
  if (!frame.hasMatch()) {
    return client;
  }
  return client.marginsAdded(QMargins(frame.captured(1).toInt(), frame.captured(3).toInt(),
                                      frame.captured(2).toInt(), frame.captured(4).toInt()));
}

// The window that `window` is a dialog of (WM_TRANSIENT_FOR), 0 if none.
WId TransientFor(const QWidget& window) {
  const QString text = Tool("xprop", {"-id", QString::number(window.winId()), "WM_TRANSIENT_FOR"});
  const QRegularExpressionMatch match = QRegularExpression(R"(# (0x[0-9a-f]+))").match(text);
  return match.hasMatch() ? WId(match.captured(1).toULongLong(nullptr, 16)) : WId(0);
}

bool WindowManagerRuns() {
  return Tool("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
}

// Waits until the window is on screen, framed where a window manager runs,
// and has kept its place for a while; its outer rectangle then.
QRect SettledOuter(const QWidget& window) {
  QRect last;
  int same = 0;
  QElapsedTimer waited;
  waited.start();
  const bool framed = WindowManagerRuns();
  while (same < 4 && waited.elapsed() < 10000) {
    QTest::qWait(100);
    if (!window.isVisible()) {
      continue;
    }
    const QRect now = ServerOuter(window);
    const bool hasFrame =
        !framed || !Tool("xprop", {"-id", QString::number(window.winId()), "_NET_FRAME_EXTENTS"})
                        .contains("not found");
    same = now == last && hasFrame ? same + 1 : 0;
    last = now;
  }
  return last;
}

QWidget* TopLevel(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name)) {
      return widget;
    }
  }
  return nullptr;
}

// Runs `inspect` once the modal window `name` (its object name or class)
// has come up, then closes it; `open` opens it and returns when it has
// been closed.
void WhileModal(const char* name, const std::function<void(QWidget&)>& inspect,
                const std::function<void()>& open) {
  bool inspected = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (inspected || modal == nullptr ||
        (modal->objectName() != QLatin1String(name) && !modal->inherits(name))) {
      return;
    }
    inspected = true;
    inspect(*modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    }
  });
  poll.start(50);
  open();
  QVERIFY2(inspected, name);
}

void ExpectCentredOver(const QRect& window, const QRect& owner) {
  const QPoint offCentre = window.center() - owner.center();
  QVERIFY2(std::abs(offCentre.x()) <= 1 && std::abs(offCentre.y()) <= 1,
           qPrintable(QString("(%1,%2 %3x%4) is not centred over (%5,%6 %7x%8)")
                          .arg(window.x())
                          .arg(window.y())
                          .arg(window.width())
                          .arg(window.height())
                          .arg(owner.x())
                          .arg(owner.y())
                          .arg(owner.width())
                          .arg(owner.height())));
}

QByteArray Ini(const QStringList& lines) {
  return ("[Zelmora]\n" + lines.join('\n') + '\n').toUtf8();
}

QRect StoredPanel(const TProgramRig& rig) {
  const auto value = [&](const char* key) {
    return rig.ini.Stored(QString("Zelmora/%1").arg(key)).toInt();
  };
  return {value("BigPanelLeft"), value("BigPanelTop"), value("BigPanelWidth"),
          value("BigPanelHeight")};
}

}  // namespace

class WindowsXvfbTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qInfo("window manager: %s", WindowManagerRuns() ? "yes" : "none"); }

  // The panel's stored place and outer size come back exactly at the next
  // start, docked to either side of the main window or not, run after run.
  void panelKeepsItsPlaceFromRunToRun_data() {
    QTest::addColumn<int>("side");  // -1 docked left, 1 docked right, 0 free
    QTest::addColumn<int>("top");
    QTest::newRow("default place") << 0 << 0;
    QTest::newRow("docked right") << 1 << 140;
    QTest::newRow("docked left") << -1 << 360;
    QTest::newRow("free, below the main window") << 0 << 480;
  }
  void panelKeepsItsPlaceFromRunToRun() {
    QFETCH(int, side);
    QFETCH(int, top);
    const QStringList mainPlace{"MainLeft=400", "MainTop=200"};
    QRect mainOuter;
    {
      TProgramRig rig(Ini(mainPlace));
      QVERIFY(rig.Show());
      mainOuter = SettledOuter(rig.main());
    }
    QCOMPARE(mainOuter.topLeft(), QPoint(400, 200));
    const int left = side > 0 ? mainOuter.right() + 1 : side < 0 ? mainOuter.left() - 250 : 720;
    QRect expected(left, top, 250, 250);
    QStringList lines = mainPlace;
    if (top == 0) {
      expected = QRect(50, 50, 250, 250);  // what a first run has
    } else {
      lines << QString("BigPanelLeft=%1").arg(left) << QString("BigPanelTop=%1").arg(top)
            << "BigPanelWidth=250"
            << "BigPanelHeight=250";
    }
    QByteArray stored = Ini(lines);
    for (int run = 1; run <= 3; ++run) {
      TProgramRig rig(stored);
      QVERIFY(rig.Show());
      QCOMPARE(SettledOuter(*rig.program->BeatPanel()), expected);
      QCOMPARE(rig.config().PanelDocked, side != 0);
      rig.End();
      QCOMPARE(StoredPanel(rig), expected);
      QCOMPARE(rig.ini.Stored("Zelmora/MainLeft").toInt(), 400);
      QCOMPARE(rig.ini.Stored("Zelmora/MainTop").toInt(), 200);
      stored = rig.ini.Bytes();
    }
  }

  // Preferences belongs to the main window and comes up centred over it,
  // at every showing.
  void preferencesIsCentredOverTheMainWindow() {
    TProgramRig rig(Ini({"MainLeft=300", "MainTop=240"}));
    QVERIFY(rig.Show());
    const QRect mainOuter = SettledOuter(rig.main());
    QAction* show = rig.find<QAction>("Settings2");
    TfrmSettings& prefs = rig.program->Preferences();
    for (int showing = 1; showing <= 2; ++showing) {
      show->trigger();
      const QRect outer = SettledOuter(prefs);
      ExpectCentredOver(outer, mainOuter);
      if (QTest::currentTestFailed()) {
        return;
      }
      QCOMPARE(TransientFor(prefs), rig.main().winId());
      prefs.findChild<QPushButton*>("sButton1")->click();
      QTRY_VERIFY(!prefs.isVisible());
    }
  }

  // The boost notice's outer corner lies 100 pixels right of and below
  // the dialog's.
  void boostNoticeSitsOffTheDialogsCorner() {
    TProgramRig rig(Ini({"MainLeft=300", "MainTop=240"}));
    QVERIFY(rig.Show());
    TfrmSettings& prefs = rig.program->Preferences();
    rig.find<QAction>("Settings2")->trigger();
    const QRect prefsOuter = SettledOuter(prefs);
    std::optional<QRect> notice;
    WhileModal(
        "QMessageBox", [&](QWidget& box) { notice = SettledOuter(box); },
        [&] { prefs.findChild<QCheckBox*>("chkBoostVolume")->click(); });
    QVERIFY(notice.has_value());
    QCOMPARE(notice->topLeft(), prefsOuter.topLeft() + QPoint(100, 100));
  }

  // The tempo dialog and the about box come up centred over the main
  // window each time; the meter constructor the first time, and where it
  // was left later on.
  void dialogsComeUpOverTheMainWindow() {
    TProgramRig rig(Ini({"MainLeft=300", "MainTop=240"}));
    QVERIFY(rig.Show());
    const QRect mainOuter = SettledOuter(rig.main());
    const auto centredModal = [&](const char* name, const std::function<void()>& open) {
      for (int showing = 1; showing <= 2; ++showing) {
        std::optional<QRect> outer;
        WhileModal(
            name,
            [&](QWidget& dialog) {
              outer = SettledOuter(dialog);
              QCOMPARE(TransientFor(dialog), rig.main().winId());
            },
            open);
        QVERIFY2(outer.has_value(), name);
        ExpectCentredOver(*outer, mainOuter);
      }
    };
    QWidget* tempoDisplay = rig.find<QWidget>("sPanel1");
    centredModal("frmTempo", [&] {
      QTest::mouseClick(tempoDisplay, Qt::LeftButton, {}, {50, 30});
    });
    if (QTest::currentTestFailed()) {
      return;
    }
    centredModal("frmAbout", [&] { rig.find<QAction>("About1")->trigger(); });
    if (QTest::currentTestFailed()) {
      return;
    }

    QAction* meterConstructor = rig.find<QAction>("MeterConstructor1");
    meterConstructor->trigger();
    QWidget* meter = TopLevel("frmMeterConstructor");
    QVERIFY(meter != nullptr);
    const QRect first = SettledOuter(*meter);
    ExpectCentredOver(first, mainOuter);
    QCOMPARE(TransientFor(*meter), rig.main().winId());
    for (int showing = 2; showing <= 3; ++showing) {
      meter->findChild<QPushButton*>("btnOK")->click();
      QTRY_VERIFY(!meter->isVisible());
      meterConstructor->trigger();
      QCOMPARE(SettledOuter(*meter), first);
    }
  }
};

QTEST_MAIN(WindowsXvfbTest)
#include "windows_xvfb_test.moc"
