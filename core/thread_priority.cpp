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

bool RaiseCurrentThreadPriority(TThreadUse use) {
#if defined(_WIN32)
  // The output's threads belong to the sound system there.
  return use == TThreadUse::BeatScheduler &&
         SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL) != 0;
#else
  // Real-time scheduling where the resource limits allow it (RLIMIT_RTPRIO,
  // as desktops grant to audio users, or a privileged process), at modest
  // priorities below the sound server's own threads: the output first
  // (first in, first out), the scheduler below it (round-robin).
  rlimit limit{};
  int ceiling = 15;
  if (getrlimit(RLIMIT_RTPRIO, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      limit.rlim_cur > 0) {
    ceiling = std::min<int>(ceiling, static_cast<int>(limit.rlim_cur));
  }
  sched_param param{};
  const bool output = use == TThreadUse::AudioOutput;
  param.sched_priority = output ? ceiling : std::max(1, std::min(10, ceiling - 1));
  return pthread_setschedparam(pthread_self(), output ? SCHED_FIFO : SCHED_RR, &param) == 0;
#endif
}

}  // namespace zelmora
