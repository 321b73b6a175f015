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
  // then wins the processor over ordinary work. Not a real-time class: the
  // yielding poll at the end of every beat would then keep ordinary
  // threads off its processor for the whole poll, the sound client's own
  // among them, and the output would run dry (measured: over a hundred
  // dropouts a minute instead of a few).
  constexpr int kAboveNormal = -5;
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  return setpriority(PRIO_PROCESS, thread, kAboveNormal) == 0;
#endif
}

}  // namespace zelmora
