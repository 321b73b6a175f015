#include "ui/app/single_instance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace zelmora {
namespace {

constexpr QByteArrayView kActivate = "activate\n";
constexpr int kAnswerMs = 3000;

}  // namespace

TSingleInstance::TSingleInstance(const QString& key, const QString& folder)
    : key_(key), folder_(folder), lock_(QDir(folder).filePath(key + QStringLiteral(".lock"))) {
  // The lock stays valid however long the program runs; a lock left by a
  // crashed program is recognised by its dead process.
  lock_.setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance() {
  if (server_) {
    server_->close();
  }
}

QString TSingleInstance::DefaultKey() {
  QString user;
#ifdef Q_OS_UNIX
  user = QString::number(::getuid());
#else
  user = qEnvironmentVariable("USERNAME");
#endif
  const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  return program + QLatin1Char('-') + user;
}

QString TSingleInstance::DefaultFolder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty() || !QDir().mkpath(folder)) {
    folder = QDir::tempPath();
  }
  return folder;
}

QString TSingleInstance::SocketName() const {
#ifdef Q_OS_WIN
  return key_;
#else
  return QDir(folder_).filePath(key_ + QStringLiteral(".socket"));
#endif
}

bool TSingleInstance::Acquire() {
  if (!lock_.tryLock(0)) {
    return false;
  }
  // A socket left by a crashed instance would refuse the new server.
  QLocalServer::removeServer(SocketName());
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  connect(server_.get(), &QLocalServer::newConnection, this, &TSingleInstance::OnConnection);
  server_->listen(SocketName());
  return true;
}

void TSingleInstance::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().contains(kActivate.toByteArray())) {
        emit activationRequested();
      }
    });
  }
}

bool TSingleInstance::ActivateRunning() {
  // The running instance may still be on its way to listening.
  const QDeadlineTimer deadline(kAnswerMs);
  while (!deadline.hasExpired()) {
    QLocalSocket socket;
    socket.connectToServer(SocketName());
    if (socket.waitForConnected(int(deadline.remainingTime()))) {
      socket.write(kActivate.toByteArray());
      const bool sent = socket.waitForBytesWritten(int(deadline.remainingTime()));
      socket.disconnectFromServer();
      return sent;
    }
    QThread::msleep(50);
  }
  return false;
}

}  // namespace zelmora
