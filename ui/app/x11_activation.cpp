#include "ui/app/x11_activation.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace zelmora {
namespace {

// Long enough for the property's notification to come back through the
// event queue, which brings the server's time with it.
constexpr int kTimeRoundTripMs = 100;

bool RefreshServerTime(QWidget* window) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
    return false;
  }
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 != nullptr ? x11->connection() : nullptr;
  if (c == nullptr) {
    return false;
  }
  static const char kName[] = "_ZELMORA_TIME";
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(kName), kName), nullptr);
  if (atom == nullptr) {
    return false;
  }
  // Appending nothing changes nothing, yet the server reports the change,
  // with its time, to the window's owner.
  xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window->winId()),
                      atom->atom, XCB_ATOM_STRING, 8, 0, nullptr);
  xcb_flush(c);
  std::free(atom);
  return true;
}

}  // namespace

void ActivateAsRequested(QWidget* window) {
  if (!RefreshServerTime(window)) {
    window->activateWindow();
    return;
  }
  QTimer::singleShot(kTimeRoundTripMs, window, [target = QPointer<QWidget>(window)] {
    if (target != nullptr) {
      target->activateWindow();
    }
  });
}

}  // namespace zelmora
