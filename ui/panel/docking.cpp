#include "ui/panel/docking.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace zelmora {
namespace {

bool WithinReach(int gap) {
  return -kDockReach < gap && gap < kDockReach;
}

std::int64_t OverlapArea(const TScreenRect& a, const TScreenRect& b) {
  const std::int64_t w = std::min(a.Right(), b.Right()) - std::max(a.Left, b.Left);
  const std::int64_t h = std::min(a.Bottom(), b.Bottom()) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance between two rectangles that do not overlap.
std::int64_t DistanceSquared(const TScreenRect& a, const TScreenRect& b) {
  const std::int64_t dx = std::max({0, b.Left - a.Right(), a.Left - b.Right()});
  const std::int64_t dy = std::max({0, b.Top - a.Bottom(), a.Top - b.Bottom()});
  return dx * dx + dy * dy;
}

}  // namespace

TDockOutcome DockingRule(const TScreenRect& proposed, bool moves, const TScreenRect& mainWindow,
                         TDockState& state) {
  if (!moves) {
    return {proposed.Left, false};
  }
  const int x = proposed.Left;
  const int w = proposed.Width;
  const int offsetY = proposed.Top - mainWindow.Top;
  if (WithinReach(x + w - mainWindow.Left)) {
    state = {true, -w, offsetY};
    return {mainWindow.Left - w, false};
  }
  if (WithinReach(x - mainWindow.Right())) {
    state = {true, mainWindow.Width, offsetY};
    return {mainWindow.Right(), false};
  }
  state.Docked = false;
  return {x, true};
}

std::optional<TScreenPoint> FollowPosition(const TDockState& state, TScreenPoint mainTopLeft,
                                           bool panelVisible) {
  if (!state.Docked || !panelVisible) {
    return std::nullopt;
  }
  return TScreenPoint{mainTopLeft.X + state.OffsetX, mainTopLeft.Y + state.OffsetY};
}

TScreenPoint SnapToArea(const TScreenRect& window, const TScreenRect& workArea, int distance) {
  TScreenPoint at{window.Left, window.Top};
  if (std::abs(window.Left - workArea.Left) < distance) {
    at.X = workArea.Left;
  } else if (std::abs(window.Right() - workArea.Right()) < distance) {
    at.X = workArea.Right() - window.Width;
  }
  if (std::abs(window.Top - workArea.Top) < distance) {
    at.Y = workArea.Top;
  } else if (std::abs(window.Bottom() - workArea.Bottom()) < distance) {
    at.Y = workArea.Bottom() - window.Height;
  }
  return at;
}

TScreenPoint FitOnMonitor(const TScreenRect& window, const TScreenRect& monitor) {
  TScreenPoint at{window.Left, window.Top};
  if (window.Right() > monitor.Right()) {
    at.X = monitor.Right() - window.Width;
  }
  if (at.X < monitor.Left) {
    at.X = monitor.Left;
  }
  if (window.Bottom() > monitor.Bottom()) {
    at.Y = monitor.Bottom() - window.Height;
  }
  if (at.Y < monitor.Top) {
    at.Y = monitor.Top;
  }
  return at;
}

std::optional<TScreenRect> NearestMonitor(const TScreenRect& window,
                                          const std::vector<TScreenRect>& monitors) {
  if (monitors.empty()) {
    return std::nullopt;
  }
  const TScreenRect* best = nullptr;
  std::int64_t bestOverlap = 0;
  for (const TScreenRect& monitor : monitors) {
    const std::int64_t overlap = OverlapArea(window, monitor);
    if (overlap > bestOverlap) {
      bestOverlap = overlap;
      best = &monitor;
    }
  }
  if (best != nullptr) {
    return *best;
  }
  std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
  for (const TScreenRect& monitor : monitors) {
    const std::int64_t distance = DistanceSquared(window, monitor);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = &monitor;
    }
  }
  return *best;
}

}  // namespace zelmora
