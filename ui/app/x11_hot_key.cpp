#include "ui/app/x11_hot_key.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <utility>

#include "ui/main/error_box.h"

namespace zelmora {
namespace {

constexpr std::uint16_t kHotModifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;  // Ctrl+Alt
// Caps Lock and Num Lock (Mod2 on practically every keyboard map).
constexpr std::uint16_t kLockModifiers = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;
// Modifiers that make a different combination (Shift, Super, ...).
constexpr std::uint16_t kOtherModifiers =
    XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

xcb_connection_t* Connection(void* connection) {
  return static_cast<xcb_connection_t*>(connection);
}

}  // namespace

std::unique_ptr<TX11HotKey> TX11HotKey::Create(std::function<void()> pressed) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
    return nullptr;
  }
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr ||
      xcb_connection_has_error(x11->connection()) != 0) {
    return nullptr;
  }
  std::unique_ptr<TX11HotKey> hotKey(new TX11HotKey(x11->connection(), std::move(pressed)));
  hotKey->GrabAll();
  QCoreApplication::instance()->installNativeEventFilter(hotKey.get());
  return hotKey;
}

TX11HotKey::TX11HotKey(void* connection, std::function<void()> pressed)
    : connection_(connection), pressed_(std::move(pressed)) {}

TX11HotKey::~TX11HotKey() {
  if (QCoreApplication::instance() != nullptr) {
    QCoreApplication::instance()->removeNativeEventFilter(this);
  }
  UngrabAll();
}

void TX11HotKey::GrabAll() {
  xcb_connection_t* c = Connection(connection_);
  xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
  if (symbols == nullptr) {
    return;
  }
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, XK_space);
  xcb_key_symbols_free(symbols);
  if (codes == nullptr) {
    return;
  }
  static constexpr std::uint16_t kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                    XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
  bool refused = false;
  for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(c));
       screen.rem > 0 && !refused; xcb_screen_next(&screen)) {
    const xcb_window_t root = screen.data->root;
    for (const xcb_keycode_t* code = codes; *code != XCB_NO_SYMBOL && !refused; ++code) {
      for (const std::uint16_t locks : kLockVariants) {
        const auto modifiers = static_cast<std::uint16_t>(kHotModifiers | locks);
        // Not owner_events: the presses come as events on the root window even
        // when one of our windows has the focus, so the key map never sees them.
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            c, 0, root, modifiers, *code, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
          // Another program holds the combination: then the hot key is
          // theirs, and ours does nothing.
          std::free(error);
          refused = true;
          break;
        }
        grabs_.push_back({root, *code, modifiers});
      }
    }
  }
  std::free(codes);
  if (refused) {
    UngrabAll();
  }
}

void TX11HotKey::UngrabAll() {
  xcb_connection_t* c = Connection(connection_);
  if (grabs_.empty() || xcb_connection_has_error(c) != 0) {
    grabs_.clear();
    return;
  }
  for (const TGrab& grab : grabs_) {
    xcb_ungrab_key(c, grab.KeyCode, grab.Root, grab.Modifiers);
  }
  xcb_flush(c);
  grabs_.clear();
}

bool TX11HotKey::IsOurs(std::uint32_t root, std::uint8_t keyCode, std::uint16_t state) const {
  if ((state & (kHotModifiers | kOtherModifiers)) != kHotModifiers) {
    return false;
  }
  const auto locks = static_cast<std::uint16_t>(state & kLockModifiers);
  for (const TGrab& grab : grabs_) {
    if (grab.Root == root && grab.KeyCode == keyCode && grab.Modifiers == (kHotModifiers | locks)) {
      return true;
    }
  }
  return false;
}

bool TX11HotKey::nativeEventFilter(const QByteArray& eventType, void* message,
                                   qintptr* /*result*/) {
  if (eventType != "xcb_generic_event_t" || grabs_.empty()) {
    return false;
  }
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  const std::uint8_t type = event->response_type & 0x7F;
  if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
    return false;
  }
  // Key press and release events share one layout.
  const auto* key = static_cast<const xcb_key_press_event_t*>(message);
  if (key->event != key->root || !IsOurs(key->root, key->detail, key->state)) {
    return false;
  }
  if (type == XCB_KEY_PRESS && pressed_) {
    RunHandler(pressed_);
  }
  return true;  // the grab's own events; nobody else wants them
}

}  // namespace zelmora
