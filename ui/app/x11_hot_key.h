#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "ui/app/hot_key.h"

namespace zelmora {

// Ctrl+Alt+Space on X11: a passive grab of the key on every root window,
// once for each combination of the lock modifiers (Caps Lock, Num Lock),
// which X11 counts as modifiers too. The presses arrive as native events.
class TX11HotKey final : public THotKey, public QAbstractNativeEventFilter {
 public:
  // Nothing unless the application runs on xcb with a live connection.
  static std::unique_ptr<TX11HotKey> Create(std::function<void()> pressed);
  ~TX11HotKey() override;

  bool IsActive() const override { return !grabs_.empty(); }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  struct TGrab {
    std::uint32_t Root;
    std::uint8_t KeyCode;
    std::uint16_t Modifiers;
  };

  TX11HotKey(void* connection, std::function<void()> pressed);
  void GrabAll();
  void UngrabAll();
  bool IsOurs(std::uint32_t root, std::uint8_t keyCode, std::uint16_t state) const;

  void* connection_;  // xcb_connection_t, owned by Qt
  std::function<void()> pressed_;
  std::vector<TGrab> grabs_;
};

}  // namespace zelmora
