#pragma once

#include <span>
#include <string>
#include <vector>

namespace zelmora {

// One entry of the output list: what it shows, and the choice it stands for.
struct TOutputEntry {
  std::string Text;
  std::string Choice;
};

// The output list: the system default first, then every output found, in
// the sound library's order. A chosen output that was not found comes
// last, marked " (not found)", so the list shows what is stored (the
// default plays) and nothing is lost until the user picks another.
std::vector<TOutputEntry> OutputEntries(std::span<const std::string> found,
                                        const std::string& chosen);

}  // namespace zelmora
