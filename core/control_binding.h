#pragma once

#include <utility>

namespace zelmora {

// Something on screen (or in the audio engine) that shows one value of the
// settings object: a slider position, a label's text, a menu check mark.
// The settings object reads it to decide whether it needs writing, and
// writes it; the window behind it wires the control's own change handler
// back to the setter.
template <typename T>
class TControl {
 public:
  virtual ~TControl() = default;
  // Thread: ui
  virtual T Value() const = 0;
  virtual void SetValue(const T& value) = 0;
};

// Stands in for a control whose window does not exist (yet, or in a test
// without windows): it simply keeps the last value written.
template <typename T>
class THeldValue final : public TControl<T> {
 public:
  // Thread: ui
  THeldValue() = default;
  explicit THeldValue(T initial) : value_(std::move(initial)) {}
  T Value() const override { return value_; }
  void SetValue(const T& value) override { value_ = value; }

 private:
  T value_{};
};

// The slot in the settings object through which it reaches one control. A
// window binds its control when it is built and unbinds it when it goes;
// unbound, the slot falls back to a held value so that setters, loads and
// the save work the same with or without windows.
template <typename T>
class TBinding {
 public:
  // Thread: ui
  TBinding() = default;
  explicit TBinding(T initial) : held_(std::move(initial)) {}
  TBinding(const TBinding&) = delete;
  TBinding& operator=(const TBinding&) = delete;

  // Thread: ui
  void Bind(TControl<T>* control) { bound_ = control; }
  void Unbind() { bound_ = nullptr; }
  bool IsBound() const { return bound_ != nullptr; }

  // Thread: ui
  TControl<T>& operator*() { return bound_ ? *bound_ : held_; }
  const TControl<T>& operator*() const {
    return bound_ ? static_cast<const TControl<T>&>(*bound_) : held_;
  }
  TControl<T>* operator->() { return &**this; }
  const TControl<T>* operator->() const { return &**this; }

 private:
  THeldValue<T> held_;
  TControl<T>* bound_ = nullptr;
};

}  // namespace zelmora
