#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace zelmora {

// Where a window of `size` stored at `stored` is shown: on the screen
// nearest to that place, pulled in so that it lies wholly on it. The right
// and bottom edges are pulled in first, then the left and top edges, so
// that a window larger than its screen keeps its top-left corner on it.
// `screens` are the screens' geometries; none leaves the place alone.
QPoint PullOntoNearestScreen(QPoint stored, QSize size, const std::vector<QRect>& screens);

}  // namespace zelmora
