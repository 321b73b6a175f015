#pragma once

#include <cstdio>
#include <string>

#include "audio/device/audio_device.h"

namespace zelmora {

// Prints every output the open device found ("output: NAME"), and whether
// `wanted` is among them (else says so).
inline bool ListOutputsFinding(const TAudioDevice& device, const std::string& wanted) {
  bool found = false;
  for (const std::string& name : device.OutputNames()) {
    std::printf("output: %s\n", name.c_str());
    found = found || name == wanted;
  }
  if (!found) {
    std::printf("no output \"%s\" here\n", wanted.c_str());
  }
  return found;
}

}  // namespace zelmora
