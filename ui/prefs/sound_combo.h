#pragma once

#include <QComboBox>

namespace zelmora {

// A selection-only drop-down list in the program's own look. Long entries
// (the paths of chosen files) are shortened in the middle on the closed
// list; the entries themselves keep the whole text.
class TSoundCombo final : public QComboBox {
 public:
  explicit TSoundCombo(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace zelmora
