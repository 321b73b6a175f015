#include "core/thread_priority.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace zelmora {

bool RaiseCurrentThreadPriority() {
#if defined(_WIN32)
  return SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL) != 0;
#else
  // A raised nice value for this thread, which the system grants a
  // privileged process or one whose RLIMIT_NICE allows it: the scheduler
  // then wins the processor over ordinary work when it wakes to hand a
  // beat over. Not a real-time class, which would put it ahead of the
  // sound client's own thread that carries the audio to the server.
  constexpr int kAboveNormal = -5;
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  return setpriority(PRIO_PROCESS, thread, kAboveNormal) == 0;
#endif
}

}  // namespace zelmora
