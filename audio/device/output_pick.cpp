#include "audio/device/output_pick.h"

#include <algorithm>

namespace zelmora {

int PickOutput(std::span<const TFoundOutput> found, std::string_view chosen, int defaultIndex) {
  const auto match = std::find_if(found.begin(), found.end(), [chosen](const TFoundOutput& output) {
    return output.Name == chosen;
  });
  return match != found.end() ? match->Index : defaultIndex;
}

std::string OutputName(std::string_view hostApi, std::string_view device) {
  std::string name(hostApi);
  name += ": ";
  name += device;
  return name;
}

}  // namespace zelmora
