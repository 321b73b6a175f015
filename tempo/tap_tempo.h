#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace zelmora {

class TConfig;

// What a tap does outside the tempo itself. The main window implements it
// over the metronome, the regular voice and its own widgets.
class TTapEffects {
 public:
  virtual ~TTapEffects() = default;
  // Whether the metronome runs, and the one start/stop operation.
  // Thread: ui
  virtual bool Running() const = 0;
  virtual void StartStop() = 0;
  // Sets the regular voice to `level` (hundredths of a dB, unclamped sum)
  // and starts it once. Returns false when the voice could not be started.
  // Thread: ui
  virtual bool PlayRegularBeat(int level) = 0;
  // Flips the visibility of the main window's beat mark (lblBeat).
  // Thread: ui
  virtual void ToggleBeatMark() = 0;
  // Gives the tempo fader the keyboard focus.
  // Thread: ui
  virtual void FocusTempoFader() = 0;
};

// Milliseconds from an unsigned 32-bit counter that may wrap around.
using TTickSource = std::function<std::uint32_t()>;

// Milliseconds of a monotonic clock, truncated to 32 bits.
// Thread: any
std::uint32_t MonotonicTickCount();

// The time stamps of the taps of a sequence, newest first. Only the two
// newest and the number of taps are ever read, so only those are kept.
class TTapTimes {
 public:
  // Thread: any
  void Clear() {
    count_ = 0;
    newest_ = previous_ = 0;
  }
  void PushFront(std::uint32_t ms) {
    previous_ = newest_;
    newest_ = ms;
    ++count_;
  }
  std::size_t Count() const { return count_; }
  // Newest minus second-newest, modulo 2^32, so a wrap of the counter
  // between the two taps still gives the true gap. Needs two taps.
  std::uint32_t NewestGap() const { return newest_ - previous_; }

 private:
  std::uint32_t newest_ = 0;
  std::uint32_t previous_ = 0;
  std::size_t count_ = 0;
};

// Tap tempo: every tap press registers one tap; from the second tap of a
// sequence on, the tempo follows a running average of the gaps whose weight
// on the past grows with every tap. A pause of more than three seconds
// closes the sequence. The sequence is open while the settings object's
// TapMode is on.
class TTapTempo {
 public:
  // The longest gap that still continues a sequence: one beat at 20 bpm.
  static constexpr std::uint32_t kPauseLimitMs = 3000;

  // Thread: ui
  TTapTempo(TConfig& config, TTapEffects& effects, TTickSource ticks = MonotonicTickCount);

  // A left press on the tap button, or Enter in the main window: stops a
  // running metronome, opens a sequence when none is open, then DoTap.
  // Throws TError("Failed to play a beat") when the voice fails.
  // Thread: ui
  void Press();
  // A release of any mouse button on the tap button, or of any key while it
  // has the focus: the focus goes back to the tempo fader.
  // Thread: ui
  void Release();
  // Registers one tap (the tap button calls it through Press). Throws
  // TError("Failed to play a beat") when the voice fails; the tempo set by
  // this tap stays and the beat mark does not flip.
  // Thread: ui
  void DoTap();
  // The start button or Space while tapping: the taps are discarded and tap
  // mode ends. Does nothing outside tap mode.
  // Thread: ui
  void EndSequence();

  // Thread: ui
  std::size_t TapCount() const { return tapTimes_.Count(); }
  // The smoothed interval between taps, in milliseconds.
  // Thread: ui
  double TapInterval() const { return tapInterval_; }

 private:
  TConfig& config_;
  TTapEffects& effects_;
  TTickSource ticks_;
  TTapTimes tapTimes_;
  double tapInterval_ = 0.0;
};

// The tempo for a smoothed tap interval: 60000 / interval, rounded half to
// even and clamped to 20..416. An interval of zero (two taps within the
// same millisecond) is as fast as it gets, so it gives 416.
// Thread: any
int TempoForTapInterval(double intervalMs);

}  // namespace zelmora
