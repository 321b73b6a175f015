#include "ui/prefs/output_entries.h"

#include <algorithm>

#include "core/config.h"

namespace zelmora {

std::vector<TOutputEntry> OutputEntries(std::span<const std::string> found,
                                        const std::string& chosen) {
  const std::string systemDefault(TConfig::kDefaultOutput);
  std::vector<TOutputEntry> entries{{systemDefault, systemDefault}};
  for (const std::string& name : found) {
    entries.push_back({name, name});
  }
  const bool listed = std::any_of(entries.begin(), entries.end(),
                                  [&chosen](const TOutputEntry& e) { return e.Choice == chosen; });
  if (!listed && !chosen.empty()) {
    entries.push_back({chosen + " (not found)", chosen});
  }
  return entries;
}

}  // namespace zelmora
