#include "core/meter_box.h"

#include <string>

namespace zelmora {

void ApplyMeterBoxChange(TConfig& config, TTransport& transport) {
  const std::string text = config.Controls.scmbMeterNum->Value();
  config.SetMeterText(text);
  if (config.BeatPattern.size() < transport.BeatIndex.load()) {
    transport.BeatIndex = 1;
  }
}

}  // namespace zelmora
