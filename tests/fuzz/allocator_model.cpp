// How the settings checks run under AddressSanitizer: a stored list tells
// Qt how many entries follow, and Qt asks for room for all of them before it
// reads one, carrying on without when the system refuses. The sanitizer's
// allocator would stop the program at any request bigger than memory
// instead; here it refuses as the system does, already from 1 GiB on, so that
// a claim that does fit in memory cannot make the sanitizer's bookkeeping
// fill it. Allocations through operator new still stop the program.

extern "C" const char* __asan_default_options();

extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:max_allocation_size_mb=1024";
}
