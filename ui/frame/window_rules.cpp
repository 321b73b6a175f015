#include "ui/frame/window_rules.h"

#include <QGuiApplication>
#include <QString>
#include <QWidget>
#include <QWindow>

namespace zelmora {

bool PlatformPlacesWindows() {
  const QString platform = QGuiApplication::platformName();
  return platform == QLatin1String("xcb") || platform == QLatin1String("windows") ||
         platform == QLatin1String("cocoa") || platform == QLatin1String("offscreen");
}

bool StaysOnTop(const QWidget& window) {
  return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void SetStaysOnTop(QWidget& window, bool topmost) {
  if (topmost == StaysOnTop(window)) {
    return;
  }
  const Qt::WindowFlags flags = window.windowFlags().setFlag(Qt::WindowStaysOnTopHint, topmost);
  if (QWindow* native = window.windowHandle()) {
    window.overrideWindowFlags(flags);
    native->setFlags(flags);
  } else {
    window.setWindowFlags(flags);
  }
}

}  // namespace zelmora
