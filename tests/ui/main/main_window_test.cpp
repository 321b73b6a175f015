#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTextDocument>
#include <QToolTip>

#include "core/config.h"
#include "core/metronome.h"
#include "tests/ui/main/program_rig.h"
#include "ui/frame/window_rules.h"
#include "ui/main/tempo_display.h"
#include "ui/main/web_links.h"
#include "ui/panel/big_panel.h"
#include "ui/prefs/prefs_dialog.h"

using namespace zelmora;
using zelmora::testing::TProgramRig;

namespace {

QLabel* TopLevelLabel(const char* name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == QLatin1String(name)) {
      return qobject_cast<QLabel*>(widget);
    }
  }
  return nullptr;
}

}  // namespace

// The main window as the program starts it: its controls, its defaults on
// a first run, its tooltips, its menu, and what it leaves in the settings.
class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsSitWhereTheyBelong_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("tempo display") << "sPanel1" << QRect(8, 8, 129, 58);
    QTest::newRow("beat count") << "slblTimeSignNum" << QRect(7, 2, 10, 19);
    QTest::newRow("note sign") << "slblTimeSignDen" << QRect(7, 20, 6, 31);
    QTest::newRow("beat mark") << "lblBeat" << QRect(106, 19, 9, 14);
    QTest::newRow("BPM") << "Label5" << QRect(99, 35, 22, 12);
    QTest::newRow("TAP") << "lblTap" << QRect(100, 6, 20, 12);
    QTest::newRow("volume fader") << "sTrackBarVol" << QRect(8, 97, 24, 63);
    QTest::newRow("volume wedge") << "Image2" << QRect(31, 108, 16, 41);
    QTest::newRow("fader frame") << "sPanel2" << QRect(168, 11, 36, 247);
    QTest::newRow("tempo fader") << "sTrackBarTempo" << QRect(-15, -8, 57, 260);
    QTest::newRow("meter box") << "scmbMeterNum" << QRect(56, 105, 81, 23);
    QTest::newRow("More") << "sWebLabel1" << QRect(72, 136, 40, 13);
    QTest::newRow("start button") << "sbtnStartStop" << QRect(64, 189, 65, 59);
    QTest::newRow("tap button") << "sButton2" << QRect(11, 208, 38, 33);
    QTest::newRow("skin note") << "Label9" << QRect(32, 1, 82, 10);
    QTest::newRow("logo") << "Image1" << QRect(202, 12, 58, 54);
  }
  void controlsSitWhereTheyBelong() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    TProgramRig rig;
    QWidget* control = rig.main().findChild<QWidget*>(name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->geometry(), geometry);
  }

  void windowIsFixedAndOnTop() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QCOMPARE(rig.main().windowTitle(), QString(" Zelmora"));
    QCOMPARE(rig.main().centralWidget()->size(), QSize(264, 255));
    QCOMPARE(rig.main().minimumSize(), rig.main().maximumSize());
    const Qt::WindowFlags flags = rig.main().windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(rig.tempoFader()->hasFocus());
    QVERIFY(rig.find<QLabel>("Label9")->isHidden());
  }

  void firstRunTakesTheDefaults() {
    TProgramRig rig;
    TConfig& config = rig.config();
    QCOMPARE(config.Tempo.load(), 120);
    QCOMPARE(config.BeatPattern, std::string("Xxxx"));
    QVERIFY(config.Bell);
    QVERIFY(!config.BoostVolume);
    QVERIFY(config.StayOnTop);
    QCOMPARE(config.Volume.load(), 0);
    QCOMPARE(config.VolumeRegularDif.load(), -900);
    QCOMPARE(config.BellVolume.load(), -600);
    QCOMPARE(config.Pan, 0);
    QCOMPARE(config.Controls.sComboBoxReg->Value(), 17);
    QCOMPARE(config.Controls.sComboBoxAcc->Value(), 18);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(config.MainLeft, area.width() / 3);
    QCOMPARE(config.MainTop, area.height() / 4);
    QCOMPARE(rig.main().pos(), QPoint(area.width() / 3, area.height() / 4));

    QCOMPARE(rig.find<TTempoDisplay>("sPanel1")->Caption(), QString("120"));
    QCOMPARE(rig.tempoFader()->value(), -120);
    QCOMPARE(rig.tempoFader()->maximum(), -40);
    QCOMPARE(rig.volumeFader()->value(), 0);
    QCOMPARE(rig.meterBox()->currentText(), QString("4"));
    QCOMPARE(rig.find<QLabel>("slblTimeSignNum")->text(), QString("4"));
    QVERIFY(rig.find<QAction>("Bellsound1")->isChecked());
    QVERIFY(rig.find<QAction>("mnuBeatIndicator")->isChecked());
    QCOMPARE(rig.startButton()->Sign(), TPressButton::TSign::Play);
    QVERIFY(rig.find<QWidget>("lblBeat")->isHidden());
    QVERIFY(rig.tapLabel()->isHidden());
    QVERIFY(rig.program->BeatPanel()->isVisible());
    QVERIFY(rig.boxes.empty());
  }

  // When the session manager asks before it ends the session, every
  // setting is saved while the windows still stand, the beat panel's place
  // too, and the program runs on.
  void settingsAreSavedWhenTheSessionAsks() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QTest::keyClick(rig.tempoFader(), Qt::Key_PageUp);  // 130
    rig.program->BeatPanel()->move(300, 200);
    rig.program->SaveSettingsNow();
    QCOMPARE(rig.ini.Stored("Zelmora/Tempo").toString(), QString("130"));
    QCOMPARE(rig.ini.Stored("Zelmora/BigPanelLeft").toString(), QString("300"));
    QCOMPARE(rig.ini.Stored("Zelmora/BeatIndicatorVisible").toString(), QString("1"));
    QVERIFY(rig.program->BeatPanel()->isVisible());
  }

  void everySettingIsSavedAtTheEnd() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QTest::keyClick(rig.tempoFader(), Qt::Key_PageUp);  // 130
    QTest::keyClick(rig.tempoFader(), Qt::Key_Minus, Qt::KeypadModifier);
    rig.find<QAction>("Bellsound1")->trigger();
    rig.main().move(120, 90);
    QTest::keyClick(rig.tempoFader(), Qt::Key_Escape);
    rig.End();

    const auto stored = [&rig](const char* key) {
      return rig.ini.Stored(QStringLiteral("Zelmora/") + QString::fromLatin1(key)).toString();
    };
    QCOMPARE(stored("Tempo"), QString("130"));
    QCOMPARE(stored("BeatPattern"), QString("Xxxx"));
    QCOMPARE(stored("Volume"), QString("-100"));
    QCOMPARE(stored("Volume Regular Dif"), QString("-900"));
    QCOMPARE(stored("Bell Volume"), QString("-600"));
    QCOMPARE(stored("Pan"), QString("0"));
    QCOMPARE(stored("Bell"), QString("0"));
    QCOMPARE(stored("Boost Volume"), QString("0"));
    QCOMPARE(stored("MainLeft"), QString("120"));
    QCOMPARE(stored("MainTop"), QString("90"));
    QCOMPARE(stored("Regular Sound Index"), QString("17"));
    QCOMPARE(stored("Accented Sound Index"), QString("18"));
    QCOMPARE(stored("BeatIndicatorVisible"), QString("1"));
    QCOMPARE(stored("BigPanelWidth"), QString("250"));
    QCOMPARE(stored("Hue"), QString("0"));
    QCOMPARE(stored("Visual Offset"), QString("0"));
    QCOMPARE(stored("Output Device"), QString("System default"));
    // The twenty-one values, the practice tools' twenty and the output.
    QCOMPARE(rig.ini.StoredKeys().size(), 42);
  }

  void aValueOfTheWrongTypeKeepsTheOtherSettings() {
    // "1, 2" is a list to the settings file, not a text.
    TProgramRig rig(
        "[Zelmora]\nTempo=1, 2\nBeatPattern=XxX\nBell=0\nMainLeft=40\nMainTop=30\n"
        "Volume=-500\nPan=1, 2\nBell%20Volume=-1200\n");
    QCOMPARE(int(rig.boxes.size()), 2);
    // Ending in a quote, the message takes no full stop.
    QCOMPARE(rig.boxes[0].Text, QString("Invalid data type for 'Tempo'"));
    QCOMPARE(rig.boxes[1].Text, QString("Invalid data type for 'Pan'"));
    QVERIFY(rig.boxes[0].Error);
    TConfig& config = rig.config();
    QCOMPARE(config.Tempo.load(), 120);
    QCOMPARE(config.BeatPattern, std::string("XxX"));
    QVERIFY(!config.Bell);
    QCOMPARE(config.MainLeft, 40);
    QCOMPARE(config.Volume.load(), -500);
    QCOMPARE(config.BellVolume.load(), -1200);
    QCOMPARE(config.Pan, 0);
    rig.End();
    // The save writes a clean file that still holds the user's settings.
    QCOMPARE(rig.ini.Stored("Zelmora/Tempo").toString(), QString("120"));
    QCOMPARE(rig.ini.Stored("Zelmora/BeatPattern").toString(), QString("XxX"));
    QCOMPARE(rig.ini.Stored("Zelmora/Volume").toString(), QString("-500"));
    QCOMPARE(rig.ini.Stored("Zelmora/Pan").toString(), QString("0"));
  }

  // A tooltip shows its text verbatim, tags and all, in the lines of its
  // CR LF pairs and only those. They go at the first start.
  void toolTipsShowTheirTextVerbatimUntilTheFirstStart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lines");
    QTest::newRow("volume") << "sTrackBarVol"
                            << "Regular beat volume. Hot-keys: <b>plus</b> or <b>minus</b>";
    QTest::newRow("tempo") << "sTrackBarTempo"
                           << "Select tempo (in bpm). Hot-keys: <br>\n"
                              "+-1 bpm: <b>right</b> or <b>left arrow</b> <br>\n"
                              "standard increment/decrement: <b>Ctrl + right</b> or "
                              "<b>left arrow</b>\n";
    QTest::newRow("start") << "sbtnStartStop"
                           << "Start or stop the metronome. \nHot-key: <b>Space</b>";
  }
  void toolTipsShowTheirTextVerbatimUntilTheFirstStart() {
    QFETCH(QString, name);
    QFETCH(QString, lines);
    TProgramRig rig;
    QVERIFY(rig.Show());
    QWidget* control = rig.main().findChild<QWidget*>(name);
    QTextDocument shown;
    shown.setHtml(control->toolTip());
    QCOMPARE(shown.toPlainText(), lines);

    // The tooltip window breaks no line of its own.
    QToolTip::showText(control->mapToGlobal(control->rect().center()), control->toolTip(), control);
    QLabel* tip = nullptr;
    QTRY_VERIFY((tip = TopLevelLabel("qtooltip_label")) != nullptr && tip->isVisible());
    const int lineCount = int(lines.count('\n')) + 1;
    const int lineHeight = tip->fontMetrics().lineSpacing();
    QVERIFY2(tip->height() < (lineCount + 1) * lineHeight,
             qPrintable(QString("%1 px high for %2 lines").arg(tip->height()).arg(lineCount)));
    // Nor where a narrower tooltip window would have to: a line that does
    // not fit runs on rather than breaking inside a word.
    QCOMPARE(tip->heightForWidth(tip->width() / 3), tip->heightForWidth(tip->width()));
    QToolTip::hideText();

    rig.program->Metronome().StartStop();
    QVERIFY(control->toolTip().isEmpty());
    rig.program->Metronome().StartStop();
    QVERIFY(control->toolTip().isEmpty());
  }

  void onlyThreeControlsHaveToolTips() {
    TProgramRig rig;
    int withTip = 0;
    for (const QWidget* widget : rig.main().findChildren<QWidget*>()) {
      // The dialogs of the main window are windows of their own.
      withTip += widget->window() != &rig.main() || widget->toolTip().isEmpty() ? 0 : 1;
    }
    QCOMPARE(withTip, 3);
  }

  void menuHasItsItemsWithoutShortcuts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("On1") << "On1"
                         << "Start/Stop";
    QTest::newRow("Restartnextbar1") << "Restartnextbar1"
                                     << "Restart bar";
    QTest::newRow("Exit1") << "Exit1"
                           << "Exit";
    QTest::newRow("MeterConstructor1") << "MeterConstructor1"
                                       << "Meter Constructor...";
    QTest::newRow("mnuBeatIndicator") << "mnuBeatIndicator"
                                      << "Beat Panel";
    QTest::newRow("Bellsound1") << "Bellsound1"
                                << "Bell sound";
    QTest::newRow("Practice1") << "Practice1"
                               << "Practice...";
    QTest::newRow("Settings2") << "Settings2"
                               << "Preferences...";
    QTest::newRow("Help2") << "Help2"
                           << "Contents";
    QTest::newRow("HomePage1") << "HomePage1"
                               << "Home Page";
    QTest::newRow("Support1") << "Support1"
                              << "Support";
    QTest::newRow("CustomerFeedback1") << "CustomerFeedback1"
                                       << "Feedback";
    QTest::newRow("About1") << "About1"
                            << "About...";
  }
  void menuHasItsItemsWithoutShortcuts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    TProgramRig rig;
    auto* item = rig.main().findChild<QAction*>(name);
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(), text);
    QVERIFY(item->shortcut().isEmpty());
  }

  void restartBarOnlySetsTheBeatIndex() {
    TProgramRig rig;
    rig.program->Transport().BeatIndex = 3;
    rig.find<QAction>("Restartnextbar1")->trigger();
    QCOMPARE(int(rig.program->Transport().BeatIndex.load()), 1);
    QVERIFY(!rig.program->Metronome().Running());
  }

  void beatPanelFollowsItsMenuItem() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QAction* item = rig.find<QAction>("mnuBeatIndicator");
    item->trigger();
    QVERIFY(!item->isChecked());
    QVERIFY(!rig.program->BeatPanel()->isVisible());
    item->trigger();
    QVERIFY(rig.program->BeatPanel()->isVisible());
    // Closing the panel unticks the item.
    rig.program->BeatPanel()->close();
    QVERIFY(!item->isChecked());
  }

  void pinSwitchesStayingOnTop() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    auto* pin = rig.find<QAbstractButton>("StayOnTopButton");
    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(!rig.config().StayOnTop);
    QVERIFY(!rig.main().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!StaysOnTop(*rig.program->BeatPanel()));
    QVERIFY(rig.main().isVisible());  // switching never hides the window
    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(rig.config().StayOnTop);
    QVERIFY(rig.main().windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  }

  void preferencesOpenBesideTheWindow() {
    TProgramRig rig;
    QVERIFY(rig.Show());
    QWidget& prefs = rig.program->Preferences();
    QVERIFY(!prefs.isVisible());
    rig.find<QAction>("Settings2")->trigger();
    QVERIFY(prefs.isVisible());
    QVERIFY(!prefs.isModal());
    // What is set there is saved with the rest.
    rig.config().SetVolumeRegularDif(-1500);
    rig.End();
    QCOMPARE(rig.ini.Stored("Zelmora/Volume Regular Dif").toString(), QString("-1500"));
  }

  void helpAndWebItemsOpenTheirPages() {
    TProgramRig rig;
    rig.find<QAction>("Help2")->trigger();
    rig.find<QAction>("HomePage1")->trigger();
    rig.find<QAction>("Support1")->trigger();
    rig.find<QAction>("CustomerFeedback1")->trigger();
    QCOMPARE(int(rig.urls.size()), 4);
    QVERIFY(rig.urls[0].isLocalFile());
    QVERIFY(rig.urls[0].path().endsWith("/help/index.html"));
    QCOMPARE(rig.urls[1].toString(), QString(kHomePageUrl));
    QCOMPARE(rig.urls[2].toString(), QString(kContactPageUrl));
    QCOMPARE(rig.urls[3].toString(), QString(kContactPageUrl));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
