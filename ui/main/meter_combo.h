#pragma once

#include <QComboBox>

namespace zelmora {

// The meter box: an editable drop-down of meter texts ("1" .. "3+2") in the
// music face. It reports the user's own changes only: each edit of the
// text and each pick from the list (userChanged). Text set by the program
// (setEditText) reports nothing. Typed texts are not added to the list,
// and there is no completion, so the text is always what the user typed.
class TMeterCombo : public QComboBox {
  Q_OBJECT

 public:
  explicit TMeterCombo(QWidget* parent);

  // The list opens with the entry equal to the box's text highlighted, and
  // none when the text is no entry of the list, so Enter in the list never
  // picks a meter the box does not show.
  void showPopup() override;
  void hidePopup() override;

 signals:
  void userChanged();
  void listClosed();
  void doubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Restyle();
  void PlaceText();
};

}  // namespace zelmora
