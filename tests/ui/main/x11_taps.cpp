// Taps a key into an X window at even intervals, each press sent at its own
// moment of the monotonic clock: a user's steady taps. xdotool's delays
// add up the time its own work takes, a millisecond or two per key, which
// is enough to move a tapped tempo to the next whole number.
// Usage: x11_taps WINDOW KEYSYM COUNT INTERVAL_MS

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

void SendKey(Display* display, Window window, unsigned keycode, bool press) {
  XKeyEvent event{};
  event.type = press ? KeyPress : KeyRelease;
  event.display = display;
  event.window = window;
  event.root = DefaultRootWindow(display);
  event.subwindow = None;
  event.time = CurrentTime;
  event.same_screen = True;
  event.keycode = keycode;
  XSendEvent(display, window, True, press ? KeyPressMask : KeyReleaseMask,
             reinterpret_cast<XEvent*>(&event));
  XFlush(display);
}

void SleepUntil(const timespec& deadline) {
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

timespec After(timespec start, long long nanoseconds) {
  const long long total = start.tv_nsec + nanoseconds;
  start.tv_sec += static_cast<time_t>(total / 1000000000LL);
  start.tv_nsec = static_cast<long>(total % 1000000000LL);
  return start;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s WINDOW KEYSYM COUNT INTERVAL_MS\n", argv[0]);
    return 2;
  }
  const auto window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
  const KeySym keysym = XStringToKeysym(argv[2]);
  const int count = std::atoi(argv[3]);
  const long long interval = std::atoll(argv[4]) * 1000000LL;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr || keysym == NoSymbol) {
    std::fprintf(stderr, "cannot open the display or read the key %s\n", argv[2]);
    return 1;
  }
  const unsigned keycode = XKeysymToKeycode(display, keysym);
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (int i = 0; i < count; ++i) {
    SleepUntil(After(start, i * interval));
    SendKey(display, window, keycode, true);
    // Released a little later, as a finger lifts.
    SleepUntil(After(start, i * interval + 50000000LL));
    SendKey(display, window, keycode, false);
  }
  XCloseDisplay(display);
  return 0;
}
