#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "audio/output_clock.h"
#include "audio/play_requests.h"
#include "audio/voice_sample.h"
#include "core/voice_role.h"

namespace zelmora {

// Result codes of the voice operations, in the values the rest of the
// program and its messages use.
enum : std::uint32_t {
  kSoundOk = 0x00000000,
  kSoundInvalidParam = 0x80070057,
  kSoundAllocated = 0x8878000A,
  kSoundBadFormat = 0x88780064,
};

// Mixes the beat voices into the output. The output's frames are counted
// from 0; a start asked for on a frame begins exactly on that frame, so
// starts placed by counting frames come out exactly that far apart,
// whatever the block size. A start asked for "now" begins on the first
// frame of the next block.
//
// The calls of the other threads are lock-free and allocation-free, except
// that a start or a hold while the output is paused calls the wake handler,
// which blocks until the output runs again. Render takes no lock and
// allocates and frees nothing: a replaced sample is freed by
// CollectRetired (SetVoiceSample calls it) once two blocks have been
// rendered since the swap, or at destruction, which must come after the
// output has stopped calling Render.
class TMixer {
 public:
  static constexpr int kVoices = kVoiceRoles;
  using Clock = std::chrono::steady_clock;

  // Thread: control
  explicit TMixer(int sampleRate);
  ~TMixer();
  TMixer(const TMixer&) = delete;
  TMixer& operator=(const TMixer&) = delete;

  // Thread: any
  int SampleRate() const { return sampleRate_; }

  // How long before it is heard a frame may be rendered (the output's
  // latency and a block). Set by the output before it renders.
  // Thread: control
  void SetRenderLead(std::chrono::nanoseconds lead);
  // Thread: any but audio
  std::chrono::nanoseconds RenderLead() const;

  // The level a voice starts at with PlayVoice, in hundredths of a
  // decibel; a sounding voice glides to it within about a millisecond.
  // Thread: any but audio
  std::uint32_t SetVoiceVolume(int voice, int volume) noexcept;
  // Pan in hundredths of a decibel (-10000 left .. 10000 right); a
  // sounding voice follows at once.
  // Thread: any but audio
  std::uint32_t SetVoicePan(int voice, int pan) noexcept;
  // Starts the voice as soon as the output can, at its volume. A voice
  // that is still sounding at the start's frame starts again from the
  // beginning, its tail faded out within about a millisecond, so that
  // every beat sounds however long its sample.
  // Thread: any but audio
  std::uint32_t PlayVoice(int voice) noexcept;
  // Starts the voice on output frame `frame` at `level`; `tag` names the
  // start for Withdraw, which leaves starts of tag 0 alone.
  // Thread: any but audio
  std::uint32_t PlayVoiceAtFrame(int voice, std::int64_t frame, int level,
                                 std::uint64_t tag) noexcept;
  // Withdraws every start of `tag` that has not begun.
  // Thread: any but audio
  void Withdraw(std::uint64_t tag) noexcept;

  // The earliest frame a start asked for now can still begin on.
  // Thread: any but audio
  std::int64_t EarliestFrame() const noexcept;
  // When `frame` is heard.
  // Thread: any but audio
  Clock::time_point HeardAt(std::int64_t frame) const noexcept;
  // The first frame of the next block.
  // Thread: any
  std::int64_t NextBlockFrame() const noexcept {
    return framesRendered_.load(std::memory_order_acquire);
  }
  // The next block goes to another stream, whose timing reports start the
  // estimate of when frames are heard afresh; the frame count goes on.
  // Thread: control, while no stream renders
  void RestartClock() noexcept { restartClock_.store(true, std::memory_order_release); }
  // The next block starts with every voice silent: what sounded so far
  // was never heard (rendered in place of a lost output), and its rest
  // would come as a cut-off click.
  // Thread: control, while no stream renders
  void Hush() noexcept { hush_.store(true, std::memory_order_release); }

  // Installs a voice's new sound (nullptr empties the voice). The new voice
  // starts at level 0 (full volume) and pan 0; a sounding old one fades out.
  // Thread: ui
  void SetVoiceSample(int voice, std::unique_ptr<TVoiceSample> sample);
  bool HasSample(int voice) const;
  // Frees replaced samples the audio thread can no longer be using.
  // Thread: ui
  void CollectRetired();

