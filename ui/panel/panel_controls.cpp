#include "ui/panel/panel_controls.h"

#include "ui/panel/big_panel.h"

namespace zelmora {

std::uint32_t TMarkColorControl::Value() const {
  return panel_.MarkColor();
}
void TMarkColorControl::SetValue(const std::uint32_t& rgb) {
  panel_.SetMarkColor(rgb);
}

std::string TMarkCaptionControl::Value() const {
  return MarkCaption(panel_.Mark());
}
void TMarkCaptionControl::SetValue(const std::string& caption) {
  panel_.SetMark(MarkFromCaption(caption));
}

std::string TNumberTextControl::Value() const {
  return panel_.NumberText();
}
void TNumberTextControl::SetValue(const std::string& text) {
  panel_.SetNumberText(text);
}

int TShowBeatControl::Value() const {
  return panel_.LastPosition();
}
void TShowBeatControl::SetValue(const int& position) {
  panel_.ShowBeat(position);
}

bool TPanelTopmostControl::Value() const {
  return panel_.StaysOnTop();
}
void TPanelTopmostControl::SetValue(const bool& topmost) {
  panel_.SetStaysOnTop(topmost);
}

}  // namespace zelmora
