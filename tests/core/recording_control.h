#pragma once

#include <vector>

#include "core/control_binding.h"

namespace zelmora::test {

// A control that remembers every value written to it, to show which writes
// a setter makes and which it skips.
template <typename T>
class TRecordingControl final : public TControl<T> {
 public:
  explicit TRecordingControl(T initial = T{}) : value_(initial) {}
  T Value() const override { return value_; }
  void SetValue(const T& value) override {
    value_ = value;
    writes.push_back(value);
  }
  std::vector<T> writes;

 private:
  T value_;
};

}  // namespace zelmora::test