  // The output's pause when idle: while paused, a start calls `wake`
  // (which must start the output again) after posting itself.
  // Thread: control
  void SetWakeHandler(std::function<void()> wake);
  // The output's pause thread, and the thread whose start or hold wakes it.
  // Thread: any but audio
  void SetPaused(bool paused);
  // Keeps the output from pausing while the metronome runs (and wakes a
  // paused one); in pairs.
  // Thread: any but audio
  void Hold() noexcept;
  void Release() noexcept;
  // Nothing holds the output, nothing sounds and no start waits: the
  // output may pause.
  // Thread: any
  bool Idle() const noexcept;
  // Counts starts asked for and blocks rendered with sound: unchanged
  // over a stretch of time, the output was idle all along.
  // Thread: any
  std::uint64_t Activity() const noexcept {
    return posts_.load(std::memory_order_relaxed) + soundingBlocks_.load(std::memory_order_relaxed);
  }

  // Renders one block of interleaved stereo frames. heardNs is the
  // steady_clock time (ns since its epoch) at which the block's first frame
  // is reported to be heard, calledNs when the driver asked for the block;
  // `doubtful` says the report may be wrong (the driver gave none and
  // heardNs is a guess, or the output ran dry just before this block).
  // Thread: audio
  void Render(float* out, int frames, double heardNs, double calledNs,
              bool doubtful = false) noexcept;

  // Diagnostics.
  // Thread: any
  std::uint64_t BlocksRendered() const { return blocksDone_.load(std::memory_order_acquire); }
  // Starts that came after their frame had been rendered: begun late by
  // less than a block, or dropped.
  // Thread: any
  std::uint64_t LateStarts() const { return lateStarts_.load(std::memory_order_relaxed); }
  std::uint64_t DroppedStarts() const { return droppedStarts_.load(std::memory_order_relaxed); }

 private:
  struct TShared {
    std::atomic<TVoiceSample*> sample{nullptr};
    std::atomic<int> volume{0};
    std::atomic<std::uint32_t> volumeSerial{0};
    std::atomic<int> pan{0};
    TPlayRequests requests;
  };
  // Owned by the audio thread. A restarted voice's tail, fading out.
  struct TTail {
    std::size_t position = 0;
    int remaining = 0;  // frames of the fade still to go
    float gainLeft = 0.0F;
    float gainRight = 0.0F;
  };
  struct TPlayback {
    const TVoiceSample* sample = nullptr;
    std::size_t position = 0;
    bool playing = false;
    int level = 0;
    std::uint32_t levelSerial = 0;
    float gainLeft = 1.0F;
    float gainRight = 1.0F;
    TTail tail;
  };
  struct TStart {
    int offset;
    int level;
  };
  struct TRetired {
    std::unique_ptr<TVoiceSample> sample;
    std::uint64_t blocksAtSwap;
  };

  std::uint32_t Post(int voice, const TPlayRequests::TRequest& request) noexcept;
  void RenderVoice(TPlayback& playback, float* out, int from, int to, float targetLeft,
                   float targetRight) noexcept;
  void RenderTail(TPlayback& playback, float* out, int from, int to) noexcept;
  void FadeOut(const TPlayback& playback, float* out, int frames) noexcept;

  const int sampleRate_;
  const float rampCoefficient_;
  std::atomic<std::int64_t> renderLeadNs_{0};
  std::array<TShared, kVoices> shared_;
  std::array<TPlayback, kVoices> playback_;
  TOutputClock clock_;
  // The first frame of the next block, and the length of the last one.
  std::atomic<std::int64_t> framesRendered_{0};
  std::atomic<int> lastBlockFrames_{0};
  std::atomic<bool> sounding_{false};
  std::atomic<std::uint64_t> posts_{0};
  std::atomic<std::uint64_t> soundingBlocks_{0};
  std::atomic<std::uint64_t> blocksDone_{0};
  std::atomic<std::uint64_t> lateStarts_{0};
  std::atomic<std::uint64_t> droppedStarts_{0};
  std::atomic<bool> paused_{false};
  std::atomic<bool> restartClock_{false};
  std::atomic<bool> hush_{false};
  std::atomic<int> holds_{0};
  std::function<void()> wake_;
  std::array<std::unique_ptr<TVoiceSample>, kVoices> owned_;
  std::vector<TRetired> retired_;
};

}  // namespace zelmora
