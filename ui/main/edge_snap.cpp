#include "ui/main/edge_snap.h"

#include <cstdlib>

namespace zelmora {
namespace {

// The new start of a span [start, start + length) snapped to [low, high).
int Snap(int start, int length, int low, int high, int distance) {
  if (std::abs(start - low) <= distance) {
    return low;
  }
  if (std::abs(start + length - high) <= distance) {
    return high - length;
  }
  return start;
}

}  // namespace

QPoint SnapToWorkArea(const QRect& frame, const QRect& area, int distance) {
  return {Snap(frame.x(), frame.width(), area.x(), area.x() + area.width(), distance),
          Snap(frame.y(), frame.height(), area.y(), area.y() + area.height(), distance)};
}

}  // namespace zelmora
