#include "ui/app/hot_key.h"

#include <QGuiApplication>

#include <utility>

#include "ui/app/portal_hot_key.h"
#include "ui/app/x11_hot_key.h"

namespace zelmora {

std::unique_ptr<THotKey> RegisterHotKey(std::function<void()> pressed) {
  const QString platform = QGuiApplication::platformName();
  if (platform == QStringLiteral("xcb")) {
    return TX11HotKey::Create(std::move(pressed));
  }
  if (platform.startsWith(QStringLiteral("wayland"))) {
    return TPortalHotKey::Create(std::move(pressed));
  }
  return nullptr;
}

}  // namespace zelmora
