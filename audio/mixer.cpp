#include "audio/mixer.h"

#include <algorithm>
#include <cmath>

#include "audio/voice_gain.h"

namespace zelmora {
namespace {

// Length of the fade that ends a voice replaced while it sounds.
constexpr int kFadeFrames = 64;
// A request more than this late (the output was not running when it came)
// is dropped rather than played out of time.
constexpr double kStaleSeconds = 0.25;

std::int64_t NowNs(TMixer::Clock::time_point when) {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
}

bool ValidVoice(int voice) {
  return voice >= 0 && voice < TMixer::kVoices;
}

}  // namespace

TMixer::TMixer(int sampleRate)
    : sampleRate_(sampleRate),
      // One-pole smoothing with a time constant of about 1 ms.
      rampCoefficient_(static_cast<float>(1.0 - std::exp(-1.0 / (0.001 * sampleRate)))),
      clock_(sampleRate) {}

TMixer::~TMixer() = default;

void TMixer::SetLatency(std::chrono::nanoseconds latency) {
  latencyNs_ = latency.count();
}

std::chrono::nanoseconds TMixer::Latency() const {
  return std::chrono::nanoseconds(latencyNs_.load());
}

std::uint32_t TMixer::SetVoiceVolume(int voice, int volume) noexcept {
  if (!ValidVoice(voice)) {
    return kSoundInvalidParam;
  }
  shared_[voice].volume.store(volume, std::memory_order_relaxed);
  return kSoundOk;
}

std::uint32_t TMixer::SetVoicePan(int voice, int pan) noexcept {
  if (!ValidVoice(voice)) {
    return kSoundInvalidParam;
  }
  shared_[voice].pan.store(pan, std::memory_order_relaxed);
  return kSoundOk;
}

std::uint32_t TMixer::PlayVoice(int voice) noexcept {
  return PlayVoiceAt(voice, Clock::now());
}

std::uint32_t TMixer::PlayVoiceAt(int voice, Clock::time_point when) noexcept {
  if (!ValidVoice(voice)) {
    return kSoundInvalidParam;
  }
  if (shared_[voice].sample.load(std::memory_order_acquire) == nullptr) {
    return kSoundOk;  // an empty voice accepts everything and plays nothing
  }
  return shared_[voice].requests.Post(NowNs(when)) ? kSoundOk : kSoundAllocated;
}

void TMixer::SetVoiceSample(int voice, std::unique_ptr<TVoiceSample> sample) {
  if (!ValidVoice(voice)) {
    return;
  }
  TShared& shared = shared_[voice];
  shared.volume.store(0, std::memory_order_relaxed);
  shared.pan.store(0, std::memory_order_relaxed);
  shared.sample.store(sample.get(), std::memory_order_release);
  if (owned_[voice]) {
    retired_.push_back({std::move(owned_[voice]), blocksDone_.load(std::memory_order_acquire)});
  }
  owned_[voice] = std::move(sample);
  CollectRetired();
}

bool TMixer::HasSample(int voice) const {
  return ValidVoice(voice) && owned_[voice] != nullptr;
}

void TMixer::CollectRetired() {
  // The block running during the swap may still read the old sample, and
  // the block after it fades the old sample out; after that, nothing does.
  const std::uint64_t done = blocksDone_.load(std::memory_order_acquire);
  std::erase_if(retired_, [done](const TRetired& r) { return done >= r.blocksAtSwap + 2; });
}

void TMixer::Render(float* out, int frames, double firstFrameNs, double calledNs,
                    bool doubtful) noexcept {
  std::fill(out, out + 2 * frames, 0.0F);
  clock_.Update(framesRendered_, firstFrameNs, calledNs, doubtful);
  clockRestarts_.store(clock_.Restarts(), std::memory_order_relaxed);
  const std::int64_t blockStart = framesRendered_;
  const std::int64_t blockEnd = blockStart + frames;
  const double latencyNs = static_cast<double>(latencyNs_.load(std::memory_order_relaxed));
  const auto staleFrames = static_cast<std::int64_t>(kStaleSeconds * sampleRate_);

  for (int v = 0; v < kVoices; ++v) {
    TShared& shared = shared_[v];
    TPlayback& playback = playback_[v];

    const TVoiceSample* sample = shared.sample.load(std::memory_order_acquire);
    if (sample != playback.sample) {
      if (playback.playing) {
        FadeOut(playback, out, frames);
      }
      playback = TPlayback{sample};
    }

    const TStereoGain target = GainForVolumeAndPan(shared.volume.load(std::memory_order_relaxed),
                                                   shared.pan.load(std::memory_order_relaxed));
    if (!playback.playing) {
      playback.gainLeft = target.Left;
      playback.gainRight = target.Right;
    }

    std::array<int, TPlayRequests::kSlots> starts{};
    int startCount = 0;
    shared.requests.Drain([&](std::int64_t timeNs) noexcept {
      const std::int64_t frame = clock_.FrameAt(static_cast<double>(timeNs) + latencyNs);
      if (frame >= blockEnd) {
        return false;  // for a later block
      }
      if (frame < blockStart - staleFrames || sample == nullptr) {
        return true;
      }
      if (frame < blockStart) {
        lateStarts_.fetch_add(1, std::memory_order_relaxed);
      }
      starts[startCount++] = static_cast<int>(std::max(frame, blockStart) - blockStart);
      return true;
    });
    std::sort(starts.begin(), starts.begin() + startCount);

    int cursor = 0;
    for (int i = 0; i < startCount; ++i) {
      RenderVoice(playback, out, cursor, starts[i], target.Left, target.Right);
      cursor = starts[i];
      // Judged at the very frame: a voice still sounding is not restarted.
      if (!playback.playing && sample != nullptr && sample->FrameCount() > 0) {
        playback.playing = true;
        playback.position = 0;
        playback.gainLeft = target.Left;
        playback.gainRight = target.Right;
      }
    }
    RenderVoice(playback, out, cursor, frames, target.Left, target.Right);
  }

  framesRendered_ = blockEnd;
  blocksDone_.fetch_add(1, std::memory_order_release);
}

void TMixer::RenderVoice(TPlayback& playback, float* out, int from, int to, float targetLeft,
                         float targetRight) noexcept {
  if (!playback.playing) {
    return;
  }
  const float* frames = playback.sample->Frames.data();
  const std::size_t length = playback.sample->FrameCount();
  float left = playback.gainLeft;
  float right = playback.gainRight;
  const float k = rampCoefficient_;
  for (int i = from; i < to; ++i) {
    left += (targetLeft - left) * k;
    right += (targetRight - right) * k;
    out[2 * i] += frames[2 * playback.position] * left;
    out[2 * i + 1] += frames[2 * playback.position + 1] * right;
    if (++playback.position >= length) {
      playback.playing = false;
      break;
    }
  }
  playback.gainLeft = left;
  playback.gainRight = right;
}

void TMixer::FadeOut(const TPlayback& playback, float* out, int frames) noexcept {
  const float* data = playback.sample->Frames.data();
  const std::size_t length = playback.sample->FrameCount();
  const int fade = std::min(frames, kFadeFrames);
  std::size_t position = playback.position;
  for (int i = 0; i < fade && position < length; ++i, ++position) {
    const float ramp = 1.0F - static_cast<float>(i + 1) / static_cast<float>(fade);
    out[2 * i] += data[2 * position] * playback.gainLeft * ramp;
    out[2 * i + 1] += data[2 * position + 1] * playback.gainRight * ramp;
  }
}

}  // namespace zelmora
