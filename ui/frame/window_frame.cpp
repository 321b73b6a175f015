#include "ui/frame/window_frame.h"

#include <QWidget>
#include <QWindow>

#include "ui/frame/window_rules.h"

namespace zelmora {
namespace {

// The frame as the native window has it now; none while the window is not
// shown (a hidden window has no frame of its own).
QMargins LiveFrameMargins(const QWidget& window) {
  const QWindow* native = window.windowHandle();
  if (native == nullptr || native->handle() == nullptr || !window.isVisible()) {
    return {};
  }
  return native->frameMargins();
}

}  // namespace

QMargins FrameMargins(const QWidget& window) {
  const QMargins live = LiveFrameMargins(window);
  if (!live.isNull()) {
    return live;
  }
  // The frame the widget learnt last, kept while the window is hidden.
  const QRect outer = window.frameGeometry();
  const QRect client = window.geometry();
  return {client.left() - outer.left(), client.top() - outer.top(), outer.right() - client.right(),
          outer.bottom() - client.bottom()};
}

QRect OuterGeometry(const QWidget& window) {
  const QMargins live = LiveFrameMargins(window);
  if (live.isNull()) {
    return window.frameGeometry();
  }
  // The native window's geometry is the one the window system reported
  // last; the widget's may not have caught up with it yet.
  return window.windowHandle()->geometry().marginsAdded(live);
}

void MoveOuterTo(QWidget& window, QPoint topLeft, QMargins likelyFrame) {
  // Where the compositor places every window, asking would be in vain.
  if (!PlatformPlacesWindows()) {
    return;
  }
  QMargins frame = FrameMargins(window);
  if (frame.isNull()) {
    frame = likelyFrame;
  }
  if (frame.isNull() && !window.testAttribute(Qt::WA_WState_Created)) {
    // Frame-inclusive: when the window is shown, a window manager puts
    // the frame's corner there.
    window.move(topLeft);
    return;
  }
  // By the client area, which a window manager takes as it is.
  window.setGeometry(QRect(topLeft + QPoint(frame.left(), frame.top()), window.size()));
}

QPoint CentredOver(const QRect& owner, QSize outerSize) {
  const QSize room = owner.size() - outerSize;
  return owner.topLeft() + QPoint(room.width() / 2, room.height() / 2);
}

}  // namespace zelmora

namespace zelmora {

void CentreOverOwner(QWidget& window) {
  const QWidget* owner =
      window.parentWidget() != nullptr ? window.parentWidget()->window() : nullptr;
  if (owner == nullptr) {
    return;
  }
  const QMargins ownerFrame = FrameMargins(*owner);
  QMargins frame = FrameMargins(window);
  if (frame.isNull()) {
    frame = ownerFrame;  // not framed yet: most likely framed alike
  }
  MoveOuterTo(window, CentredOver(OuterGeometry(*owner), window.size().grownBy(frame)), ownerFrame);
}

}  // namespace zelmora
