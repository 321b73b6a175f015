#pragma once

#include <cstdint>

#include "audio/mixer.h"
#include "core/voice_role.h"

namespace zelmora {

// One beat voice (AccentBuffer, RegularBuffer, BellBuffer): a handle on a
// mixer slot. A voice without a mixer (no output device) is empty and
// accepts every operation silently. The handle itself is set up once
// before any other thread uses it.
class TVoice {
 public:
  // Thread: ui
  TVoice() = default;
  TVoice(TMixer* mixer, TVoiceRole role) : mixer_(mixer), slot_(SlotOf(role)) {}

  // Thread: any but audio
  std::uint32_t SetVoiceVolume(int volume) noexcept {
    return mixer_ ? mixer_->SetVoiceVolume(slot_, volume) : kSoundOk;
  }
  std::uint32_t SetVoicePan(int pan) noexcept {
    return mixer_ ? mixer_->SetVoicePan(slot_, pan) : kSoundOk;
  }
  std::uint32_t PlayVoice() noexcept { return mixer_ ? mixer_->PlayVoice(slot_) : kSoundOk; }
  // Thread: ui
  bool IsEmpty() const { return mixer_ == nullptr || !mixer_->HasSample(slot_); }

  // Thread: any
  TMixer* Mixer() const { return mixer_; }
  int MixerSlot() const { return slot_; }

 private:
  TMixer* mixer_ = nullptr;
  int slot_ = SlotOf(TVoiceRole::Accent);
};

}  // namespace zelmora
