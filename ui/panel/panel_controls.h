#pragma once

#include "core/control_binding.h"

namespace zelmora {

class TfrmBigPanel;

// The adapter through which the settings object reaches the beat panel (see
// TBinding). Owned by the panel, user-interface thread only.

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
