#include "core/thread_priority.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#endif

#include <algorithm>

namespace zelmora {

bool RaiseCurrentThreadPriority() {
#if defined(_WIN32)
  return SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL) != 0;
#else
  // Round-robin real-time scheduling where the resource limits allow it
  // (RLIMIT_RTPRIO, as desktops grant to audio users, or a privileged
  // process), at a modest priority below the sound server's own threads.
  rlimit limit{};
  const bool limited = getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY;
  int priority = 10;
  if (limited && limit.rlim_cur > 0) {
    priority = std::min<int>(priority, static_cast<int>(limit.rlim_cur));
  }
  sched_param param{};
  param.sched_priority = priority;
  return pthread_setschedparam(pthread_self(), SCHED_RR, &param) == 0;
#endif
}

}  // namespace zelmora
