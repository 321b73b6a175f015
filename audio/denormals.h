#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace zelmora {

// Numbers too small to be normal floats (a fading voice's gain ramp ends
// among them) cost the processor up to a hundred times as much as normal
// ones: while one of these lives, the thread flushes them to zero, both as
// results and as operands. Restores the thread's mode when it goes. It
// changes the calling thread's floating-point mode only.
class TDenormalsFlushed {
 public:
#if defined(__SSE__) || defined(__x86_64__)
  // Thread: any
  TDenormalsFlushed() noexcept : saved_(_mm_getcsr()) {
    constexpr unsigned kFlushToZero = 0x8000;
    constexpr unsigned kDenormalsAreZero = 0x0040;
    _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero);
  }
  ~TDenormalsFlushed() {
    _mm_setcsr(saved_);
  }
#else
  // Thread: any
  TDenormalsFlushed() noexcept = default;
#endif
  TDenormalsFlushed(const TDenormalsFlushed&) = delete;
  TDenormalsFlushed& operator=(const TDenormalsFlushed&) = delete;

 private:
#if defined(__SSE__) || defined(__x86_64__)
  unsigned saved_;
#endif
};

}  // namespace zelmora
