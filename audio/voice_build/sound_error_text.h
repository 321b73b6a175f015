#pragma once

#include <cstdint>
#include <string>

namespace zelmora {

// Result codes of the audio output beyond those the mixer itself returns.
enum : std::uint32_t {
  kSoundGenericError = 0x80004005,
  kSoundOutOfMemory = 0x8007000E,
};

// The message shown for an audio result code; "Unrecognized Error" for a code
// without one of its own. Any thread.
std::string SoundErrorText(std::uint32_t code);

}  // namespace zelmora
