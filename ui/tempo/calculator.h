#pragma once

#include <string>

namespace zelmora {

// A pocket calculator's logic: immediate execution, left to right
// ("2 + 3 * 4 =" gives 20), as the drop-down of a numeric field uses it.
// Division by zero (or an overflow) shows "Error" until the next digit or
// Clear. No Qt: the popup only forwards its keys.
class TCalculator {
 public:
  enum class TOp { None, Add, Subtract, Multiply, Divide };

  // Starts over with `value` on the display, as if it had just been typed.
  void Reset(double value);
  void Digit(int digit);  // 0..9
  void Point();
  void Operator(TOp op);
  void Equals();
  void Clear();
  void Backspace();

  std::string Display() const;
  // The operation waiting for its second number, as "60000 \u00F7" (UTF-8);
  // empty when none.
  std::string PendingText() const;
  bool HasError() const { return error_; }
  // The number on the display (after Equals, the result).
  double Value() const;

 private:
  void Resolve();

  static constexpr std::size_t kMaxDigits = 12;

  double accumulator_ = 0.0;
  double shown_ = 0.0;
  std::string entry_;  // digits being typed, when entering_
  bool entering_ = false;
  bool error_ = false;
  TOp pending_ = TOp::None;
};

}  // namespace zelmora
