#include "ui/app/portal_hot_key.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QList>
#include <QRandomGenerator>

#include <utility>

#include "ui/main/error_box.h"

namespace zelmora {
namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString kShortcutId = QStringLiteral("start-stop");

// One shortcut as the portal takes it: (s a{sv}).
struct TPortalShortcut {
  QString Id;
  QVariantMap Options;
};

QDBusArgument& operator<<(QDBusArgument& argument, const TPortalShortcut& shortcut) {
  argument.beginStructure();
  argument << shortcut.Id << shortcut.Options;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TPortalShortcut& shortcut) {
  argument.beginStructure();
  argument >> shortcut.Id >> shortcut.Options;
  argument.endStructure();
  return argument;
}

QString NewToken() {
  return QStringLiteral("zelmora%1").arg(QRandomGenerator::global()->generate());
}

}  // namespace
}  // namespace zelmora

Q_DECLARE_METATYPE(zelmora::TPortalShortcut)

namespace zelmora {

std::unique_ptr<TPortalHotKey> TPortalHotKey::Create(std::function<void()> pressed) {
  if (!QDBusConnection::sessionBus().isConnected()) {
    return nullptr;
  }
  std::unique_ptr<TPortalHotKey> hotKey(new TPortalHotKey(std::move(pressed)));
  hotKey->Start();
  return hotKey;
}

TPortalHotKey::TPortalHotKey(std::function<void()> pressed) : pressed_(std::move(pressed)) {
  qDBusRegisterMetaType<TPortalShortcut>();
  qDBusRegisterMetaType<QList<TPortalShortcut>>();
}

void TPortalHotKey::Start() {
  // Ask for the interface's version first: a portal without global
  // shortcuts answers with an error, and then nothing more is done.
  QDBusMessage get = QDBusMessage::createMethodCall(
      kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get << kInterface << QStringLiteral("version");
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    call->deleteLater();
    if (!call->isError()) {
      OnVersion();
    }
  });
}

QString TPortalHotKey::RequestPath(const QString& token) const {
  QString sender = QDBusConnection::sessionBus().baseService();
  sender.remove(0, 1);  // the leading ':'
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

bool TPortalHotKey::WatchResponse(const QString& token, const char* slot) {
  // Subscribed before the call, so that a quick answer is not missed. D-Bus
  // signals can only be connected by the slot's signature.
  return QDBusConnection::sessionBus().connect(kService, RequestPath(token), kRequestInterface,
                                               QStringLiteral("Response"), this, slot);
}

void TPortalHotKey::OnVersion() {
  const QString token = NewToken();
  if (!WatchResponse(token, SLOT(OnSessionCreated(uint, QVariantMap)))) {
    return;
  }
  QDBusMessage create =
      QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CreateSession"));
  create << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("session_handle_token"), NewToken()}};
  QDBusConnection::sessionBus().asyncCall(create);
}

void TPortalHotKey::OnSessionCreated(uint response, const QVariantMap& results) {
  if (response != 0) {
    return;  // refused or cancelled
  }
  session_ = results.value(QStringLiteral("session_handle")).toString();
  if (session_.isEmpty()) {
    return;
  }
  QDBusConnection::sessionBus().connect(
      kService, kPath, kInterface, QStringLiteral("Activated"), this,
      SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));

  const QString token = NewToken();
  if (!WatchResponse(token, SLOT(OnShortcutsBound(uint, QVariantMap)))) {
    return;
  }
  const QList<TPortalShortcut> shortcuts{
      {kShortcutId,
       {{QStringLiteral("description"), QStringLiteral("Start or stop the metronome")},
        {QStringLiteral("preferred_trigger"), QStringLiteral("CTRL+ALT+space")}}}};
  QDBusMessage bind =
      QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("BindShortcuts"));
  bind << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts)
       << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
  QDBusConnection::sessionBus().asyncCall(bind);
}

void TPortalHotKey::OnShortcutsBound(uint response, const QVariantMap& /*results*/) {
  bound_ = response == 0;
}

void TPortalHotKey::OnActivated(const QDBusObjectPath& session, const QString& shortcut,
                                qulonglong /*timestamp*/, const QVariantMap& /*options*/) {
  if (session.path() == session_ && shortcut == kShortcutId && pressed_) {
    RunHandler(pressed_);
  }
}

}  // namespace zelmora
