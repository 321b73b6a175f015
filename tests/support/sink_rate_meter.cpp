// Reads a raw mono 16-bit stream on standard input until it ends and prints
// the frames per steady_clock second it delivered, as one number.
// Usage: sink_rate_meter NOMINAL_RATE [ARRIVALS_FILE]
// ARRIVALS_FILE, when given, receives every read as "frames ns" lines.

#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "tests/support/sink_rate.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s NOMINAL_RATE [ARRIVALS_FILE]\n", argv[0]);
    return 2;
  }
  const double nominal = std::atof(argv[1]);
  std::FILE* dump = argc > 2 ? std::fopen(argv[2], "w") : nullptr;

  zelmora::TArrivalRate rate;
  std::array<char, 1 << 16> buffer{};
  std::int64_t bytes = 0;
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
    if (got <= 0) {
      break;
    }
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    bytes += got;
    rate.Add(bytes / 2, ns);
    if (dump != nullptr) {
      std::fprintf(dump, "%lld %lld\n", static_cast<long long>(bytes / 2),
                   static_cast<long long>(ns));
    }
  }
  if (dump != nullptr) {
    std::fclose(dump);
  }
  const auto fps = rate.FramesPerSecond(nominal);
  if (!fps) {
    std::fprintf(stderr, "sink_rate_meter: too short a stream to measure\n");
    return 1;
  }
  std::printf("%.4f\n", *fps);
  return 0;
}
