#pragma once

#include <cstdint>
#include <string>

#include "core/control_binding.h"
#include "ui/panel/beat_face.h"

namespace zelmora {

class TfrmBigPanel;

// Adapters through which the metronome and the settings object reach the
// beat panel (see TBinding). Owned by the panel, user-interface thread only.

class TMarkColorControl final : public TControl<std::uint32_t> {
 public:
  explicit TMarkColorControl(TfrmBigPanel& panel) : panel_(panel) {}
  std::uint32_t Value() const override;
  void SetValue(const std::uint32_t& rgb) override;

 private:
  TfrmBigPanel& panel_;
};

// The mark as an 8-bit caption: "l", "\xAE" or " " (see MarkCaption).
class TMarkCaptionControl final : public TControl<std::string> {
 public:
  explicit TMarkCaptionControl(TfrmBigPanel& panel) : panel_(panel) {}
  std::string Value() const override;
  void SetValue(const std::string& caption) override;

 private:
  TfrmBigPanel& panel_;
};

class TNumberTextControl final : public TControl<std::string> {
 public:
  explicit TNumberTextControl(TfrmBigPanel& panel) : panel_(panel) {}
  std::string Value() const override;
  void SetValue(const std::string& text) override;

 private:
  TfrmBigPanel& panel_;
};

// Written once per beat with the position just played; reads back the last
// position shown.
class TShowBeatControl final : public TControl<int> {
 public:
  explicit TShowBeatControl(TfrmBigPanel& panel) : panel_(panel) {}
  int Value() const override;
  void SetValue(const int& position) override;

 private:
  TfrmBigPanel& panel_;
};

// The panel's always-on-top style.
class TPanelTopmostControl final : public TControl<bool> {
 public:
  explicit TPanelTopmostControl(TfrmBigPanel& panel) : panel_(panel) {}
  bool Value() const override;
  void SetValue(const bool& topmost) override;

 private:
  TfrmBigPanel& panel_;
};

}  // namespace zelmora
