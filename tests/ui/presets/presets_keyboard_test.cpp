#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include <set>

#include "presets_rig.h"
#include "tests/ui/modeless_dialog_check.h"

using namespace zelmora;
using namespace zelmora::test;

namespace {

// The control that has the focus, by its own name.
QString FocusedControl(const QWidget& dialog) {
  for (const QWidget* widget = dialog.focusWidget(); widget != nullptr;
       widget = widget->parentWidget()) {
    if (!widget->objectName().isEmpty() && !widget->objectName().startsWith("qt_")) {
      return widget->objectName();
    }
  }
  return {};
}

// The underlined letter of a caption, lower case; none without one.
QChar Mnemonic(const QString& text) {
  const qsizetype mark = text.indexOf('&');
  return mark >= 0 && mark + 1 < text.size() ? text.at(mark + 1).toLower() : QChar();
}

}  // namespace

// The dialog as a window: modeless over the main window, and worked from
// the keyboard alone.
class PresetsKeyboardTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

  void tabGoesThroughEveryControlAndLettersReachThem() {
    TPresetsRig rig;
    rig.Seed();
    rig.session.Recall("Gig", "Rock");  // every button enabled
    rig.dialog.show();
    rig.dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&rig.dialog));
    QCOMPARE(FocusedControl(rig.dialog), QString("lstPresets"));

    const QStringList chain{"lstSetlists",       "sbtnNewSetlist",   "sbtnRenameSetlist",
                            "sbtnDeleteSetlist", "lstPresets",       "sbtnRecall",
                            "sbtnSaveAsNew",     "sbtnSaveOver",     "sbtnRenamePreset",
                            "sbtnDeletePreset",  "sbtnAddToSetlist", "sbtnRemoveFromSetlist",
                            "sbtnImport",        "sbtnExport",       "sbtnClose"};
    rig.Setlists()->setFocus(Qt::TabFocusReason);
    QStringList reached{FocusedControl(rig.dialog)};
    for (int i = 1; i <= chain.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      reached << FocusedControl(rig.dialog);
    }
    QCOMPARE(reached, chain + QStringList{chain.front()});

    // Each letter once, and each one reaches its control: a group's the
    // list inside it.
    std::set<QChar> letters;
    for (QGroupBox* group : rig.dialog.findChildren<QGroupBox*>()) {
      const QChar letter = Mnemonic(group->title());
      QVERIFY2(!letter.isNull() && letters.insert(letter).second, qPrintable(group->title()));
      rig.Find<QWidget>("sbtnClose")->setFocus();
      QTest::keyClick(QApplication::focusWidget(), letter.toLatin1(), Qt::AltModifier);
      QVERIFY2(qobject_cast<QListWidget*>(QApplication::focusWidget()) != nullptr &&
                   group->isAncestorOf(QApplication::focusWidget()),
               qPrintable(group->title()));
    }
    for (QPushButton* button : rig.dialog.findChildren<QPushButton*>()) {
      if (button->objectName() == "sbtnClose") {
        continue;  // Esc
      }
      const QChar letter = Mnemonic(button->text());
      QVERIFY2(!letter.isNull() && letters.insert(letter).second, qPrintable(button->text()));
    }

    // Enter in the setlists goes on to the presets; Esc closes.
    rig.Setlists()->setFocus();
    QTest::keyClick(rig.Setlists(), Qt::Key_Return);
    QCOMPARE(FocusedControl(rig.dialog), QString("lstPresets"));
    QCOMPARE(rig.config.Tempo.load(), 140);  // recalled once, above, and not again
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!rig.dialog.isVisible());
  }

  // Comes up centred over the main window each time; Close only hides it.
  void modelessAndCentredOverTheMainWindow() {
    QWidget main;
    main.setGeometry(300, 200, 264, 255);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    TPresetsRig rig;
    TfrmPresets dialog(rig.session, &main);
    QCOMPARE(dialog.objectName(), QString("frmPresets"));
    QCOMPARE(dialog.windowTitle(), QString("Presets"));
    testing::CheckModelessOverMain(dialog, main, "sbtnClose");
  }
};

QTEST_MAIN(PresetsKeyboardTest)
#include "presets_keyboard_test.moc"
