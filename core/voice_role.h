#pragma once

namespace zelmora {

// The beat voices: the three of every beat, then the practice tools'
// subdivision and layer clicks. Their values are also their slots in the
// mixer.
enum class TVoiceRole : int { Accent = 0, Regular = 1, Bell = 2, Subdivision = 3, Layer = 4 };

inline constexpr int kVoiceRoles = 5;

// Thread: any
constexpr int SlotOf(TVoiceRole role) {
  return static_cast<int>(role);
}

}  // namespace zelmora
