#include "ui/app/placement.h"

#include <cstdint>
#include <limits>

namespace zelmora {
namespace {

// Squared distance from a point to a rectangle; 0 inside it.
std::int64_t DistanceSquared(const QRect& box, const QPoint& point) {
  const auto gap = [](int value, int low, int high) -> std::int64_t {
    if (value < low) {
      return std::int64_t{low} - value;
    }
    if (value > high) {
      return std::int64_t{value} - high;
    }
    return 0;
  };
  const std::int64_t dx = gap(point.x(), box.left(), box.right());
  const std::int64_t dy = gap(point.y(), box.top(), box.bottom());
  return dx * dx + dy * dy;
}

}  // namespace

QPoint PullOntoNearestScreen(QPoint stored, QSize size, const std::vector<QRect>& screens) {
  if (screens.empty()) {
    return stored;
  }
  // The screen nearest to the window's centre, as the system picks the
  // monitor for a window.
  const QPoint centre = QRect(stored, size).center();
  const QRect* nearest = &screens.front();
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const QRect& screen : screens) {
    const std::int64_t distance = DistanceSquared(screen, centre);
    if (distance < best) {
      best = distance;
      nearest = &screen;
    }
  }
  QPoint place = stored;
  if (place.x() + size.width() > nearest->x() + nearest->width()) {
    place.setX(nearest->x() + nearest->width() - size.width());
  }
  if (place.x() < nearest->x()) {
    place.setX(nearest->x());
  }
  if (place.y() + size.height() > nearest->y() + nearest->height()) {
    place.setY(nearest->y() + nearest->height() - size.height());
  }
  if (place.y() < nearest->y()) {
    place.setY(nearest->y());
  }
  return place;
}

}  // namespace zelmora
