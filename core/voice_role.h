#pragma once

namespace zelmora {

// The three beat voices. Their values are also their slots in the mixer.
enum class TVoiceRole : int { Accent = 0, Regular = 1, Bell = 2 };

// Thread: any
constexpr int SlotOf(TVoiceRole role) {
  return static_cast<int>(role);
}

}  // namespace zelmora
