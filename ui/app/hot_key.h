#pragma once

#include <functional>
#include <memory>

namespace zelmora {

// The system-wide hot key Ctrl+Alt+Space, which starts and stops the
// metronome whichever program has the focus. Registered once at start-up
// and given up with this object. Where the platform offers no way, or
// another program already holds the combination, it silently does nothing.
class THotKey {
 public:
  virtual ~THotKey() = default;
  // Whether presses can arrive (the registration went through, as far as
  // the platform tells).
  virtual bool IsActive() const = 0;
};

// Picks the way the running platform offers: a key grab on X11, the
// desktop portal's global shortcuts on Wayland. `pressed` runs on the
// user-interface thread for each press.
std::unique_ptr<THotKey> RegisterHotKey(std::function<void()> pressed);

}  // namespace zelmora
