#include "ui/panel/practice_status.h"

#include <cstdio>
#include <vector>

namespace zelmora {
namespace {

// m:ss, the minutes as many as there are.
std::string Elapsed(std::int64_t ms) {
  const std::int64_t seconds = ms / 1000;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace

std::string PracticeStatusText(const TBeatShow& beat, int trainerTarget) {
  if (!beat.Practising) {
    return {};
  }
  std::vector<std::string> parts;
  if (beat.CountIn) {
    parts.emplace_back("count-in");
  } else {
    parts.push_back("bar " + std::to_string(beat.Bar));
  }
  if (beat.TrainerTempo != 0) {
    parts.push_back(std::to_string(beat.TrainerTempo) + " \u2192 " + std::to_string(trainerTarget) +
                    " bpm");
  } else if (beat.TrainerEndedByHand) {
    parts.emplace_back("trainer off: tempo set by hand");
  }
  if (!beat.CountIn) {
    parts.push_back(Elapsed(beat.PracticeMs));
  }
  if (beat.Silent) {
    parts.emplace_back("silent bar");
  }
  std::string text;
  for (const std::string& part : parts) {
    text += text.empty() ? part : " \u00b7 " + part;
  }
  return text;
}

}  // namespace zelmora
