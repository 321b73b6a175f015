#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <optional>

#include "ui/presets/preset_questions.h"

using namespace zelmora;

Q_DECLARE_METATYPE(std::optional<TPresetConflict>)

namespace {

// Answers the next message box, once it is up, with the button of that
// text, or with Esc when the text is empty.
void AnswerNextBox(const QString& button) {
  QTimer::singleShot(0, [button] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box != nullptr);
    if (button.isEmpty()) {
      QTest::keyClick(box, Qt::Key_Escape);
      return;
    }
    for (QAbstractButton* candidate : box->buttons()) {
      if (candidate->text().remove('&') == button) {
        candidate->click();
        return;
      }
    }
    QFAIL(qPrintable("no button " + button));
  });
}

}  // namespace

// The system's boxes, each button read as the answer it says.
class PresetBoxesTest : public QObject {
  Q_OBJECT

 private slots:
  void conflictButtonsGiveTheirAnswers_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<std::optional<TPresetConflict>>("answer");
    QTest::newRow("keep both") << "Keep both" << std::optional(TPresetConflict::KeepBoth);
    QTest::newRow("replace") << "Replace mine" << std::optional(TPresetConflict::Replace);
    QTest::newRow("keep ours") << "Keep mine" << std::optional(TPresetConflict::KeepOurs);
    QTest::newRow("cancel") << "Cancel import" << std::optional<TPresetConflict>();
    QTest::newRow("Esc cancels") << "" << std::optional<TPresetConflict>();
  }
  void conflictButtonsGiveTheirAnswers() {
    QFETCH(QString, button);
    QFETCH(std::optional<TPresetConflict>, answer);
    TPresetBoxes boxes(nullptr);
    AnswerNextBox(button);
    QCOMPARE(boxes.AskConflict({"Waltz", {{"Tempo", "96"}}}, {"Waltz", {{"Tempo", "88"}}}), answer);
  }

  void confirmationNeedsYes_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("yes") << "Yes" << true;
    QTest::newRow("no") << "No" << false;
    QTest::newRow("Esc") << "" << false;
  }
  void confirmationNeedsYes() {
    QFETCH(QString, button);
    QFETCH(bool, confirmed);
    TPresetBoxes boxes(nullptr);
    AnswerNextBox(button);
    QCOMPARE(boxes.Confirm("Delete preset", "Delete the preset 'Waltz'?"), confirmed);
  }
};

QTEST_MAIN(PresetBoxesTest)
#include "preset_boxes_test.moc"
