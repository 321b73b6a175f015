#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "audio/device/dropout_watch.h"
#include "audio/mixer.h"

struct PaStreamCallbackTimeInfo;

namespace zelmora {

// The sound card: the system's default output, opened through PortAudio as
// stereo float at its default rate, whose callback renders one TMixer.
// One per run.
//
// Threads:
// - Open, Close, the destructor and the queries: the control thread (the
//   user-interface thread) only.
// - The output's callback thread does nothing but TMixer::Render (and count
//   underflows).
// - The mixer that Mixer() hands out follows its own rules (voices may be
//   started from any thread).
//
// Shutdown order, in Close: the stream is stopped and closed first, so the
// callback has returned for good; then the mixer, and with it every voice
// sample, is destroyed; then PortAudio is shut down. Anything else that
// holds the mixer (the beat scheduler thread, TVoice handles) must have
// ended, or dropped it, before Close is called: the mixer is gone after it.
// The mixer's latency for an output with this reported latency and buffer
// length: a request must reach the mixer before the block holding its frame
// is rendered, and blocks are rendered up to a buffer early, with
// scheduling delays on top.
double VoiceLatencySeconds(double outputLatencySeconds, double bufferSeconds);

class TAudioDevice {
 public:
  TAudioDevice() = default;
  ~TAudioDevice();
  TAudioDevice(const TAudioDevice&) = delete;
  TAudioDevice& operator=(const TAudioDevice&) = delete;

  // Opens the default output and starts it playing silence. Throws TError
  // "Failed to create IDirectSound object" when no output can be opened and
  // "Failed to set coop level" when it opens but will not start; either way
  // the device is left closed. Does nothing when already open.
  void Open();
  // Stops the output and frees everything; does nothing when closed.
  void Close() noexcept;

  bool IsOpen() const { return stream_ != nullptr; }
  // The mixer the output renders; nullptr when closed.
  TMixer* Mixer() const { return mixer_.get(); }

  // What the output was opened with; 0 when closed. FramesPerBuffer is 0
  // when the host would not take the preferred size and chose its own.
  int SampleRate() const { return sampleRate_; }
  int FramesPerBuffer() const { return framesPerBuffer_; }
  // The output latency the host reports for the open stream, in seconds.
  double OutputLatencySeconds() const { return outputLatency_; }
  // Blocks the host reported as not played in time since Open (the
  // callback came too late, so the output's timeline slipped). Any thread.
  std::uint64_t Underflows() const { return underflows_.load(std::memory_order_relaxed); }
  // Blocks before which the output seems to have run dry: flagged, or the
  // callback came when the queued audio had played out, or the host had
  // no time to report; diagnostics.
  std::uint64_t Dropouts() const { return dropouts_.load(std::memory_order_relaxed); }

 private:
  void OpenOrThrow();
  // The output's callback (the audio thread): renders the mixer, stamped
  // with when the block will sound.
  static int Render(const void* input, void* output, unsigned long frames,
                    const PaStreamCallbackTimeInfo* time, unsigned long status,
                    void* self) noexcept;

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
};

}  // namespace zelmora
