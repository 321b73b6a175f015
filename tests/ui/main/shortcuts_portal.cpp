// A stand-in for the desktop portal's global shortcuts
// (org.freedesktop.portal.GlobalShortcuts, version 1) on a private session
// bus, as a Wayland desktop offers them: it grants every session and binding
// asked for, prints "bound SESSION" once a client has bound its shortcuts,
// and on each line "press ID" read from its standard input sends the
// Activated signal for shortcut ID of the last session bound, as the
// desktop does when the user presses the keys. Runs until its input ends.
// Usage: shortcuts_portal

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QDateTime>
#include <QSocketNotifier>
#include <QVariantMap>

#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// Where the answer to a request or a session of the client goes: the
// portal's documented scheme, the sender's unique name without the ':' and
// with '_' for '.'.
QString ObjectFor(const QString& kind, const QString& sender, const QString& token) {
  QString client = sender.mid(1);
  client.replace(QLatin1Char('.'), QLatin1Char('_'));
  return QStringLiteral("%1/%2/%3/%4").arg(kPath, kind, client, token);
}

class TPortal final : public QDBusVirtualObject {
 public:
  QString introspect(const QString& /*path*/) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QList<QVariant> args = message.arguments();
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
        message.member() == QLatin1String("Get") && args.size() == 2 &&
        args[0].toString() == kInterface && args[1].toString() == QLatin1String("version")) {
      connection.send(message.createReply(QVariant::fromValue(QDBusVariant(1U))));
      return true;
    }
    if (message.interface() != kInterface || args.isEmpty()) {
      return false;
    }
    const QVariantMap options = qdbus_cast<QVariantMap>(args.last());
    const QString request = ObjectFor(QStringLiteral("request"), message.service(),
                                      options.value(QStringLiteral("handle_token")).toString());
    QVariantMap results;
    if (message.member() == QLatin1String("CreateSession")) {
      session_ = ObjectFor(QStringLiteral("session"), message.service(),
                           options.value(QStringLiteral("session_handle_token")).toString());
      results.insert(QStringLiteral("session_handle"), session_);
    } else if (message.member() == QLatin1String("BindShortcuts")) {
      bound_ = args[0].value<QDBusObjectPath>().path();
      std::printf("bound %s\n", qPrintable(bound_));
      std::fflush(stdout);
    } else {
      return false;
    }
    connection.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response << 0U << results;
    connection.send(response);
    return true;
  }

  void Press(const QString& shortcut) const {
    QDBusMessage activated =
        QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("Activated"));
    activated << QVariant::fromValue(QDBusObjectPath(bound_)) << shortcut
              << static_cast<qulonglong>(QDateTime::currentMSecsSinceEpoch()) << QVariantMap{};
    QDBusConnection::sessionBus().send(activated);
  }

 private:
  QString session_;
  QString bound_;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  TPortal portal;
  if (!bus.registerVirtualObject(kPath, &portal, QDBusConnection::SingleNode) ||
      !bus.registerService(kService)) {
    std::fprintf(stderr, "shortcuts_portal: cannot serve %s: %s\n", qPrintable(kService),
                 qPrintable(bus.lastError().message()));
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  std::string pending;
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[256];
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) {
      QCoreApplication::quit();
      return;
    }
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      const QString line = QString::fromStdString(pending.substr(0, end));
      pending.erase(0, end + 1);
      if (line.startsWith(QLatin1String("press "))) {
        portal.Press(line.mid(6));
      }
    }
  });
  return QCoreApplication::exec();
}
