#include "tests/ui/main/practice_plan.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zelmora {
namespace {

std::optional<int> IntAfter(const std::string& arg, const std::string& prefix) {
  if (arg.rfind(prefix, 0) != 0) {
    return std::nullopt;
  }
  const std::string digits = arg.substr(prefix.size());
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::atoi(digits.c_str());
}

// "[COUNT*]PATTERN@BPM" appended to `bars`; false when it is not one.
bool AddBars(const std::string& arg, std::vector<TPlannedBar>& bars) {
  std::string text = arg;
  int count = 1;
  if (const auto star = text.find('*'); star != std::string::npos) {
    count = IntAfter(text.substr(0, star), "").value_or(0);
    text.erase(0, star + 1);
  }
  const auto at = text.find('@');
  if (count < 1 || at == 0 || at == std::string::npos) {
    return false;
  }
  TPlannedBar bar{text.substr(0, at), IntAfter(text.substr(at + 1), "").value_or(0)};
  const bool beats = bar.Pattern.find_first_not_of("Xx-") == std::string::npos;
  if (bar.Bpm <= 0 || !(beats || bar.End())) {
    return false;
  }
  bars.insert(bars.end(), static_cast<std::size_t>(count), bar);
  return true;
}

// Where the subdivision clicks lie in a beat, as shares of it: straight,
// or with 2 and 4 parts the second part of each pair at `swing` % of the
// pair.
std::vector<double> SubdivisionShares(int parts, int swing) {
  std::vector<double> shares;
  if (parts == 2 || parts == 4) {
    const double pair = 2.0 / parts;
    for (int first = 0; first < parts; first += 2) {
      if (first > 0) {
        shares.push_back(first / 2 * pair);
      }
      shares.push_back((first / 2 + swing / 100.0) * pair);
    }
    return shares;
  }
  for (int part = 1; part < parts; ++part) {
    shares.push_back(static_cast<double>(part) / parts);
  }
  return shares;
}

// The clicks of a bar that is not a gap, from `frame` on.
void AddBarClicks(const TPracticePlan& plan, std::size_t b, double frame, double beatFrames,
                  std::vector<TPlannedClick>& clicks) {
  const std::vector<double> shares = SubdivisionShares(plan.Subdivision, plan.Swing);
  const std::string& pattern = plan.Bars[b].Pattern;
  const std::size_t first = clicks.size();
  for (std::size_t beat = 0; beat < pattern.size(); ++beat) {
    const double start = frame + static_cast<double>(beat) * beatFrames;
    // The bell rings on the first beat of a bar of two or more, even a
    // silent one; a silent beat has no subdivision.
    const bool bell = beat == 0 && pattern.size() > 1;
    if (pattern[beat] == '-') {
      if (bell) {
        clicks.push_back({start, b, beat, TClickSound::None, true, false});
      }
      continue;
    }
    const TClickSound sound = pattern[beat] == 'X' ? TClickSound::Accent : TClickSound::Regular;
    clicks.push_back({start, b, beat, sound, bell, false});
    for (const double share : shares) {
      clicks.push_back(
          {start + share * beatFrames, b, beat, TClickSound::Subdivision, false, false});
    }
  }
  // Click k of the layer lies k / Layer of the bar after its start, with
  // whatever else sounds there.
  const double barFrames = static_cast<double>(pattern.size()) * beatFrames;
  for (int k = 0; k < plan.Layer; ++k) {
    const double at = frame + k * barFrames / plan.Layer;
    const auto same = std::find_if(
        clicks.begin() + static_cast<std::ptrdiff_t>(first), clicks.end(),
        [at](const TPlannedClick& click) { return std::abs(click.Frame - at) < 1e-6; });
    if (same != clicks.end()) {
      same->Layer = true;
    } else {
      const auto beat = static_cast<std::size_t>(k * static_cast<int>(pattern.size()) / plan.Layer);
      clicks.push_back({at, b, beat, TClickSound::None, false, true});
    }
  }
  std::stable_sort(
      clicks.begin() + static_cast<std::ptrdiff_t>(first), clicks.end(),
      [](const TPlannedClick& a, const TPlannedClick& z) { return a.Frame < z.Frame; });
}

}  // namespace

std::optional<TPracticePlan> ParsePracticePlan(const std::vector<std::string>& args) {
  TPracticePlan plan;
  for (const std::string& arg : args) {
    if (const auto parts = IntAfter(arg, "subdivision=")) {
      plan.Subdivision = *parts;
    } else if (const auto swing = IntAfter(arg, "swing=")) {
      plan.Swing = *swing;
    } else if (const auto layer = IntAfter(arg, "layer=")) {
      plan.Layer = *layer;
    } else if (!AddBars(arg, plan.Bars)) {
      return std::nullopt;
    }
  }
  const bool valid = plan.Subdivision >= 1 && plan.Subdivision <= 4 && plan.Swing >= 50 &&
                     plan.Swing <= 75 && plan.Layer >= 0 && plan.Layer <= 9 && !plan.Bars.empty();
  return valid ? std::optional(plan) : std::nullopt;
}

TPlannedGrid PlanGrid(const TPracticePlan& plan, double framesPerSecond) {
  TPlannedGrid grid;
  double frame = 0.0;
  for (std::size_t b = 0; b < plan.Bars.size(); ++b) {
    const TPlannedBar& bar = plan.Bars[b];
    const double beatFrames = 60.0 * framesPerSecond / bar.Bpm;
    grid.BarStarts.push_back(frame);
    if (bar.End()) {
      grid.Clicks.push_back({frame, b, 0, TClickSound::None, true, false});
      frame += beatFrames;
      continue;
    }
    if (!bar.Gap()) {
      AddBarClicks(plan, b, frame, beatFrames, grid.Clicks);
    }
    frame += static_cast<double>(bar.Pattern.size()) * beatFrames;
  }
  grid.BarStarts.push_back(frame);
  return grid;
}

}  // namespace zelmora
