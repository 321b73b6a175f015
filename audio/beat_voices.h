#pragma once

#include "audio/beat_voice.h"
#include "core/control_binding.h"
#include "core/ticker_ports.h"

namespace zelmora {

// The three beat voices of a run. Set up on the user-interface thread
// before the scheduler starts; the voices' operations are thread-safe.
struct TBeatVoices {
  TVoice AccentBuffer;
  TVoice RegularBuffer;
  TVoice BellBuffer;

  // Voices on the slots of `mixer` (nullptr: no output, all empty).
  static TBeatVoices On(TMixer* mixer) {
    return {TVoice(mixer, kAccentSlot), TVoice(mixer, kRegularSlot), TVoice(mixer, kBellSlot)};
  }

  TVoice& For(TVoiceRole role) {
    switch (role) {
      case TVoiceRole::Accent:
        return AccentBuffer;
      case TVoiceRole::Regular:
        return RegularBuffer;
      case TVoiceRole::Bell:
        break;
    }
    return BellBuffer;
  }
};

// The voices as the tick scheduler drives them (scheduler thread).
class TTickerBeatVoices final : public TTickerVoices {
 public:
  explicit TTickerBeatVoices(TBeatVoices& voices) : voices_(voices) {}
  void SetVoiceVolume(TVoiceRole role, int volume) noexcept override {
    voices_.For(role).SetVoiceVolume(volume);
  }
  void PlayVoiceAt(TVoiceRole role, TimePoint t0) noexcept override {
    voices_.For(role).PlayVoiceAt(t0);
  }

 private:
  TBeatVoices& voices_;
};

// A voice's pan as the settings object sets it (user-interface thread).
class TVoicePanControl final : public TControl<int> {
 public:
  explicit TVoicePanControl(TVoice& voice) : voice_(voice) {}
  int Value() const override { return pan_; }
  void SetValue(const int& pan) override {
    pan_ = pan;
    voice_.SetVoicePan(pan);
  }

 private:
  TVoice& voice_;
  int pan_ = 0;
};

}  // namespace zelmora
