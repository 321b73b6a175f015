#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zelmora {

// One output the sound library found: its name as the user knows it
// ("<host API>: <device name>") and the library's index for it.
struct TFoundOutput {
  std::string Name;
  int Index = -1;
};

// The index of the output to open for the choice `chosen`: the output of
// that name, or `defaultIndex` for the system default (TConfig's
// kDefaultOutput), an empty choice, or a name that is not found.
// Thread: any
int PickOutput(std::span<const TFoundOutput> found, std::string_view chosen, int defaultIndex);

// The name a user knows an output by.
// Thread: any
std::string OutputName(std::string_view hostApi, std::string_view device);

}  // namespace zelmora
