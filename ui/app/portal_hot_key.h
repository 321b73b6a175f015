#pragma once

#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

#include "ui/app/hot_key.h"

namespace zelmora {

// Ctrl+Alt+Space on Wayland, where no application may grab keys: the
// desktop portal's GlobalShortcuts interface binds it for us (the desktop
// may ask the user to confirm, or let them pick another combination).
// Everything is asynchronous; when the portal is missing or refuses, the
// hot key stays inactive without a word.
class TPortalHotKey final : public QObject, public THotKey {
  Q_OBJECT

 public:
  // Nothing when there is no session bus.
  static std::unique_ptr<TPortalHotKey> Create(std::function<void()> pressed);

  bool IsActive() const override { return bound_; }

 private slots:
  void OnSessionCreated(uint response, const QVariantMap& results);
  void OnShortcutsBound(uint response, const QVariantMap& results);
  void OnActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong timestamp,
                   const QVariantMap& options);

 private:
  void OnVersion();
  explicit TPortalHotKey(std::function<void()> pressed);
  void Start();
  // The object path of a request the portal will answer, for a token of ours.
  QString RequestPath(const QString& token) const;
  bool WatchResponse(const QString& token, const char* slot);

  std::function<void()> pressed_;
  QString session_;
  bool bound_ = false;
};

}  // namespace zelmora
