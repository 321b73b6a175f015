#include <QTest>

#include <string>

#include "choice_rig.h"

using namespace zelmora;
using namespace zelmora::test;

// The lists' selection as the settings store sees it, and the hand-over of
// the lists to a window and back.
class SoundListTest : public QObject {
  Q_OBJECT

 private slots:
  // The load's index waits until the list is filled; from then on the
  // binding is the list's own selection, -1 when nothing is selected.
  void storedIndexWaitsForTheList() {
    TChoiceRig rig;
    TBinding<int>& binding = rig.config.Controls.sComboBoxAcc;
    QCOMPARE(binding->Value(), 18);  // the default before any load
    binding->SetValue(7);
    QCOMPARE(binding->Value(), 7);
    QCOMPARE(rig.choice.List(TSoundSide::Accent).Count(), 0);

    rig.choice.StartUp();
    QCOMPARE(rig.choice.List(TSoundSide::Accent).SelectedIndex(), 7);

    rig.choice.List(TSoundSide::Accent).Select(12);
    QCOMPARE(binding->Value(), 12);
    binding->SetValue(40);
    QCOMPARE(binding->Value(), -1);
  }

  // A window's lists take over the entries and the selection, and hand them
  // back when the window goes, so that the save still reads them.
  void windowListsTakeOverAndHandBack() {
    TChoiceRig rig;
    rig.config.Controls.OpenDialogReg->SetValue("/sounds/mine.wav");
    rig.choice.StartUp();
    TSoundListModel accent;
    TSoundListModel regular;

    rig.choice.AttachLists(accent, regular);
    QCOMPARE(&rig.choice.List(TSoundSide::Accent), &accent);
    QCOMPARE(regular.Count(), 26);
    QCOMPARE(regular.Text(25), std::string("/sounds/mine.wav"));
    QCOMPARE(regular.SelectedIndex(), 17);
    regular.Select(4);
    QCOMPARE(rig.config.Controls.sComboBoxReg->Value(), 4);

    rig.choice.DetachLists();
    regular.Select(9);
    QVERIFY(&rig.choice.List(TSoundSide::Regular) != &regular);
    QCOMPARE(rig.choice.List(TSoundSide::Regular).Text(25), std::string("/sounds/mine.wav"));
    QCOMPARE(rig.config.Controls.sComboBoxReg->Value(), 4);
    QCOMPARE(rig.config.Controls.sComboBoxAcc->Value(), 18);
  }

  void modelIgnoresEntriesItDoesNotHave() {
    TSoundListModel list;
    list.Add("a");
    list.Add("b");
    list.Select(1);
    list.SetText(2, "c");
    QCOMPARE(list.Count(), 2);
    QCOMPARE(list.Text(2), std::string());
    QCOMPARE(list.Text(-1), std::string());
    list.Select(2);
    QCOMPARE(list.SelectedIndex(), -1);
    list.Select(0);
    list.Clear();
    QCOMPARE(list.SelectedIndex(), -1);
  }
};

QTEST_APPLESS_MAIN(SoundListTest)
#include "sound_list_test.moc"
