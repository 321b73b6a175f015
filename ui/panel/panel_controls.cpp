#include "ui/panel/panel_controls.h"

#include "ui/frame/window_rules.h"
#include "ui/panel/big_panel.h"

namespace zelmora {

bool TPanelTopmostControl::Value() const {
  return StaysOnTop(panel_);
}
void TPanelTopmostControl::SetValue(const bool& topmost) {
  SetStaysOnTop(panel_, topmost);
}

}  // namespace zelmora
