#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/device/dropout_watch.h"
#include "audio/device/jack_output.h"
#include "audio/device/output_pick.h"
#include "audio/device/output_watch.h"
#include "audio/mixer.h"

struct PaStreamCallbackTimeInfo;

namespace zelmora {

// How long before it is heard a frame may be rendered, for an output with
// this reported latency and buffer length.
// Thread: any
double RenderLeadSeconds(double outputLatencySeconds, double bufferSeconds);

// The sound card: the output the user chose (by name, see ChooseOutput),
// else the system's default, opened through PortAudio as stereo float (at
// 48 kHz where it takes that, else at its default rate), whose callback
// renders one TMixer. One per run. The outputs are PortAudio's (ALSA's
// devices, the sound server through ALSA's default) and, while a JACK
// server runs, JACK's system playback ports (see TJackOutput).
//
// Buffering: about 55 ms are queued ahead of the listener, so a stall of
// the process of up to 50 ms does not run the output dry, while a start or
// a tap is heard within about 60 ms of being asked for.
//
// The device's own thread, the keeper, looks after the stream:
// - When nothing has sounded, nothing waits and nothing holds the mixer
//   for a few seconds, it pauses the output, so a stopped metronome costs
//   next to nothing; the next start or hold runs it again (priming its
//   first blocks from the mixer, so the first click is not late), through
//   the mixer's wake handler on the thread that asked for a sound.
//   Not on JACK: the client stays in the server's graph with its ports
//   and connections.
// - Another output chosen while it plays: the stream is closed and one on
//   the new output started on the same mixer, whose frame count goes on,
//   so the beats keep their grid.
// - A stream that fails (the host reports it inactive, or no block comes
//   for 400 ms) is given up; until an output opens again the keeper
//   renders the mixer itself at the pace of the clock, into nothing, so
//   the frame count and the beats go on in time, and once a second it
//   starts the sound library afresh (which finds a restarted server or a
//   device plugged in again) and opens the chosen output, else the
//   default, at the mixer's rate.
// The output's callback does nothing but TMixer::Render (and count
// underflows).
//
// Shutdown order, in Close: the keeper ends and the stream is stopped and
// closed first, so nothing renders any more; then the mixer, and with it
// every voice sample, is destroyed; then PortAudio is shut down. Anything
// else that holds the mixer (the beat scheduler thread, TVoice handles)
// must have ended, or dropped it, before Close is called: the mixer is
// gone after it.
class TAudioDevice {
 public:
  // Thread: control
  TAudioDevice() = default;
  ~TAudioDevice();
  TAudioDevice(const TAudioDevice&) = delete;
  TAudioDevice& operator=(const TAudioDevice&) = delete;

  // Opens the chosen output (the default when it is not found or does not
  // open) and starts it playing silence. Throws TError "Failed to create
  // IDirectSound object" when no output can be opened and "Failed to set
  // coop level" when it opens but will not start; either way the device is
  // left closed. Does nothing when already open.
  // Thread: control
  void Open();
  // Stops the output and frees everything; does nothing when closed.
  // Thread: control
  void Close() noexcept;

  // The output to play on, by its name in OutputNames(); any other name
  // (TConfig::kDefaultOutput among them) means the system's default. Used
  // by the next Open, or on an open device by the keeper, at once: this
  // never waits for the output.
  // Thread: any but audio
  void ChooseOutput(const std::string& name);
  // "<host API>: <device name>" of every output of two channels or more,
  // as found when the sound library last started (at Open, and again at
  // each attempt to reopen a lost output); empty before Open.
  // Thread: any but audio
  std::vector<std::string> OutputNames() const;
  // Called the first time the output is lost since the device was made,
  // on the thread that finds it lost (the keeper, or one waking the paused
  // output); it must not block.
  // Thread: control, before Open
  void SetLossHandler(std::function<void()> handler) { lossHandler_ = std::move(handler); }
  // The output failed and no other has opened since.
  // Thread: any
  bool Lost() const { return lost_.load(); }

