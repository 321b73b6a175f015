#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

#include <functional>
#include <set>

#include "audio/bank/bank.h"
#include "practice_rig.h"
#include "tests/ui/modeless_dialog_check.h"

using namespace zelmora;
using namespace zelmora::test;

using TField = std::function<int(const TPracticeSettings&)>;
Q_DECLARE_METATYPE(TField)

namespace {

// What the user does to set `control` to `value`: picks from the list with
// the keys, types the number and Enter, moves the slider, ticks the box.
void Operate(QWidget* control, int value) {
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < combo->count() && combo->currentData().toInt() != value; ++i) {
      QTest::keyClick(combo, Qt::Key_Down);
    }
  } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(value));
    QTest::keyClick(spin, Qt::Key_Return);
  } else if (auto* slider = qobject_cast<QSlider*>(control)) {
    slider->setValue(value);
  } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
    if (box->isChecked() != (value != 0)) {
      box->click();
    }
  }
}

QString Shown(QWidget* widget) {
  if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    return combo->currentText();
  }
  if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
    return spin->text();
  }
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    return label->text();
  }
  return {};
}

// The control that has the focus, by its own name: a number box's focus
// sits in its text field.
QString FocusedControl(const QWidget& dialog) {
  for (const QWidget* widget = dialog.focusWidget(); widget != nullptr;
       widget = widget->parentWidget()) {
    if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_")) {
      return widget->objectName();
    }
  }
  return {};
}

}  // namespace

