#pragma once

#include <string>

#include "audio/device/audio_device.h"
#include "core/control_binding.h"

namespace zelmora {

// The sound card as the settings object sees it: the name of the output it
// is to play on. Writing it moves the sound there without waiting.
class TOutputChoiceControl final : public TControl<std::string> {
 public:
  // Thread: ui
  explicit TOutputChoiceControl(TAudioDevice& device) : device_(device) {}

  // Thread: ui
  std::string Value() const override { return chosen_; }
  void SetValue(const std::string& value) override {
    chosen_ = value;
    device_.ChooseOutput(value);
  }

 private:
  TAudioDevice& device_;
  std::string chosen_;
};

}  // namespace zelmora