  // Open, and not closed since; a paused or lost output is still open.
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
  using Clock = std::chrono::steady_clock;

  void OpenOrThrow();
  // The output's callback (the audio thread): renders the mixer, stamped
  // with when the block will sound.
  static int Render(const void* input, void* output, unsigned long frames,
                    const PaStreamCallbackTimeInfo* time, unsigned long status,
                    void* self) noexcept;
  // What every output's callback does with its block.
  static void RenderBlock(void* self, float* out, unsigned long frames, const TDacTime& firstFrame,
                          bool underflow) noexcept;

  // The keeper's loop, and the mixer's wake handler.
  void Keep(const std::stop_token& stop);
  void Resume() noexcept;
  // The keeper's steps; all with mutex_ held.
  void PauseWhenIdle(Clock::duration& idleFor, std::uint64_t& activity);
  void MoveToChosen(Clock::time_point now);
  void Lose(Clock::time_point now);
  void Reopen();
  void RenderStandIn(Clock::time_point now);

  // Records the outputs the sound library found, and picks the chosen one.
  void FindOutputs();
  int ChosenIndex() const;
  // Sets the stream's parameters for the output `device` at `rate`;
  // false when it has no stereo output or will not take the rate.
  bool Prepare(int device, double rate);
  // Opens (does not start) the prepared output's stream, PortAudio's at
  // the preferred block size if it takes it, or JACK's; false when it will
  // not open.
  bool OpenPrepared();
  void* OpenStream(unsigned long frames);
  // Starts the opened stream; on failure closes it.
  bool StartPrepared();
  bool StreamActive() const;
  // Opens and starts a stream on `device` at the mixer's rate; false, with
  // nothing open, when it fails. `takeOver`: the stream follows another
  // on a running mixer (a move, a reopen), not a paused one.
  bool StartOn(int device, Clock::time_point now, bool takeOver);
  void CloseStream(bool drain) noexcept;
  // Takes the open stream's latency and block length.
  void SetLeadFor();
  void FollowJackLatency();

  bool initialised_ = false;
  void* stream_ = nullptr;             // PaStream
  std::unique_ptr<TJackOutput> jack_;  // in its place, on JACK
  // The callback uses these four; they change only while the stream is not
  // running, and the watch and the padding on the audio thread while it
  // runs.
  std::unique_ptr<TMixer> mixer_;
  double fallbackAheadNs_ = 0.0;
  long padFrames_ = 0;  // silent frames to come before the mixer renders
  TDropoutWatch dropoutWatch_{1.0};
  std::atomic<std::uint64_t> underflows_{0};
  std::atomic<std::uint64_t> dropouts_{0};
  int sampleRate_ = 0;
  int framesPerBuffer_ = 0;
  std::atomic<double> outputLatency_{0.0};  // the keeper follows JACK's
  // Guards the stream and what it was opened with, between the keeper and
  // whoever wakes the paused output.
  std::mutex mutex_;
  int deviceIndex_ = -1;
  double suggestedLatency_ = 0.0;
  double rate_ = 0.0;
  unsigned long streamFrames_ = 0;
  int jackRate_ = 0;  // of the server found with the outputs; 0: none
  std::vector<TFoundOutput> found_;
  std::atomic<bool> paused_{false};
  std::atomic<bool> lost_{false};
  // A stream that renders no block for this long has failed; a lost output
  // is tried again this often (starting the sound library afresh takes a
  // tenth of a second or more).
  static constexpr auto kSilenceLimit = std::chrono::milliseconds(400);
  static constexpr auto kRetryEvery = std::chrono::seconds(1);
  TOutputWatch watch_{kSilenceLimit, kRetryEvery};
  std::vector<float> standInBlock_;
  std::function<void()> lossHandler_;

  // What the other threads ask of the keeper, and the names they read.
  mutable std::mutex requestMutex_;
  std::condition_variable_any keeperWake_;
  std::string chosen_;
  bool choiceChanged_ = false;
  std::vector<std::string> names_;

  std::jthread keeper_;
};

}  // namespace zelmora
