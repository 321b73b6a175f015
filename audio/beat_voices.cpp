#include "audio/beat_voices.h"

namespace zelmora {
namespace {

constexpr int kNominalRate = 48000;

std::int64_t SteadyFrame(std::chrono::steady_clock::time_point t) {
  // 48 frames per microsecond: no product that could overflow.
  static_assert(kNominalRate == 48000);
  return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count() * 48 /
         1'000'000;
}

}  // namespace

int TMixerBeatOutput::FrameRate() const noexcept {
  const TMixer* mixer = Mixer();
  return mixer != nullptr ? mixer->SampleRate() : kNominalRate;
}

void TMixerBeatOutput::Hold() noexcept {
  if (TMixer* mixer = Mixer()) {
    mixer->Hold();
  }
}

void TMixerBeatOutput::Release() noexcept {
  if (TMixer* mixer = Mixer()) {
    mixer->Release();
  }
}

std::int64_t TMixerBeatOutput::EarliestFrame() const noexcept {
  const TMixer* mixer = Mixer();
  return mixer != nullptr ? mixer->EarliestFrame()
                          : SteadyFrame(std::chrono::steady_clock::now()) + 1;
}

TBeatOutput::TimePoint TMixerBeatOutput::HeardAt(std::int64_t frame) const noexcept {
  if (const TMixer* mixer = Mixer()) {
    return mixer->HeardAt(frame);
  }
  return TimePoint(std::chrono::nanoseconds(frame * 1'000'000 / 48));
}

std::chrono::nanoseconds TMixerBeatOutput::RenderLead() const noexcept {
  const TMixer* mixer = Mixer();
  return mixer != nullptr ? mixer->RenderLead() : std::chrono::nanoseconds(0);
}

void TMixerBeatOutput::PlayVoiceAtFrame(TVoiceRole voice, std::int64_t frame, int level,
                                        std::uint64_t tag) noexcept {
  if (TMixer* mixer = Mixer()) {
    mixer->PlayVoiceAtFrame(voices_.For(voice).MixerSlot(), frame, level, tag);
  }
}

void TMixerBeatOutput::Cancel(std::uint64_t tag) noexcept {
  if (TMixer* mixer = Mixer()) {
    mixer->Withdraw(tag);
  }
}

}  // namespace zelmora
