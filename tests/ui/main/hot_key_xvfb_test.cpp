#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include "core/config.h"
#include "core/metronome.h"
#include "tests/ui/main/program_rig.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

namespace {

// Runs xdotool and returns what it printed.
QString XDo(const QStringList& arguments) {
  QProcess xdotool;
  xdotool.start(QStringLiteral("xdotool"), arguments);
  if (!xdotool.waitForFinished(10000) || xdotool.exitCode() != 0) {
    return QStringLiteral("failed: ") + QString::fromLocal8Bit(xdotool.readAllStandardError());
  }
  return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
}

}  // namespace

// The system-wide hot key on a real X server. xdotool's keys go through
// the server, as a keyboard's do, so the passive grab sees them.
class HotKeyXvfbTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
      QSKIP("needs an X server");
    }
  }

  void startsAndStopsWhileAnotherProgramHasTheFocus() {
    TProgramRig rig({}, true);
    QVERIFY(rig.Show());
    QVERIFY(rig.program->HotKeyActive());
    QProcess other;
    other.start(QStringLiteral("xmessage"),
                {QStringLiteral("-title"), QStringLiteral("zelmora-other"),
                 QStringLiteral("another program")});
    QVERIFY(other.waitForStarted());
    const QString otherWindow =
        XDo({"search", "--sync", "--name", "^zelmora-other$"}).section('\n', 0, 0);
    QVERIFY2(!otherWindow.startsWith("failed"), qPrintable(otherWindow));
    QCOMPARE(XDo({"windowfocus", "--sync", otherWindow}), QString());

    // Tapping first: the hot key leaves tap mode alone.
    rig.main().sButton2MouseDown();
    QVERIFY(rig.config().TapMode);
    XDo({"key", "ctrl+alt+space"});
    QTRY_VERIFY(rig.program->Metronome().Running());
    QVERIFY(rig.config().TapMode);
    XDo({"key", "ctrl+alt+space"});
    QTRY_VERIFY(!rig.program->Metronome().Running());
    // The other program kept the focus throughout.
    QCOMPARE(XDo({"getwindowfocus"}), otherWindow);
    other.kill();
    other.waitForFinished();
  }

  void inOurOwnWindowItIsTheHotKeyNotSpace() {
    TProgramRig rig({}, true);
    QVERIFY(rig.Show());
    const QString ours = QString::number(rig.main().winId());
    XDo({"windowfocus", "--sync", ours});
    rig.main().sButton2MouseDown();
    XDo({"key", "ctrl+alt+space"});
    QTRY_VERIFY(rig.program->Metronome().Running());
    // Space would have ended tap mode and started the metronome once more.
    QTest::qWait(200);
    QVERIFY(rig.config().TapMode);
    QVERIFY(rig.program->Metronome().Running());
    // The plain Space key still reaches the key map.
    XDo({"key", "space"});
    QTRY_VERIFY(!rig.program->Metronome().Running());
    QVERIFY(!rig.config().TapMode);
  }
};

QTEST_MAIN(HotKeyXvfbTest)
#include "hot_key_xvfb_test.moc"
