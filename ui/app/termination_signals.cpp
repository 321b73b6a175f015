#include "ui/app/termination_signals.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zelmora {
namespace {

#ifdef Q_OS_UNIX
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The handler may only touch these: a signal can come at any moment.
int gWakeSockets[2] = {-1, -1};
std::atomic<int> gSignalsTaken{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnTerminationSignal(int signal) {
  if (gSignalsTaken.fetch_add(1) > 0) {
    // The shut-down the first one asked for is taking too long for whoever
    // sends another: end as the signal's own default does.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  const char byte = 1;
  // Non-blocking; the byte only wakes the user-interface thread.
  [[maybe_unused]] const ssize_t written = write(gWakeSockets[0], &byte, 1);
}
#endif

}  // namespace

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent) {
#ifdef Q_OS_UNIX
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, gWakeSockets) != 0) {
    return;  // the signals keep their default: the program ends unsaved
  }
  notifier_ = new QSocketNotifier(gWakeSockets[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::TakeSignal);
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals) {
    sigaction(signal, &action, nullptr);
  }
#endif
}

TTerminationSignals::~TTerminationSignals() {
#ifdef Q_OS_UNIX
  if (notifier_ == nullptr) {
    return;
  }
  for (const int signal : kSignals) {
    std::signal(signal, SIG_DFL);
  }
  delete notifier_;
  close(gWakeSockets[0]);
  close(gWakeSockets[1]);
  gWakeSockets[0] = gWakeSockets[1] = -1;
  gSignalsTaken.store(0);
#endif
}

void TTerminationSignals::TakeSignal() {
#ifdef Q_OS_UNIX
  char bytes[16];
  while (read(gWakeSockets[1], bytes, sizeof bytes) > 0) {
  }
#endif
  emit terminationRequested();
}

}  // namespace zelmora
