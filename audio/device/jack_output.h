#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

#include "audio/device/host_time.h"

// The JACK library's own type names.
struct _jack_client;  // NOLINT(bugprone-reserved-identifier)
struct _jack_port;    // NOLINT(bugprone-reserved-identifier)

namespace zelmora {

// Plays through a running JACK server as the client "Zelmora": two ports,
// "out_L" and "out_R", connected to the system's playback ports as it
// starts, rendered once per period of the server's, at its rate.
//
// Made on the JACK library itself, not through PortAudio's JACK host API,
// whose stop waits ten minutes for a server that has gone away: a JACK
// restart would have hung the output's keeper, and the program's end, that
// long. Here a stopped server is only noted (Active turns false), and the
// client is then closed without waiting on it.
class TJackOutput {
 public:
  // Renders `frames` interleaved stereo frames, the first of which is
  // heard at `firstFrame`; `underflow`: the server missed a period since
  // the last block.
  // Thread: audio
  using TRender = void (*)(void* context, float* out, unsigned long frames,
                           const TDacTime& firstFrame, bool underflow) noexcept;

  // The rate of the JACK server this process would reach, 0 when none
  // runs. Never starts one, waits for nothing and prints nothing.
  // Thread: control
  static int ServerRate();
  // A client on the running server, not yet started; nullptr when none
  // runs or the client cannot be made.
  // Thread: control
  static std::unique_ptr<TJackOutput> Open(TRender render, void* context);

  // Closes the client (stopping it first while the server is there).
  // Thread: control
  ~TJackOutput();
  TJackOutput(const TJackOutput&) = delete;
  TJackOutput& operator=(const TJackOutput&) = delete;

  // Starts rendering and connects to the system's playback ports; false
  // when the server refuses.
  // Thread: control
  bool Start();
  // Started, and the server has not gone away since.
  // Thread: any
  bool Active() const { return started_ && !serverGone_.load(); }
  // Thread: control
  int SampleRate() const { return rate_; }
  // From the ports to the listener, as the server reports it; and the
  // server's period, the length of each block.
  // Thread: control
  double OutputLatencySeconds() const;
  double PeriodSeconds() const;

 private:
  TJackOutput(_jack_client* client, TRender render, void* context);

  static int Process(unsigned int frames, void* self) noexcept;
  static int XRun(void* self) noexcept;
  static void Shutdown(void* self) noexcept;
  void ConnectToPlayback();

  _jack_client* client_;
  _jack_port* left_ = nullptr;
  _jack_port* right_ = nullptr;
  TRender render_;
  void* context_;
  int rate_ = 0;
  bool started_ = false;
  std::atomic<bool> serverGone_{false};
  std::atomic<bool> xrun_{false};
  // Interleaved frames for the mixer, made before the client starts; a
  // longer period is rendered in several pieces.
  static constexpr std::size_t kPieceFrames = 2048;
  std::vector<float> interleaved_;
};

}  // namespace zelmora
