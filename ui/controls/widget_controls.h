#pragma once

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>

#include <string>

#include "core/control_binding.h"

namespace zelmora {

// Adapters that let the settings object read and write real widgets. Each
// is owned by the window that owns the widget and must be unbound from the
// settings object before the widget goes. User-interface thread only.

// A slider's position. Setting it clamps to the slider's range and, when the
// position really changes, runs the slider's valueChanged handler.
class TSliderControl final : public TControl<int> {
 public:
  explicit TSliderControl(QAbstractSlider* slider) : slider_(slider) {}
  int Value() const override { return slider_->value(); }
  void SetValue(const int& value) override { slider_->setValue(value); }

 private:
  QAbstractSlider* slider_;
};

// A check box's or checkable button's checked state.
class TCheckControl final : public TControl<bool> {
 public:
  explicit TCheckControl(QAbstractButton* button) : button_(button) {}
  bool Value() const override { return button_->isChecked(); }
  void SetValue(const bool& value) override { button_->setChecked(value); }

 private:
  QAbstractButton* button_;
};

// A menu item's check mark. Menu check marks do not call back.
class TActionCheckControl final : public TControl<bool> {
 public:
  explicit TActionCheckControl(QAction* action) : action_(action) {}
  bool Value() const override { return action_->isChecked(); }
  void SetValue(const bool& value) override { action_->setChecked(value); }

 private:
  QAction* action_;
};

}  // namespace zelmora
