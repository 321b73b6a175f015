#pragma once

#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <functional>
#include <string>
#include <utility>

#include "core/config_controls.h"
#include "core/control_binding.h"

namespace zelmora {

// Small adapters between the main window's widgets and the bindings of the
// settings object and the metronome. User-interface thread only.

// Any value the window shows in its own way: read and write through two
// functions.
template <typename T>
class TFunctionControl final : public TControl<T> {
 public:
  TFunctionControl(std::function<T()> read, std::function<void(const T&)> write)
      : read_(std::move(read)), write_(std::move(write)) {}
  T Value() const override { return read_(); }
  void SetValue(const T& value) override { write_(value); }

 private:
  std::function<T()> read_;
  std::function<void(const T&)> write_;
};

// A widget's visibility.
class TVisibleControl final : public TControl<bool> {
 public:
  explicit TVisibleControl(QWidget* widget) : widget_(widget) {}
  bool Value() const override { return !widget_->isHidden(); }
  void SetValue(const bool& visible) override { widget_->setVisible(visible); }

 private:
  QWidget* widget_;
};

// The meter box's text. Writing it never runs the box's change handler,
// which listens to the user's own edits and picks only.
class TComboTextControl final : public TControl<std::string> {
 public:
  explicit TComboTextControl(QComboBox* combo) : combo_(combo) {}
  std::string Value() const override { return combo_->currentText().toStdString(); }
  void SetValue(const std::string& text) override {
    combo_->setEditText(QString::fromStdString(text));
  }

 private:
  QComboBox* combo_;
};

// The desktop area free of panels, on the primary screen.
class TWorkAreaControl final : public TControl<TWorkArea> {
 public:
  TWorkArea Value() const override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
      return {};
    }
    const QRect area = screen->availableGeometry();
    return {area.width(), area.height()};
  }
  void SetValue(const TWorkArea& /*area*/) override {}
};

}  // namespace zelmora
