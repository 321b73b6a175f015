#pragma once

#include <QPoint>
#include <QRect>

namespace zelmora {

// Where a window being dragged to `frame` settles: an edge that comes
// within `distance` pixels of the same edge of the work area `area` (from
// inside or outside) snaps onto it. Left and top win over right and bottom
// when the window is nearly as large as the area.
QPoint SnapToWorkArea(const QRect& frame, const QRect& area, int distance = 15);

}  // namespace zelmora
