#pragma once

#include <QFrame>

#include "ui/tempo/calculator.h"

class QLabel;
class QPushButton;

namespace zelmora {

// The small calculator that drops down from a numeric field. Keys work as
// on its buttons (digits, ".", + - * /, "=", Backspace, Delete for "C");
// Enter or "OK" hands the result over and closes it, Esc closes it without
// a result.
class TCalculatorPopup : public QFrame {
  Q_OBJECT

 public:
  explicit TCalculatorPopup(QWidget* parent = nullptr);

  // Drops down below `anchor`, starting from `value`.
  void Popup(QWidget* anchor, double value);

  TCalculator& Calculator() { return calculator_; }
  QString DisplayText() const;
  // Presses the button with this caption, as a click would.
  void Press(const QString& caption);

 signals:
  void Accepted(double result);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Refresh();
  void Accept();
  void ApplySkin();
  QPushButton* AddButton(const QString& caption, int row, int column, int rowSpan = 1,
                         int columnSpan = 1);

  TCalculator calculator_;
  QLabel* display_ = nullptr;
  QLabel* pending_ = nullptr;
};

}  // namespace zelmora
