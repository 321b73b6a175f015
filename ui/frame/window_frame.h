#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace zelmora {

// A top-level window's outer rectangle (its frame included) and moves of
// it, read and made the same way whether or not a window manager adds a
// frame.
//
// QWidget::pos() and frameGeometry() use the frame that the widget learnt
// at its last move or resize; right after a window manager has framed a new
// window that is still none, and the position read is the client's. These
// read the frame from the native window each time instead, and a move of a
// framed window is asked for in client coordinates, which the window
// manager takes as they are.

// The frame's widths round the client area; none before the window is
// shown, and none without a window manager.
QMargins FrameMargins(const QWidget& window);

// The outer rectangle. Before the window is first shown: where it has been
// moved to, with the client size.
QRect OuterGeometry(const QWidget& window);

// Moves the window so that its outer top-left corner lies at `topLeft`.
// `likelyFrame` is the frame assumed for a window that has not been framed
// yet; without one, such a window is placed by its outer corner when it is
// shown.
void MoveOuterTo(QWidget& window, QPoint topLeft, QMargins likelyFrame = {});

// The outer top-left corner that centres a window of `outerSize` over the
// outer rectangle `owner` (halves rounded down).
QPoint CentredOver(const QRect& owner, QSize outerSize);

// Centres the window over its owner (its parent widget's window), outer
// rectangle over outer rectangle; a window not framed yet is taken to get
// a frame like its owner's.
void CentreOverOwner(QWidget& window);

}  // namespace zelmora
