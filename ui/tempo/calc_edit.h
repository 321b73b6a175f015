#pragma once

#include <QFrame>

#include <functional>
#include <utility>

class QLineEdit;
class QToolButton;

namespace zelmora {

class TCalculatorPopup;

// A whole-number field with a drop-down calculator (its button, or
// Alt+Down). It takes only digits: any keystroke that would leave something
// else is refused with a warning beep. Esc puts back the value last shown
// and is not passed on, so a dialog around it stays open. The value is held
// within the field's range.
class TCalcEdit : public QFrame {
  Q_OBJECT

 public:
  explicit TCalcEdit(QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }

  // Shows `value` (clamped to the range) and remembers it for Esc.
  void SetValue(int value);
  // The typed number clamped to the range; an empty field counts as 0.
  int Value() const;
  QString Text() const;

  void ShowCalculator();

  QLineEdit* Edit() const { return edit_; }
  QToolButton* Button() const { return button_; }
  TCalculatorPopup* Calculator() const { return calculator_; }

  // The warning beep; QApplication::beep unless replaced (tests count it).
  void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CalculatorAccepted(double result);
  void ApplySkin();
  void Beep();

  QLineEdit* edit_ = nullptr;
  QToolButton* button_ = nullptr;
  TCalculatorPopup* calculator_ = nullptr;
  std::function<void()> beep_;
  int minimum_ = 0;
  int maximum_ = 0;
  int shown_ = 0;
};

}  // namespace zelmora
