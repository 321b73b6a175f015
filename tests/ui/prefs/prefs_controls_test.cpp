#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include "prefs_rig.h"
#include "ui/skin/skin.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

// What a drag of the thumb to `position` does.
void Drag(QSlider* slider, int position) {
  slider->setSliderDown(true);
  slider->setSliderPosition(position);
  slider->setSliderDown(false);
}

}  // namespace

// The dialog's sliders and check boxes, each acting at once.
class PrefsControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setApplicationName(QStringLiteral("Zelmora")); }
  void cleanup() { TSkin::Instance().SetHueOffset(0); }

  void layoutAndCaptions() {
    TPrefsRig rig;
    QCOMPARE(rig.dialog.windowTitle(), QString("Preferences"));
    QCOMPARE(rig.dialog.size(), QSize(409, 329));
    QCOMPARE(rig.dialog.minimumSize(), rig.dialog.maximumSize());
    const Qt::WindowFlags flags = rig.dialog.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QStringList captions;
    for (const QLabel* label : rig.dialog.findChildren<QLabel*>()) {
      captions << label->text();
    }
    for (const char* text :
         {"Output", "Accented beat", "Non-accented", "Non-accented beat\nvolume",
          "Accented beat volume\nis always 0dB", "Bell volume",
          "Bell sound can be turned on/off\nfrom the Tool menu.", "Pan", "Color hue"}) {
      QVERIFY2(captions.contains(QString::fromLatin1(text)), text);
    }
    QCOMPARE(captions.count("-21dB"), 2);
    QCOMPARE(captions.count("-12dB"), 2);
    QCOMPARE(captions.count("0dB"), 2);
    QCOMPARE(rig.Find<QCheckBox>("chkBoostVolume")->text(), QString("Global volume boost"));
    QCOMPARE(rig.Find<QCheckBox>("sckbStayOnTop")->text(), QString("Always on Top"));
    QVERIFY(rig.Find<QCheckBox>("sckbStayOnTop")->isChecked());
    QCOMPARE(rig.Find<QPushButton>("sButton1")->text(), QString("Close"));
    QCOMPARE(rig.Find<QPushButton>("sbtnSelectFilenameAcc")->text(), QString("..."));
    QCOMPARE(rig.Find<QPushButton>("sbtnSelectFilenameReg")->text(), QString("..."));
  }

  void sliders_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("pageStep");
    QTest::addColumn<int>("tickInterval");  // 0: no tick marks
    QTest::addColumn<int>("initial");
    QTest::addColumn<bool>("tabStop");
    QTest::newRow("non-accented level")
        << "sTrackBarRegDif" << -2100 << 0 << 300 << 1000 << -1200 << false;
    QTest::newRow("bell level") << "strbBellVolume" << -2100 << 0 << 1000 << 5000 << 0 << false;
    QTest::newRow("pan") << "sTrackBarPan" << -5000 << 5000 << 1000 << 5000 << 0 << false;
    QTest::newRow("hue") << "strkbHue" << -255 << 255 << 10 << 0 << 0 << true;
    QTest::newRow("visual offset") << "strkbVisualOffset" << -150 << 150 << 25 << 50 << 0 << true;
  }
  void sliders() {
    QFETCH(QString, name);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, pageStep);
    QFETCH(int, tickInterval);
    QFETCH(int, initial);
    QFETCH(bool, tabStop);
    TPrefsRig rig;
    const QSlider* slider = rig.Find<QSlider>(name.toLatin1().constData());
    QVERIFY(slider != nullptr);
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE(slider->minimum(), minimum);
    QCOMPARE(slider->maximum(), maximum);
    QCOMPARE(slider->pageStep(), pageStep);
    QCOMPARE(slider->tickPosition() != QSlider::NoTicks, tickInterval > 0);
    if (tickInterval > 0) {
      QCOMPARE(slider->tickInterval(), tickInterval);
    }
    QCOMPARE(slider->value(), initial);
    QCOMPARE(slider->focusPolicy() == Qt::StrongFocus, tabStop);
  }

  // The pan is centred or at least 900 away from the centre; the voices get
  // it negated. The load's SetPan goes through the same snap.
  void panHasADeadZone_data() {
    QTest::addColumn<bool>("bySetter");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("pan");
    QTest::newRow("drag to 500") << false << 500 << 0;
    QTest::newRow("drag to 900") << false << 900 << 900;
    QTest::newRow("drag to -899") << false << -899 << 0;
    QTest::newRow("drag to -900") << false << -900 << -900;
    QTest::newRow("drag to the right end") << false << 5000 << 5000;
    QTest::newRow("setter with 500") << true << 500 << 0;
    QTest::newRow("setter with 2000") << true << 2000 << 2000;
    QTest::newRow("setter beyond the range") << true << 7000 << 5000;
  }
  void panHasADeadZone() {
    QFETCH(bool, bySetter);
    QFETCH(int, position);
    QFETCH(int, pan);
    TPrefsRig rig;
    QSlider* slider = rig.Find<QSlider>("sTrackBarPan");
    if (bySetter) {
      rig.config.SetPan(position);
    } else {
      Drag(slider, position);
    }
    QCOMPARE(slider->value(), pan);
    QCOMPARE(rig.config.Pan, pan);
    QCOMPARE(rig.bellPan.Value(), -pan);
    QCOMPARE(rig.accentPan.Value(), -pan);
    QCOMPARE(rig.regularPan.Value(), -pan);
  }

  // The hue snaps back to 0 within 24 steps of it; otherwise the skin turns.
  void hueHasADeadZone_data() {
    QTest::addColumn<bool>("byLoad");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("hue");
    QTest::newRow("drag to 20") << false << 20 << 0;
    QTest::newRow("drag to 25") << false << 25 << 25;
    QTest::newRow("drag to -24") << false << -24 << 0;
    QTest::newRow("drag to -255") << false << -255 << -255;
    QTest::newRow("stored 20") << true << 20 << 0;
    QTest::newRow("stored 120") << true << 120 << 120;
    QTest::newRow("stored 999") << true << 999 << 255;
  }
  void hueHasADeadZone() {
    QFETCH(bool, byLoad);
    QFETCH(int, position);
    QFETCH(int, hue);
    TPrefsRig rig;
    QSlider* slider = rig.Find<QSlider>("strkbHue");
    if (byLoad) {
      rig.config.Controls.strkbHue->SetValue(position);
    } else {
      Drag(slider, position);
    }
    QCOMPARE(slider->value(), hue);
    QCOMPARE(TSkin::Instance().HueOffset(), hue);
    QCOMPARE(rig.config.Controls.strkbHue->Value(), hue);
  }

  // The visual offset goes in steps of 5 ms, shown beside its slider; a
  // stored value out of range puts the slider at its end.
  void visualOffsetSlider() {
    TPrefsRig rig;
    QSlider* slider = rig.Find<QSlider>("strkbVisualOffset");
    const QLabel* label = rig.Find<QLabel>("lblVisualOffset");
    Drag(slider, 37);
    QCOMPARE(slider->value(), 35);
    QCOMPARE(rig.config.VisualOffset.load(), 35);
    QCOMPARE(label->text(), QString("+35 ms"));
    Drag(slider, -18);
    QCOMPARE(rig.config.VisualOffset.load(), -20);
    QCOMPARE(label->text(), QString("-20 ms"));
    rig.config.SetVisualOffset(400);
    QCOMPARE(slider->value(), 150);
    QCOMPARE(rig.config.VisualOffset.load(), 150);
  }

  // The level sliders set their fields at once and bound them to -21..0 dB.
  void levelSliders() {
    TPrefsRig rig;
    Drag(rig.Find<QSlider>("sTrackBarRegDif"), -1500);
    QCOMPARE(rig.config.VolumeRegularDif.load(), -1500);
    Drag(rig.Find<QSlider>("strbBellVolume"), -700);
    QCOMPARE(rig.config.BellVolume.load(), -700);
    rig.config.SetBellVolume(-3000);
    QCOMPARE(rig.config.BellVolume.load(), -2100);
    rig.config.SetVolumeRegularDif(-9000);
    QCOMPARE(rig.config.VolumeRegularDif.load(), -2100);
    QCOMPARE(rig.Find<QSlider>("sTrackBarRegDif")->value(), -2100);
  }

  // Ticked with the dialog open: the notice comes once, 100 pixels right of
  // and below the dialog's corner, and the box is greyed for the run.
  void boostNoticeComesOnce() {
    TPrefsRig rig;
    rig.dialog.move(240, 160);
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    QCheckBox* box = rig.Find<QCheckBox>("chkBoostVolume");
    TMessageBoxWatcher watcher;

    box->click();

    QCOMPARE(watcher.Seen.size(), std::size_t{1});
    const TMessageBoxWatcher::TSeen& notice = watcher.Seen.front();
    QCOMPARE(notice.Text, QString("The setting will be applied after restart."));
    QCOMPARE(notice.Title, QString("Zelmora"));
    QCOMPARE(notice.Icon, QMessageBox::NoIcon);
    QCOMPARE(notice.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(notice.Position, rig.dialog.frameGeometry().topLeft() + QPoint(100, 100));
    QVERIFY(rig.config.BoostVolume);
    QVERIFY(box->isChecked());
    QVERIFY(!box->isEnabled());

    rig.config.SetBoostVolume(false);
    QVERIFY(!box->isChecked());
    QCOMPARE(watcher.Seen.size(), std::size_t{1});
  }

  // The load ticks the box while the dialog is hidden: no notice, and the box
  // stays enabled.
  void boostFromTheLoadIsQuiet() {
    TPrefsRig rig;
    TMessageBoxWatcher watcher;
    rig.config.SetBoostVolume(true);
    QVERIFY(rig.Find<QCheckBox>("chkBoostVolume")->isChecked());
    QVERIFY(rig.Find<QCheckBox>("chkBoostVolume")->isEnabled());
    QVERIFY(rig.config.BoostVolume);
    QTest::qWait(20);
    QVERIFY(watcher.Seen.empty());
  }

  // "Always on Top" restyles the main window and the beat panel once per
  // change, either way round.
  void alwaysOnTop() {
    TPrefsRig rig;
    rig.config.StayOnTop = true;  // as the load leaves it
    QCheckBox* box = rig.Find<QCheckBox>("sckbStayOnTop");

    box->click();
    QVERIFY(!rig.config.StayOnTop);
    QCOMPARE(rig.mainTopmost.writes, std::vector<bool>{false});
    QCOMPARE(rig.panelTopmost.writes, std::vector<bool>{false});

    rig.config.SetStayOnTop(true);
    QVERIFY(box->isChecked());
    QCOMPARE(rig.mainTopmost.writes, (std::vector<bool>{false, true}));
    QCOMPARE(rig.panelTopmost.writes, (std::vector<bool>{false, true}));
  }

  // "Close" hides; showing again finds everything as it was.
  void closeHides() {
    TPrefsRig rig;
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    Drag(rig.Find<QSlider>("sTrackBarPan"), 2500);
    rig.Find<QPushButton>("sButton1")->click();
    QVERIFY(!rig.dialog.isVisible());
    rig.dialog.show();
    QCOMPARE(rig.Find<QSlider>("sTrackBarPan")->value(), 2500);
    QCOMPARE(rig.config.Pan, 2500);
  }
};

QTEST_MAIN(PrefsControlsTest)
#include "prefs_controls_test.moc"
