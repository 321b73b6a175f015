#include "ui/tempo/calculator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zelmora {
namespace {

double Apply(double left, TCalculator::TOp op, double right) {
  switch (op) {
    case TCalculator::TOp::Add:
      return left + right;
    case TCalculator::TOp::Subtract:
      return left - right;
    case TCalculator::TOp::Multiply:
      return left * right;
    case TCalculator::TOp::Divide:
      return right == 0.0 ? NAN : left / right;
    case TCalculator::TOp::None:
      break;
  }
  return right;
}

// Up to ten significant digits, without trailing zeros: "117.1875", "120".
std::string Format(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  std::string result = text;
  return result == "-0" ? "0" : result;
}

}  // namespace

void TCalculator::Reset(double value) {
  Clear();
  shown_ = value;
  accumulator_ = value;
}

void TCalculator::Clear() {
  accumulator_ = 0.0;
  shown_ = 0.0;
  entry_.clear();
  entering_ = false;
  error_ = false;
  pending_ = TOp::None;
}

void TCalculator::Digit(int digit) {
  if (error_) {
    Clear();
  }
  if (!entering_) {
    entry_.clear();
    entering_ = true;
  }
  if (entry_ == "0") {
    entry_.clear();
  }
  const auto digits = static_cast<std::size_t>(
      std::count_if(entry_.begin(), entry_.end(), [](char c) { return c != '.'; }));
  if (digits < kMaxDigits) {
    entry_ += static_cast<char>('0' + std::clamp(digit, 0, 9));
  }
}

void TCalculator::Point() {
  if (error_) {
    Clear();
  }
  if (!entering_) {
    entry_ = "0";
    entering_ = true;
  }
  if (entry_.find('.') == std::string::npos) {
    entry_ += entry_.empty() ? "0." : ".";
  }
}

void TCalculator::Backspace() {
  if (entering_ && !entry_.empty()) {
    entry_.pop_back();
  }
}

double TCalculator::Value() const {
  if (entering_) {
    return entry_.empty() ? 0.0 : std::strtod(entry_.c_str(), nullptr);
  }
  return shown_;
}

void TCalculator::Resolve() {
  const double value = Value();
  accumulator_ = pending_ == TOp::None ? value : Apply(accumulator_, pending_, value);
  entering_ = false;
  entry_.clear();
  if (!std::isfinite(accumulator_)) {
    error_ = true;
    accumulator_ = 0.0;
  }
  shown_ = accumulator_;
}

void TCalculator::Operator(TOp op) {
  if (error_) {
    return;
  }
  // Pressing one operator after another only changes the operator.
  if (entering_ || pending_ == TOp::None) {
    Resolve();
  }
  pending_ = op;
}

void TCalculator::Equals() {
  if (error_) {
    return;
  }
  Resolve();
  pending_ = TOp::None;
}

std::string TCalculator::PendingText() const {
  if (error_ || pending_ == TOp::None) {
    return {};
  }
  const char* sign = "";
  switch (pending_) {
    case TOp::Add:
      sign = "+";
      break;
    case TOp::Subtract:
      sign = "\u2212";
      break;
    case TOp::Multiply:
      sign = "\u00D7";
      break;
    case TOp::Divide:
      sign = "\u00F7";
      break;
    case TOp::None:
      break;
  }
  return Format(accumulator_) + " " + sign;
}

std::string TCalculator::Display() const {
  if (error_) {
    return "Error";
  }
  if (entering_) {
    return entry_.empty() ? "0" : entry_;
  }
  return Format(shown_);
}

}  // namespace zelmora
