#pragma once

#include <optional>
#include <vector>

namespace zelmora {

// A window's outer rectangle (frame included), in screen pixels.
struct TScreenRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Right() const { return Left + Width; }  // first column beyond the window
  int Bottom() const { return Top + Height; }
  bool operator==(const TScreenRect&) const = default;
};

struct TScreenPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TScreenPoint&) const = default;
};

// Whether the beat panel sits against a side of the main window, and where
// relative to the main window's top-left corner (TConfig::PanelDocked,
// PanelOffsetX, PanelOffsetY).
struct TDockState {
  bool Docked = false;
  int OffsetX = 0;
  int OffsetY = 0;
  bool operator==(const TDockState&) const = default;
};

// The panel docks when the gap between it and a side of the main window is
// strictly less than this, either way (overlapping counts as a gap too).
inline constexpr int kDockReach = 30;
// Undocked, the panel snaps to the edges of the work area within this.
inline constexpr int kScreenSnapDistance = 15;

struct TDockOutcome {
  int Left = 0;               // the left the panel takes; its top never changes
  bool SnapToScreen = false;  // not docked: the ordinary screen snapping applies
};

// The docking rule, run for every proposed new placement of the panel.
// A change that does not move the panel (`moves` false: a resize or a
// restacking only) leaves everything alone. Otherwise the left side of the
// main window is tried first, then the right side; only the horizontal gap
// counts, so the panel docks at any height. Docked, the offsets are the
// panel's place relative to the main window's top-left corner.
TDockOutcome DockingRule(const TScreenRect& proposed, bool moves, const TScreenRect& mainWindow,
                         TDockState& state);

// Where a docked, visible panel goes when the main window has moved to
// `mainTopLeft`; nothing when it stays where it is.
std::optional<TScreenPoint> FollowPosition(const TDockState& state, TScreenPoint mainTopLeft,
                                           bool panelVisible);

// Snaps each edge pair to the work area's edges when within `distance`
// (strictly less); the left and top edges win over the right and bottom.
TScreenPoint SnapToArea(const TScreenRect& window, const TScreenRect& workArea,
                        int distance = kScreenSnapDistance);

// Pulls a window fully onto a monitor without changing its size: an edge
// beyond the monitor's right (bottom) edge is brought back; a window larger
// than the monitor keeps its left (top) edge on it, so that its title bar
// can still be reached.
TScreenPoint FitOnMonitor(const TScreenRect& window, const TScreenRect& monitor);

// The monitor nearest to a window: the one it overlaps most, or, when it
// overlaps none, the one closest to it. Nothing for an empty list.
std::optional<TScreenRect> NearestMonitor(const TScreenRect& window,
                                          const std::vector<TScreenRect>& monitors);

}  // namespace zelmora
