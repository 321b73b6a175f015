#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "core/scope.h"

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

// What a binding holds once its control goes.
enum class TOnUnbind {
  KeepValue,  // what the control showed last, so that a late reader (the save) finds it
  Forget,     // what it held before the control came
};

// The slot in the settings object through which it reaches one control. A
// window binds its control when it is built and keeps the returned scope
// as long as the control lives; unbound, the slot falls back to a held
// value so that setters, loads and the save work the same with or without
// windows. A later Bind replaces the control; an earlier scope then ends
// nothing.
template <typename T>
class TBinding {
 public:
  // Thread: ui
  TBinding() = default;
  explicit TBinding(T initial) { state_->Held.SetValue(std::move(initial)); }
  TBinding(const TBinding&) = delete;
  TBinding& operator=(const TBinding&) = delete;

  // Thread: ui
  // The control must outlive the scope.
  TScope Bind(TControl<T>& control, TOnUnbind onUnbind = TOnUnbind::KeepValue) {
    return Attach(&control, nullptr, onUnbind);
  }
  // The binding owns the control until the scope ends.
  TScope Bind(std::unique_ptr<TControl<T>> control, TOnUnbind onUnbind = TOnUnbind::KeepValue) {
    TControl<T>* shown = control.get();
    return Attach(shown, std::move(control), onUnbind);
  }
  bool IsBound() const { return state_->Bound != nullptr; }

  // Thread: ui
  TControl<T>& operator*() { return state_->Bound ? *state_->Bound : state_->Held; }
  const TControl<T>& operator*() const {
    return state_->Bound ? static_cast<const TControl<T>&>(*state_->Bound) : state_->Held;
  }
  TControl<T>* operator->() { return &**this; }
  const TControl<T>* operator->() const { return &**this; }

 private:
  // Shared with the scopes, which hold it weakly: a scope that outlives the
  // settings object finds nothing left to unbind.
  struct TState {
    THeldValue<T> Held;
    TControl<T>* Bound = nullptr;
    std::unique_ptr<TControl<T>> Owned;
    std::uint64_t Generation = 0;  // which Bind the current control came from
  };

  TScope Attach(TControl<T>* control, std::unique_ptr<TControl<T>> owned, TOnUnbind onUnbind) {
    state_->Bound = control;
    state_->Owned = std::move(owned);
    const std::uint64_t generation = ++state_->Generation;
    return TScope([weak = std::weak_ptr<TState>(state_), generation, onUnbind] {
      const std::shared_ptr<TState> state = weak.lock();
      if (!state || state->Generation != generation) {
        return;
      }
      if (onUnbind == TOnUnbind::KeepValue) {
        state->Held.SetValue(state->Bound->Value());
      }
      state->Bound = nullptr;
      state->Owned.reset();
    });
  }

  std::shared_ptr<TState> state_ = std::make_shared<TState>();
};

}  // namespace zelmora