// The Practice dialog's controls: each one shows and sets its setting.
class PracticeDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

  void eachControlReachesItsSetter_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value");
    QTest::addColumn<TField>("field");
    QTest::addColumn<QString>("shownBy");  // the control itself or its value label
    QTest::addColumn<QString>("shown");
    const auto row = [](const char* name, int value, TField field, const char* shownBy,
                        const char* shown) {
      QTest::addRow("%s %d", name, value)
          << QString(name) << value << field << QString(shownBy) << QString::fromUtf8(shown);
    };
    row(
        "scmbSubdivision", 4, [](const TPracticeSettings& p) { return p.Subdivision.load(); },
        "scmbSubdivision", "4 – sixteenths");
    row(
        "scmbSubdivision", 1, [](const TPracticeSettings& p) { return p.Subdivision.load(); },
        "scmbSubdivision", "Off");
    row(
        "strkbSwing", 67, [](const TPracticeSettings& p) { return p.Swing.load(); }, "lblSwing",
        "67% triplet");
    row(
        "strkbSubdivisionVolume", -750,
        [](const TPracticeSettings& p) { return p.SubdivisionVolume.load(); },
        "lblSubdivisionVolume", "-7.5 dB");
    row(
        "scmbLayerClicks", 5, [](const TPracticeSettings& p) { return p.LayerClicks.load(); },
        "scmbLayerClicks", "5");
    row(
        "scmbLayerClicks", 0, [](const TPracticeSettings& p) { return p.LayerClicks.load(); },
        "scmbLayerClicks", "Off");
    row(
        "strkbLayerVolume", -2100, [](const TPracticeSettings& p) { return p.LayerVolume.load(); },
        "lblLayerVolume", "-21 dB");
    row(
        "scmbCountInBars", 4, [](const TPracticeSettings& p) { return p.CountInBars.load(); },
        "scmbCountInBars", "4 bars");
    row(
        "sckbTrainer", 0, [](const TPracticeSettings& p) { return int(p.Trainer.load()); }, "", "");
    row(
        "sspnTrainerStart", 96, [](const TPracticeSettings& p) { return p.TrainerStart.load(); },
        "sspnTrainerStart", "96 bpm");
    row(
        "sspnTrainerTarget", 144, [](const TPracticeSettings& p) { return p.TrainerTarget.load(); },
        "sspnTrainerTarget", "144 bpm");
    row(
        "sspnTrainerStep", 7, [](const TPracticeSettings& p) { return p.TrainerStep.load(); },
        "sspnTrainerStep", "7 bpm");
    row(
        "sspnTrainerEveryBars", 1,
        [](const TPracticeSettings& p) { return p.TrainerEveryBars.load(); },
        "sspnTrainerEveryBars", "1 bar");
    row(
        "scmbTrainerAtTarget", 1,
        [](const TPracticeSettings& p) { return p.TrainerAtTarget.load(); }, "scmbTrainerAtTarget",
        "Stop with the bell");
    row(
        "sspnGapPlayBars", 4, [](const TPracticeSettings& p) { return p.GapPlayBars.load(); },
        "sspnGapPlayBars", "4 bars");
    row(
        "sspnGapPlayBars", 0, [](const TPracticeSettings& p) { return p.GapPlayBars.load(); },
        "sspnGapPlayBars", "Off");
    row(
        "sspnGapMuteBars", 3, [](const TPracticeSettings& p) { return p.GapMuteBars.load(); },
        "sspnGapMuteBars", "3 bars");
    row(
        "sspnGapRandomPercent", 25,
        [](const TPracticeSettings& p) { return p.GapRandomPercent.load(); },
        "sspnGapRandomPercent", "25% of bars");
    row(
        "sspnPracticeMinutes", 45,
        [](const TPracticeSettings& p) { return p.PracticeMinutes.load(); }, "sspnPracticeMinutes",
        "45 min");
  }
  void eachControlReachesItsSetter() {
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(TField, field);
    QFETCH(QString, shownBy);
    QFETCH(QString, shown);
    TPracticeRig rig;
    rig.SwitchEverythingOn();
    rig.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.dialog));
    auto* control = rig.Find<QWidget>(name.toLatin1().constData());
    QVERIFY(control != nullptr);
    QVERIFY(field(rig.config.Practice) != value);

    Operate(control, value);

    QCOMPARE(field(rig.config.Practice), value);
    if (!shownBy.isEmpty()) {
      QCOMPARE(Shown(rig.Find<QWidget>(shownBy.toLatin1().constData())), shown);
    }
    QVERIFY(rig.dialog.isVisible());  // Enter in a number box does not close
  }

  // Each showing reads the settings object, values kept in range by the
  // setters included, and shows what the voices play.
  void showsTheStoredValuesWhenShown() {
    TPracticeRig rig;
    TConfig& config = rig.config;
    config.SetSubdivision(3);
    config.SetSwing(90);  // 75
    config.SetSubdivisionVolume(-750);
    config.SetSubdivisionSound(kBankCount, "/home/musician/shaker.wav");
    config.SetLayerClicks(1);  // off
    config.SetLayerSound(12, "");
    config.SetCountInBars(3);  // 2
    config.SetTrainer(true);
    config.SetTrainerStart(500);  // 416
    config.SetTrainerTarget(60);
    config.SetTrainerAtTarget(1);
    config.SetGapRandomPercent(80);  // 50
    config.SetPracticeMinutes(0);

    rig.dialog.show();

    const std::pair<const char*, QString> expected[] = {
        {"scmbSubdivision", QString::fromUtf8("3 – triplets")},
        {"lblSwing", "75%"},
        {"lblSubdivisionVolume", "-7.5 dB"},
        {"scmbSubdivisionSound", "/home/musician/shaker.wav"},
        {"scmbLayerClicks", "Off"},
        {"scmbLayerSound", QString::fromUtf8(BankName(12).data())},
        {"scmbCountInBars", "2 bars"},
        {"sspnTrainerStart", "416 bpm"},
        {"sspnTrainerTarget", "60 bpm"},
        {"scmbTrainerAtTarget", "Stop with the bell"},
        {"sspnGapRandomPercent", "50% of bars"},
        {"sspnPracticeMinutes", "No limit"},
    };
    for (const auto& [name, text] : expected) {
      QVERIFY2(Shown(rig.Find<QWidget>(name)) == text, name);
    }
    QCOMPARE(rig.Find<QSlider>("strkbSwing")->value(), 75);
    QVERIFY(rig.Find<QCheckBox>("sckbTrainer")->isChecked());
    QCOMPARE(rig.Find<QComboBox>("scmbSubdivisionSound")->currentIndex(), kBankCount);

    // Changed while hidden: the next showing has it.
    rig.dialog.hide();
    config.SetTrainerTarget(150);
    config.SetSubdivisionSound(-1, "");  // names nothing: the voice plays its default
    rig.dialog.show();
    QCOMPARE(Shown(rig.Find<QWidget>("sspnTrainerTarget")), QString("150 bpm"));
    QCOMPARE(rig.Find<QComboBox>("scmbSubdivisionSound")->currentIndex(),
             TPracticeSettings{}.SubdivisionSoundIndex);
    QVERIFY(rig.errors.empty());
  }

  void controlsThatMeanNothingAreDisabled_data() {
    QTest::addColumn<int>("subdivision");
    QTest::addColumn<int>("layerClicks");
    QTest::addColumn<bool>("trainer");
    QTest::addColumn<int>("gapPlay");
    QTest::addColumn<int>("gapRandom");
    // Whether each of these is enabled:
    QTest::addColumn<QStringList>("enabled");
    QTest::newRow("everything off") << 1 << 0 << false << 0 << 0 << QStringList{"sspnGapPlayBars"};
    QTest::newRow("eighths swing")
        << 2 << 0 << false << 0 << 0
        << QStringList{"strkbSwing", "scmbSubdivisionSound", "sspnGapPlayBars"};
    QTest::newRow("triplets do not")
        << 3 << 0 << false << 0 << 0 << QStringList{"scmbSubdivisionSound", "sspnGapPlayBars"};
    QTest::newRow("sixteenths swing")
        << 4 << 0 << false << 0 << 0
        << QStringList{"strkbSwing", "scmbSubdivisionSound", "sspnGapPlayBars"};
    QTest::newRow("layer, trainer and fixed gaps")
        << 1 << 3 << true << 2 << 0
        << QStringList{"scmbLayerSound", "sspnTrainerStart", "scmbTrainerAtTarget",
                       "sspnGapPlayBars", "sspnGapMuteBars"};
    QTest::newRow("random gaps instead") << 1 << 0 << false << 2 << 20 << QStringList{};
  }
  void controlsThatMeanNothingAreDisabled() {
    QFETCH(int, subdivision);
    QFETCH(int, layerClicks);
    QFETCH(bool, trainer);
    QFETCH(int, gapPlay);
    QFETCH(int, gapRandom);
    QFETCH(QStringList, enabled);
    TPracticeRig rig;
    rig.config.SetSubdivision(subdivision);
    rig.config.SetLayerClicks(layerClicks);
    rig.config.SetTrainer(trainer);
    rig.config.SetGapPlayBars(gapPlay);
    rig.config.SetGapRandomPercent(gapRandom);
    rig.dialog.show();
    for (const char* name :
         {"strkbSwing", "scmbSubdivisionSound", "scmbLayerSound", "sspnTrainerStart",
          "scmbTrainerAtTarget", "sspnGapPlayBars", "sspnGapMuteBars"}) {
      QVERIFY2(rig.Find<QWidget>(name)->isEnabled() == enabled.contains(name), name);
    }
    // The state follows the controls, and a caption greys with its control.
    rig.Find<QCheckBox>("sckbTrainer")->click();
    QCOMPARE(rig.Find<QWidget>("sspnTrainerStart")->isEnabled(), !trainer);
    for (const QLabel* caption : rig.dialog.findChildren<QLabel*>()) {
      if (caption->buddy() != nullptr) {
        QVERIFY2(caption->isEnabled() == caption->buddy()->isEnabled(),
                 qPrintable(caption->text()));
      }
    }
  }

  // Tab goes down the left column, then down the right one, to Close; each
  // caption's underlined letter jumps to its control; Esc closes.
  void keyboardReachesEveryControl() {
    TPracticeRig rig;
    rig.SwitchEverythingOn();
    rig.dialog.show();
    rig.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
    const QStringList chain{"scmbSubdivision",
                            "strkbSwing",
                            "strkbSubdivisionVolume",
                            "scmbSubdivisionSound",
                            "sbtnSubdivisionSoundFile",
                            "scmbLayerClicks",
                            "strkbLayerVolume",
                            "scmbLayerSound",
                            "sbtnLayerSoundFile",
                            "scmbCountInBars",
                            "sckbTrainer",
                            "sspnTrainerStart",
                            "sspnTrainerTarget",
                            "sspnTrainerStep",
                            "sspnTrainerEveryBars",
                            "scmbTrainerAtTarget",
                            "sspnGapPlayBars",
                            "sspnGapMuteBars",
                            "sspnGapRandomPercent",
                            "sspnPracticeMinutes",
                            "sbtnClose"};
    rig.Find<QWidget>("scmbSubdivision")->setFocus(Qt::TabFocusReason);
    QStringList reached{FocusedControl(rig.dialog)};
    for (int i = 1; i <= chain.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      reached << FocusedControl(rig.dialog);
    }
    QCOMPARE(reached, chain + QStringList{chain.front()});

    std::set<QChar> letters;
    for (const QLabel* caption : rig.dialog.findChildren<QLabel*>()) {
      if (caption->buddy() == nullptr) {
        continue;
      }
      const qsizetype mark = caption->text().indexOf('&');
      QVERIFY2(mark >= 0, qPrintable(caption->text()));
      const QChar letter = caption->text().at(mark + 1).toLower();
      QVERIFY2(letters.insert(letter).second, qPrintable(caption->text()));
      rig.Find<QWidget>("sbtnClose")->setFocus();
      QTest::keyClick(QApplication::focusWidget(), letter.toLatin1(), Qt::AltModifier);
      QVERIFY2(caption->buddy()->hasFocus() ||
                   caption->buddy()->isAncestorOf(QApplication::focusWidget()),
               qPrintable(caption->text()));
    }
    // The check box has a letter of its own.
    auto* trainer = rig.Find<QCheckBox>("sckbTrainer");
    QVERIFY(trainer->text().contains("&o"));
    QVERIFY(letters.insert(QChar('o')).second);
    QTest::keyClick(QApplication::focusWidget(), 'o', Qt::AltModifier);
    QVERIFY(trainer->hasFocus());
    QCOMPARE(int(letters.size()), 18);

    rig.Find<QWidget>("sspnTrainerStart")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!rig.dialog.isVisible());
  }

  // A modeless dialog of the main window: it comes up centred over it each
  // time, and Close only hides it.
  void modelessAndCentredOverTheMainWindow() {
    QWidget main;
    main.setGeometry(300, 200, 264, 255);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    TConfig config;
    TBeatVoices voices = TBeatVoices::On(nullptr);
    TRecordedMessages messages;
    TPracticeSounds sounds(config, voices, messages);
    TfrmPractice dialog(config, sounds, &main);
    QCOMPARE(dialog.objectName(), QString("frmPractice"));
    QCOMPARE(dialog.windowTitle(), QString("Practice"));
    testing::CheckModelessOverMain(dialog, main, "sbtnClose");
  }
};

QTEST_MAIN(PracticeDialogTest)
#include "practice_dialog_test.moc"
