#pragma once

class QWidget;

namespace zelmora {

// Gives `window` the focus as a window that the user asked for just now.
// On X11 the focus request carries the time of the last event the program
// saw; a request from before the user's last focus change is ignored by
// the server. When another program asks ours to come to the front, no such
// event has arrived for a while, so a fresh server time is fetched first
// (a property change on the window reports one) and the window activated
// once it is known. Elsewhere the window is simply activated.
void ActivateAsRequested(QWidget* window);

}  // namespace zelmora
