#pragma once

class QWidget;

namespace zelmora {

// What the program may do with its own top-level windows, and how.

// Whether this platform lets an application place its windows (X11,
// Windows, macOS, offscreen); Wayland does not, and the others are not
// known to.
bool PlatformPlacesWindows();

// The window's always-on-top style. Setting it keeps a shown window shown:
// QWidget::setWindowFlags would re-create the native window and hide it in
// between.
bool StaysOnTop(const QWidget& window);
void SetStaysOnTop(QWidget& window, bool topmost);

}  // namespace zelmora
