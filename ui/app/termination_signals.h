#pragma once

#include <QObject>

class QSocketNotifier;

namespace zelmora {

// The signals a desktop, a terminal or a user ends a program with: SIGTERM
// (logout, shutdown, kill), SIGHUP (the terminal or the session went) and
// SIGINT (Ctrl+C). The first of them is reported on the user-interface
// thread, so that the program ends as its "Exit" does, saving its
// settings; one more while that shut-down runs ends the process at once.
// One per process, user-interface thread only; it handles the signals for
// its whole lifetime, so it should outlive the shut-down it asks for.
class TTerminationSignals : public QObject {
  Q_OBJECT

 public:
  explicit TTerminationSignals(QObject* parent = nullptr);
  ~TTerminationSignals() override;
  TTerminationSignals(const TTerminationSignals&) = delete;
  TTerminationSignals& operator=(const TTerminationSignals&) = delete;

 signals:
  void terminationRequested();

 private:
  void TakeSignal();

  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace zelmora
