#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/output_clock.h"
#include "audio/play_requests.h"
#include "audio/voice_sample.h"

namespace zelmora {

// Result codes of the voice operations, in the values the rest of the
// program and its messages use.
enum : std::uint32_t {
  kSoundOk = 0x00000000,
  kSoundInvalidParam = 0x80070057,
  kSoundAllocated = 0x8878000A,
  kSoundBadFormat = 0x88780064,
};

// Mixes the beat voices into the output. Every start is placed on the exact
// output frame that lies Latency() after the steady_clock time it asks for,
// so two starts Δ apart come out Δ apart, whatever the block size.
//
// Threads:
// - SetVoiceVolume, SetVoicePan, PlayVoice, PlayVoiceAt: any thread, any
//   time; lock-free and allocation-free.
// - SetVoiceSample, CollectRetired, SetLatency: the one control thread (the
//   user-interface thread), never the audio thread.
// - Render: the audio thread (the output's callback) only; noexcept, no
//   locks, no allocation, no freeing.
// A replaced sample is freed by CollectRetired on the control thread once
// two blocks have been rendered since the swap, or at destruction, which
// must come after the output has stopped calling Render.
class TMixer {
 public:
  static constexpr int kVoices = 3;
  using Clock = std::chrono::steady_clock;

  explicit TMixer(int sampleRate);
  ~TMixer();
  TMixer(const TMixer&) = delete;
  TMixer& operator=(const TMixer&) = delete;

  int SampleRate() const { return sampleRate_; }

  // How long after its requested time a voice sounds. Set by the output when
  // it opens, before it renders.
  void SetLatency(std::chrono::nanoseconds latency);
  std::chrono::nanoseconds Latency() const;

  // Level in hundredths of a decibel; takes effect at once, with a ramp of
  // about a millisecond on a sounding voice so that it does not click.
  std::uint32_t SetVoiceVolume(int voice, int volume) noexcept;
  // Pan in hundredths of a decibel (-10000 left .. 10000 right).
  std::uint32_t SetVoicePan(int voice, int pan) noexcept;
  // Starts the voice Latency() after now, or after `when`. A voice that is
  // still sounding at that frame goes on and is not restarted; one that has
  // ended starts again from the beginning.
  std::uint32_t PlayVoice(int voice) noexcept;
  std::uint32_t PlayVoiceAt(int voice, Clock::time_point when) noexcept;

  // Installs a voice's new sound (nullptr empties the voice). The new voice
  // starts silent at level 0 and pan 0; a sounding old one fades out.
  void SetVoiceSample(int voice, std::unique_ptr<TVoiceSample> sample);
  bool HasSample(int voice) const;
  // Frees replaced samples the audio thread can no longer be using.
  void CollectRetired();

  // Renders one block of interleaved stereo frames. firstFrameNs is the
  // steady_clock time (ns since its epoch) at which the block's first frame
  // is reported to reach the converter, calledNs when the driver asked for
  // the block; `doubtful` says the report may be wrong (the driver gave none
  // and firstFrameNs is a guess, or the output ran dry just before this
  // block).
  void Render(float* out, int frames, double firstFrameNs, double calledNs,
              bool doubtful = false) noexcept;

  // Diagnostics, any thread.
  std::uint64_t BlocksRendered() const { return blocksDone_.load(std::memory_order_acquire); }
  std::uint64_t LateStarts() const { return lateStarts_.load(std::memory_order_relaxed); }
  int ClockRestarts() const { return clockRestarts_.load(std::memory_order_relaxed); }

 private:
  struct TShared {
    std::atomic<TVoiceSample*> sample{nullptr};
    std::atomic<int> volume{0};
    std::atomic<int> pan{0};
    TPlayRequests requests;
  };
  // Owned by the audio thread.
  struct TPlayback {
    const TVoiceSample* sample = nullptr;
    std::size_t position = 0;
    bool playing = false;
    float gainLeft = 1.0F;
    float gainRight = 1.0F;
  };
  struct TRetired {
    std::unique_ptr<TVoiceSample> sample;
    std::uint64_t blocksAtSwap;
  };

  void RenderVoice(TPlayback& playback, float* out, int from, int to, float targetLeft,
                   float targetRight) noexcept;
  void FadeOut(const TPlayback& playback, float* out, int frames) noexcept;

  const int sampleRate_;
  const float rampCoefficient_;
  std::atomic<std::int64_t> latencyNs_{0};
  std::array<TShared, kVoices> shared_;
  std::array<TPlayback, kVoices> playback_;
  TOutputClock clock_;
  std::int64_t framesRendered_ = 0;
  std::atomic<std::uint64_t> blocksDone_{0};
  std::atomic<std::uint64_t> lateStarts_{0};
  std::atomic<int> clockRestarts_{0};
  std::array<std::unique_ptr<TVoiceSample>, kVoices> owned_;
  std::vector<TRetired> retired_;
};

}  // namespace zelmora
