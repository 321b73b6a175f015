#include "audio/device/jack_output.h"

#include <jack/jack.h>

#include <algorithm>
#include <chrono>

namespace zelmora {
namespace {

constexpr char kClientName[] = "Zelmora";

jack_client_t* OpenClient() {
  // Never a server of its own: without one running there is no JACK output.
  jack_status_t status{};
  return jack_client_open(kClientName, JackNoStartServer, &status);
}

double SteadyNowNs() noexcept {
  return static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count());
}

}  // namespace

int TJackOutput::ServerRate() {
  jack_client_t* client = OpenClient();
  if (client == nullptr) {
    return 0;
  }
  const auto rate = static_cast<int>(jack_get_sample_rate(client));
  jack_client_close(client);
  return rate;
}

std::unique_ptr<TJackOutput> TJackOutput::Open(TRender render, void* context) {
  jack_client_t* client = OpenClient();
  if (client == nullptr) {
    return nullptr;
  }
  std::unique_ptr<TJackOutput> output(new TJackOutput(client, render, context));
  output->left_ = jack_port_register(client, "out_L", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
  output->right_ =
      jack_port_register(client, "out_R", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
  if (output->left_ == nullptr || output->right_ == nullptr ||
      jack_set_process_callback(client, Process, output.get()) != 0 ||
      jack_set_xrun_callback(client, XRun, output.get()) != 0) {
    return nullptr;
  }
  jack_on_shutdown(client, Shutdown, output.get());
  return output;
}

TJackOutput::TJackOutput(jack_client_t* client, TRender render, void* context)
    : client_(client),
      render_(render),
      context_(context),
      rate_(static_cast<int>(jack_get_sample_rate(client))),
      interleaved_(2 * kPieceFrames, 0.0F) {}

TJackOutput::~TJackOutput() {
  // A server that has gone takes no requests; deactivating would wait for
  // its answer.
  if (started_ && !serverGone_.load()) {
    jack_deactivate(client_);
  }
  jack_client_close(client_);
}

bool TJackOutput::Start() {
  if (jack_activate(client_) != 0) {
    return false;
  }
  started_ = true;
  ConnectToPlayback();
  return true;
}

void TJackOutput::ConnectToPlayback() {
  // The first two physical playback ports (a mono output gets both).
  const char** playback = jack_get_ports(client_, nullptr, JACK_DEFAULT_AUDIO_TYPE,
                                         JackPortIsPhysical | JackPortIsInput);
  if (playback == nullptr) {
    return;
  }
  if (playback[0] != nullptr) {
    const char* second = playback[1] != nullptr ? playback[1] : playback[0];
    jack_connect(client_, jack_port_name(left_), playback[0]);
    jack_connect(client_, jack_port_name(right_), second);
  }
  jack_free(static_cast<void*>(playback));
}

double TJackOutput::OutputLatencySeconds() const {
  jack_latency_range_t range{};
  jack_port_get_latency_range(left_, JackPlaybackLatency, &range);
  return static_cast<double>(range.max) / rate_;
}

double TJackOutput::PeriodSeconds() const {
  return static_cast<double>(jack_get_buffer_size(client_)) / rate_;
}

int TJackOutput::Process(unsigned int frames, void* self) noexcept {
  auto* output = static_cast<TJackOutput*>(self);
  const double calledNs = SteadyNowNs();
  // The period began at `cycleStart` on the server's clock; its first frame
  // reaches the listener the ports' latency after that. Only differences on
  // the server's clock are used, so whichever clock it keeps does not
  // matter.
  jack_nframes_t cycleFrames = 0;
  jack_time_t cycleStart = 0;
  jack_time_t nextCycle = 0;
  float periodUsecs = 0.0F;
  const bool timed = jack_get_cycle_times(output->client_, &cycleFrames, &cycleStart, &nextCycle,
                                          &periodUsecs) == 0;
  const jack_time_t serverNow = jack_get_time();
  jack_latency_range_t range{};
  jack_port_get_latency_range(output->left_, JackPlaybackLatency, &range);
  const double latencyNs = static_cast<double>(range.max) * 1e9 / output->rate_;
  const double sinceCycleNs =
      timed && serverNow >= cycleStart ? static_cast<double>(serverNow - cycleStart) * 1e3 : 0.0;
  const bool underflow = output->xrun_.exchange(false, std::memory_order_relaxed);

  auto* left = static_cast<float*>(jack_port_get_buffer(output->left_, frames));
  auto* right = static_cast<float*>(jack_port_get_buffer(output->right_, frames));
  float* interleaved = output->interleaved_.data();
  for (unsigned int done = 0; done < frames;) {
    const unsigned int piece = std::min<unsigned int>(frames - done, kPieceFrames);
    const double offsetNs = static_cast<double>(done) * 1e9 / output->rate_;
    const TDacTime firstFrame{calledNs - sinceCycleNs + latencyNs + offsetNs, timed, calledNs};
    output->render_(output->context_, interleaved, piece, firstFrame, underflow && done == 0);
    for (unsigned int frame = 0; frame < piece; ++frame) {
      left[done + frame] = interleaved[std::size_t{2} * frame];
      right[done + frame] = interleaved[std::size_t{2} * frame + 1];
    }
    done += piece;
  }
  return 0;
}

int TJackOutput::XRun(void* self) noexcept {
  static_cast<TJackOutput*>(self)->xrun_.store(true, std::memory_order_relaxed);
  return 0;
}

void TJackOutput::Shutdown(void* self) noexcept {
  static_cast<TJackOutput*>(self)->serverGone_.store(true);
}

}  // namespace zelmora
