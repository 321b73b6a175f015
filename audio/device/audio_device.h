#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "audio/device/dropout_watch.h"
#include "audio/mixer.h"

struct PaStreamCallbackTimeInfo;

namespace zelmora {

// How long before it is heard a frame may be rendered, for an output with
// this reported latency and buffer length.
// Thread: any
double RenderLeadSeconds(double outputLatencySeconds, double bufferSeconds);

// The sound card: the system's default output, opened through PortAudio as
// stereo float (at 48 kHz where it takes that, else at its default rate),
// whose callback renders one TMixer. One per run.
//
// Buffering: about 55 ms are queued ahead of the listener, so a stall of
// the process of up to 50 ms does not run the output dry, while a start or
// a tap is heard within about 60 ms of being asked for.
//
// When nothing has sounded, nothing waits and nothing holds the mixer for
// a few seconds, the output pauses, so a stopped metronome costs next to
// nothing; the next start or hold runs it again (priming its first blocks
// from the mixer, so the first click is not late). The pause thread, the
// device's own, pauses the idle output; the mixer's wake handler runs it
// again on the thread that asked for a sound. The output's callback does
// nothing but TMixer::Render (and count underflows).
//
// Shutdown order, in Close: the stream is stopped and closed first, so the
// callback has returned for good; then the mixer, and with it every voice
// sample, is destroyed; then PortAudio is shut down. Anything else that
// holds the mixer (the beat scheduler thread, TVoice handles) must have
// ended, or dropped it, before Close is called: the mixer is gone after it.
class TAudioDevice {
 public:
  // Thread: control
  TAudioDevice() = default;
  ~TAudioDevice();
  TAudioDevice(const TAudioDevice&) = delete;
  TAudioDevice& operator=(const TAudioDevice&) = delete;

  // Opens the default output and starts it playing silence. Throws TError
  // "Failed to create IDirectSound object" when no output can be opened and
  // "Failed to set coop level" when it opens but will not start; either way
  // the device is left closed. Does nothing when already open.
  // Thread: control
  void Open();
  // Stops the output and frees everything; does nothing when closed.
  // Thread: control
  void Close() noexcept;

  // Open, and not closed since; a paused output is still open.
  // Thread: control
  bool IsOpen() const { return mixer_ != nullptr; }
  // The mixer the output renders; nullptr when closed.
  TMixer* Mixer() const { return mixer_.get(); }

  // What the output was opened with; 0 when closed. FramesPerBuffer is 0
  // when the host would not take the preferred size and chose its own.
  // Thread: control
  int SampleRate() const { return sampleRate_; }
  int FramesPerBuffer() const { return framesPerBuffer_; }
  // The output latency the host reports for the open stream, in seconds.
  // Thread: control
  double OutputLatencySeconds() const { return outputLatency_; }
  // Blocks the host reported as not played in time since Open (the
  // callback came too late, so the output's timeline slipped).
  // Thread: any
  std::uint64_t Underflows() const { return underflows_.load(std::memory_order_relaxed); }
  // Blocks before which the output seems to have run dry: flagged, or the
  // callback came when the queued audio had played out, or the host had
  // no time to report; diagnostics.
  // Thread: any
  std::uint64_t Dropouts() const { return dropouts_.load(std::memory_order_relaxed); }
  // Whether the output is paused for being idle.
  // Thread: any
  bool Paused() const { return paused_.load(); }

 private:
  void OpenOrThrow();
  // The output's callback (the audio thread): renders the mixer, stamped
  // with when the block will sound.
  static int Render(const void* input, void* output, unsigned long frames,
                    const PaStreamCallbackTimeInfo* time, unsigned long status,
                    void* self) noexcept;

  // The pause thread's loop, and the mixer's wake handler.
  void PauseWhenIdle(const std::stop_token& stop);
  // Opens (does not start) a stream with the parameters found at Open.
  void* OpenStream(unsigned long frames);
  void Resume() noexcept;

  bool initialised_ = false;
  void* stream_ = nullptr;  // PaStream
  // The callback uses these three; the first two change only while the
  // stream is not running, the watch only on the audio thread while it runs.
  std::unique_ptr<TMixer> mixer_;
  double fallbackAheadNs_ = 0.0;
  TDropoutWatch dropoutWatch_{1.0};
  std::atomic<std::uint64_t> underflows_{0};
  std::atomic<std::uint64_t> dropouts_{0};
  int sampleRate_ = 0;
  int framesPerBuffer_ = 0;
  double outputLatency_ = 0.0;
  // Guards starting and stopping the stream between the pause thread and
  // whoever wakes it.
  std::mutex pauseMutex_;
  // What the stream was opened with, to open it again after a pause.
  int deviceIndex_ = -1;
  double suggestedLatency_ = 0.0;
  double rate_ = 0.0;
  unsigned long streamFrames_ = 0;
  std::atomic<bool> paused_{false};
  std::jthread pauser_;
};

}  // namespace zelmora
