#pragma once

#include "audio/beat_voice.h"
#include "core/control_binding.h"
#include "core/ticker_ports.h"

namespace zelmora {

// The beat voices of a run, set up before the scheduler starts.
struct TBeatVoices {
  TVoice AccentBuffer;
  TVoice RegularBuffer;
  TVoice BellBuffer;
  TVoice SubdivisionBuffer;
  TVoice LayerBuffer;

  // Voices on the slots of `mixer` (nullptr: no output, all empty).
  // Thread: ui
  static TBeatVoices On(TMixer* mixer) {
    return {TVoice(mixer, TVoiceRole::Accent), TVoice(mixer, TVoiceRole::Regular),
            TVoice(mixer, TVoiceRole::Bell), TVoice(mixer, TVoiceRole::Subdivision),
            TVoice(mixer, TVoiceRole::Layer)};
  }

  // Thread: any
  TVoice& For(TVoiceRole role) {
    switch (role) {
      case TVoiceRole::Accent:
        return AccentBuffer;
      case TVoiceRole::Regular:
        return RegularBuffer;
      case TVoiceRole::Subdivision:
        return SubdivisionBuffer;
      case TVoiceRole::Layer:
        return LayerBuffer;
      case TVoiceRole::Bell:
        break;
    }
    return BellBuffer;
  }
};

// The output as the tick scheduler plays it: the beat voices' mixer and
// its frame grid. Without a mixer (no output device) the grid runs on
// steady_clock at a nominal rate, heard at once, and nothing sounds, so
// the metronome still keeps its time and shows its beats. The voices are
// set up before the scheduler starts.
class TMixerBeatOutput final : public TBeatOutput {
 public:
  // Thread: ui
  explicit TMixerBeatOutput(TBeatVoices& voices) : voices_(voices) {}

  // Thread: ticker
  int FrameRate() const noexcept override;
  void Hold() noexcept override;
  void Release() noexcept override;
  std::int64_t EarliestFrame() const noexcept override;
  TimePoint HeardAt(std::int64_t frame) const noexcept override;
  std::chrono::nanoseconds RenderLead() const noexcept override;
  void PlayVoiceAtFrame(TVoiceRole voice, std::int64_t frame, int level,
                        std::uint64_t tag) noexcept override;
  // Thread: ticker, ui
  void Cancel(std::uint64_t tag) noexcept override;

 private:
  TMixer* Mixer() const noexcept { return voices_.AccentBuffer.Mixer(); }

  TBeatVoices& voices_;
};

// A voice's pan as the settings object sets it.
class TVoicePanControl final : public TControl<int> {
 public:
  // Thread: ui
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
