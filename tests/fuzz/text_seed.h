#pragma once

#include <string>

namespace zelmora {

// A seed input of a text fuzzer (any bytes), with a file name.
struct TTextSeed {
  std::string name;
  std::string text;
};

}  // namespace zelmora
