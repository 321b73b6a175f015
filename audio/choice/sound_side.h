#pragma once

namespace zelmora {

// The two beat sounds the user chooses. The bell has no choice.
enum class TSoundSide { Accent, Regular };

}  // namespace zelmora
