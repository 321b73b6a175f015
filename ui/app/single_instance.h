#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace zelmora {

// One running program per user. The first start takes a lock file and
// listens on a local socket, both named after the program file and the
// user; a later start finds the lock taken, asks the running program
// through the socket to come to the front, and ends.
class TSingleInstance : public QObject {
  Q_OBJECT

 public:
  // `key` names the lock and the socket; the default is the program file's
  // name and the user.
  explicit TSingleInstance(const QString& key = DefaultKey(),
                           const QString& folder = DefaultFolder());
  ~TSingleInstance() override;

  // True when this is the only instance: it now holds the lock and
  // listens for later starts.
  bool Acquire();
  // Asks the running instance to come to the front; false when it did not
  // answer within a few seconds.
  bool ActivateRunning();

  static QString DefaultKey();
  // The user's runtime folder, or the temporary folder.
  static QString DefaultFolder();

 signals:
  // A later start asked this instance to come to the front.
  void activationRequested();

 private:
  QString SocketName() const;
  void OnConnection();

  QString key_;
  QString folder_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace zelmora
