#pragma once

#include <functional>
#include <utility>

namespace zelmora {

// Ends something when it goes: a control's binding, a listener's
// registration. Whoever holds it decides how long the link lasts, and the
// other side may go first (the ending then does nothing), so no unbind list
// and no order of teardown has to be kept by hand.
//
// Thread: ui (the thread that made it)
class [[nodiscard]] TScope {
 public:
  TScope() = default;
  explicit TScope(std::function<void()> end) : end_(std::move(end)) {}
  ~TScope() { End(); }
  TScope(TScope&& other) noexcept : end_(std::exchange(other.end_, nullptr)) {}
  TScope& operator=(TScope&& other) noexcept {
    if (this != &other) {
      End();
      end_ = std::exchange(other.end_, nullptr);
    }
    return *this;
  }
  TScope(const TScope&) = delete;
  TScope& operator=(const TScope&) = delete;

  // Ends the link now; the scope is empty afterwards.
  void End() {
    if (auto end = std::exchange(end_, nullptr)) {
      end();
    }
  }

 private:
  std::function<void()> end_;
};

}  // namespace zelmora
