// The program's windows on a real Wayland compositor (run by
// weston_test.sh, without a session bus). A Wayland client can neither
// place its windows nor learn where they are, stay on top, dock one window
// to another or grab a key for the whole desktop: each window must still
// come up, what cannot be done must be left out without a word (any
// warning fails the test), and the places stored by a run on a desktop
// that allows them must survive a run here.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGuiApplication>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

#include "tests/ui/main/program_rig.h"
#include "ui/app/hot_key.h"
#include "ui/frame/window_rules.h"
#include "ui/panel/big_panel.h"
#include "ui/practice/practice_dialog.h"
#include "ui/prefs/prefs_dialog.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

namespace {

const QByteArray kStoredPlaces =
    "[Zelmora]\nMainLeft=300\nMainTop=240\nBigPanelLeft=720\nBigPanelTop=140\n"
    "BigPanelWidth=250\nBigPanelHeight=250\nBeatIndicatorVisible=1\n";

bool Exposed(QWidget& window) {
  return QTest::qWaitForWindowExposed(&window) && window.windowHandle()->isExposed();
}

// Runs `inspect` on the modal dialog `name` once it is up, then closes it;
// `open` opens it and returns when it has been closed.
void WhileModal(const char* name, const std::function<void(QWidget&)>& inspect,
                const std::function<void()>& open) {
  bool inspected = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (inspected || modal == nullptr || modal->objectName() != QLatin1String(name)) {
      return;
    }
    inspected = true;
    inspect(*modal);
    qobject_cast<QDialog*>(modal)->reject();
  });
  poll.start(50);
  open();
  QVERIFY2(inspected, name);
}

}  // namespace

class WindowsWaylandTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
    QVERIFY(!PlatformPlacesWindows());
  }
  void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

  // Main window (brought to the front), beat panel, Preferences (with Always on Top switched on
  // and off), Practice, the tempo dialog and the meter constructor.
  void everyWindowComesUp() {
    TProgramRig rig(kStoredPlaces);
    rig.program->Show();
    QVERIFY(Exposed(rig.main()));
    QVERIFY(Exposed(*rig.program->BeatPanel()));
    // As when the program is started a second time.
    rig.program->BringToFront();
    QTest::qWait(200);

    TfrmSettings& prefs = rig.program->Preferences();
    rig.find<QAction>("Settings2")->trigger();
    QVERIFY(Exposed(prefs));
    auto* onTop = prefs.findChild<QCheckBox*>("sckbStayOnTop");
    for (int click = 0; click < 2; ++click) {
      onTop->click();
      QTest::qWait(100);
      QVERIFY(prefs.isVisible());
      QVERIFY(Exposed(prefs));
    }
    prefs.findChild<QPushButton*>("sButton1")->click();
    QTRY_VERIFY(!prefs.isVisible());

    rig.find<QAction>("Practice1")->trigger();
    QVERIFY(Exposed(rig.program->Practice()));
    rig.program->Practice().close();
    QTRY_VERIFY(!rig.program->Practice().isVisible());

    bool tempoExposed = false;
    WhileModal(
        "frmTempo", [&](QWidget& dialog) { tempoExposed = Exposed(dialog); },
        [&] {
          QTest::mouseClick(rig.find<QWidget>("sPanel1"), Qt::LeftButton, {}, {50, 30});
        });
    QVERIFY(tempoExposed);

    rig.find<QAction>("MeterConstructor1")->trigger();
    QWidget* meter = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == QLatin1String("frmMeterConstructor")) {
        meter = widget;
      }
    }
    QVERIFY(meter != nullptr);
    QVERIFY(Exposed(*meter));
    meter->findChild<QPushButton*>("btnOK")->click();
    QTRY_VERIFY(!meter->isVisible());

    QVERIFY(rig.boxes.empty());
  }

  // The places stored elsewhere come back unchanged: here they are neither
  // known nor applied, and the panel does not dock.
  void storedPlacesSurvive() {
    TProgramRig rig(kStoredPlaces);
    rig.program->Show();
    QVERIFY(Exposed(rig.main()));
    QVERIFY(Exposed(*rig.program->BeatPanel()));
    QVERIFY(!rig.config().PanelDocked);
    rig.End();
    for (const auto& [key, value] : {std::pair{"MainLeft", 300},
                                     {"MainTop", 240},
                                     {"BigPanelLeft", 720},
                                     {"BigPanelTop", 140}}) {
      QCOMPARE(rig.ini.Stored(QStringLiteral("Zelmora/%1").arg(key)).toInt(), value);
    }
  }

  // Without the desktop portal (here: without any session bus) there is no
  // hot key, and nothing is said about it.
  void hotKeyStaysOffWithoutThePortal() {
    const auto hotKey = RegisterHotKey([] {});
    QVERIFY(hotKey == nullptr || !hotKey->IsActive());
  }
};

QTEST_MAIN(WindowsWaylandTest)
#include "windows_wayland_test.moc"
