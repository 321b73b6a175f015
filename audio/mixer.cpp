#include "audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "audio/denormals.h"
#include "audio/voice_gain.h"

namespace zelmora {
namespace {

// Length of the fade that ends a voice replaced while it sounds.
constexpr int kFadeFrames = 64;
// A start whose frame was rendered before it came may still begin on the
// block's first frame when it is at most this late; later, it is dropped,
// never played out of time.
constexpr double kLateSeconds = 0.010;
// A start asked for "now" that would be heard more than this after it was
// asked for is dropped: the output was held up, and a click that late is
// no longer the one the user asked for.
constexpr double kStaleAsapSeconds = 0.25;

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             TMixer::Clock::now().time_since_epoch())
      .count();
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

void TMixer::SetRenderLead(std::chrono::nanoseconds lead) {
  renderLeadNs_ = lead.count();
}

std::chrono::nanoseconds TMixer::RenderLead() const {
  return std::chrono::nanoseconds(renderLeadNs_.load(std::memory_order_relaxed));
}

std::uint32_t TMixer::SetVoiceVolume(int voice, int volume) noexcept {
  if (!ValidVoice(voice)) {
    return kSoundInvalidParam;
  }
  shared_[voice].volume.store(volume, std::memory_order_relaxed);
  shared_[voice].volumeSerial.fetch_add(1, std::memory_order_release);
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
  if (!ValidVoice(voice)) {
    return kSoundInvalidParam;
  }
  return Post(voice, {TPlayRequests::kAsap, shared_[voice].volume.load(std::memory_order_relaxed),
                      NowNs(), 0});
}

std::uint32_t TMixer::PlayVoiceAtFrame(int voice, std::int64_t frame, int level,
                                       std::uint64_t tag) noexcept {
  if (!ValidVoice(voice)) {
    return kSoundInvalidParam;
  }
  return Post(voice, {frame, level, NowNs(), tag});
}

std::uint32_t TMixer::Post(int voice, const TPlayRequests::TRequest& request) noexcept {
  if (shared_[voice].sample.load(std::memory_order_acquire) == nullptr) {
    return kSoundOk;  // an empty voice accepts everything and plays nothing
  }
  if (!shared_[voice].requests.Post(request)) {
    return kSoundAllocated;
  }
  posts_.fetch_add(1, std::memory_order_relaxed);
  // Posted first, then the pause looked at; the output's owner sets the
  // pause first, then looks for waiting starts: one of the two sees the
  // other (both sequentially consistent).
  if (paused_.load() && wake_) {
    wake_();
  }
  return kSoundOk;
}

void TMixer::Withdraw(std::uint64_t tag) noexcept {
  for (TShared& shared : shared_) {
    shared.requests.Withdraw(tag);
  }
}

std::int64_t TMixer::EarliestFrame() const noexcept {
  // The block being rendered at this moment may have looked at the
  // requests already; the one after it has not.
  return framesRendered_.load(std::memory_order_acquire) +
         lastBlockFrames_.load(std::memory_order_relaxed);
}

TMixer::Clock::time_point TMixer::HeardAt(std::int64_t frame) const noexcept {
  return Clock::time_point(std::chrono::nanoseconds(std::llround(clock_.HeardAtNs(frame))));
}

void TMixer::SetVoiceSample(int voice, std::unique_ptr<TVoiceSample> sample) {
  if (!ValidVoice(voice)) {
    return;
  }
  TShared& shared = shared_[voice];
  shared.volume.store(0, std::memory_order_relaxed);
  shared.volumeSerial.fetch_add(1, std::memory_order_release);
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

void TMixer::SetWakeHandler(std::function<void()> wake) {
  wake_ = std::move(wake);
}

void TMixer::SetPaused(bool paused) {
  paused_.store(paused);
}

void TMixer::Hold() noexcept {
  holds_.fetch_add(1);
  if (paused_.load() && wake_) {
    wake_();
  }
}

void TMixer::Release() noexcept {
  holds_.fetch_sub(1);
}

bool TMixer::Idle() const noexcept {
  if (holds_.load() > 0 || sounding_.load()) {
    return false;
  }
  return std::none_of(shared_.begin(), shared_.end(),
                      [](const TShared& shared) { return shared.requests.AnyWaiting(); });
}

void TMixer::Render(float* out, int frames, double heardNs, double calledNs,
                    bool doubtful) noexcept {
  const TDenormalsFlushed flushed;
  std::fill(out, out + 2 * std::ptrdiff_t{frames}, 0.0F);
  const std::int64_t blockStart = framesRendered_.load(std::memory_order_relaxed);
  const std::int64_t blockEnd = blockStart + frames;
  if (restartClock_.exchange(false, std::memory_order_acquire)) {
    clock_.Restart();
  }
  if (hush_.exchange(false, std::memory_order_acquire)) {
    for (TPlayback& playback : playback_) {
      playback.playing = false;
      playback.tail.remaining = 0;
    }
  }
  clock_.Update(blockStart, heardNs, calledNs, doubtful);
  lastBlockFrames_.store(frames, std::memory_order_relaxed);
  const auto lateFrames = static_cast<std::int64_t>(kLateSeconds * sampleRate_);
  const double staleAsapNs = kStaleAsapSeconds * 1e9;
  bool sounding = false;

  for (int v = 0; v < kVoices; ++v) {
    TShared& shared = shared_[v];
    TPlayback& playback = playback_[v];

    const TVoiceSample* sample = shared.sample.load(std::memory_order_acquire);
    if (sample != playback.sample) {
      if (playback.playing) {
        FadeOut(playback, out, frames);
      }
      playback = TPlayback{};
      playback.sample = sample;
      playback.levelSerial = shared.volumeSerial.load(std::memory_order_acquire);
      playback.level = shared.volume.load(std::memory_order_relaxed);
    }
    // A level set for the voice (a tap's) applies to it as it sounds too.
    const std::uint32_t serial = shared.volumeSerial.load(std::memory_order_acquire);
    if (serial != playback.levelSerial) {
      playback.levelSerial = serial;
      playback.level = shared.volume.load(std::memory_order_relaxed);
    }
    const int pan = shared.pan.load(std::memory_order_relaxed);

    std::array<TStart, TPlayRequests::kSlots> starts{};
    int startCount = 0;
    shared.requests.Drain(
        [&](const TPlayRequests::TRequest& request) noexcept {
          if (sample == nullptr) {
            return TPlayRequests::kDrop;
          }
          if (request.frame == TPlayRequests::kAsap) {
            if (heardNs - static_cast<double>(request.postedNs) > staleAsapNs) {
              droppedStarts_.fetch_add(1, std::memory_order_relaxed);
              return TPlayRequests::kDrop;
            }
            return TPlayRequests::kTake;
          }
          if (request.frame >= blockEnd) {
            return TPlayRequests::kKeep;  // for a later block
          }
          if (request.frame < blockStart) {
            lateStarts_.fetch_add(1, std::memory_order_relaxed);
            if (request.frame < blockStart - lateFrames) {
              droppedStarts_.fetch_add(1, std::memory_order_relaxed);
              return TPlayRequests::kDrop;
            }
          }
          return TPlayRequests::kTake;
        },
        [&](const TPlayRequests::TRequest& request) noexcept {
          const std::int64_t frame =
              request.frame == TPlayRequests::kAsap ? blockStart : request.frame;
          starts[startCount++] = {static_cast<int>(std::max(frame, blockStart) - blockStart),
                                  request.level};
        });
    std::sort(starts.begin(), starts.begin() + startCount,
              [](const TStart& a, const TStart& b) { return a.offset < b.offset; });

    int cursor = 0;
    for (int i = 0; i < startCount; ++i) {
      const TStereoGain target = GainForVolumeAndPan(playback.level, pan);
      RenderVoice(playback, out, cursor, starts[i].offset, target.Left, target.Right);
      RenderTail(playback, out, cursor, starts[i].offset);
      cursor = starts[i].offset;
      if (sample != nullptr && sample->FrameCount() > 0) {
        // A voice still sounding starts again; what it still had to play
        // fades out beside the new start instead of breaking off.
        if (playback.playing) {
          playback.tail = {playback.position, kFadeFrames, playback.gainLeft, playback.gainRight};
        }
        playback.playing = true;
        playback.position = 0;
        playback.level = starts[i].level;
        // The voice starts at its level: no glide on its first frame.
        const TStereoGain start = GainForVolumeAndPan(playback.level, pan);
        playback.gainLeft = start.Left;
        playback.gainRight = start.Right;
      }
    }
    const TStereoGain target = GainForVolumeAndPan(playback.level, pan);
    RenderVoice(playback, out, cursor, frames, target.Left, target.Right);
    RenderTail(playback, out, cursor, frames);
    sounding = sounding || playback.playing || playback.tail.remaining > 0;
  }

  sounding_.store(sounding, std::memory_order_relaxed);
  if (sounding) {
    soundingBlocks_.fetch_add(1, std::memory_order_relaxed);
  }
  framesRendered_.store(blockEnd, std::memory_order_release);
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
    float* frameOut = out + 2 * std::ptrdiff_t{i};
    frameOut[0] += frames[2 * playback.position] * left;
    frameOut[1] += frames[2 * playback.position + 1] * right;
    if (++playback.position >= length) {
      playback.playing = false;
      break;
    }
  }
  playback.gainLeft = left;
  playback.gainRight = right;
}

void TMixer::RenderTail(TPlayback& playback, float* out, int from, int to) noexcept {
  TTail& tail = playback.tail;
  if (tail.remaining <= 0 || playback.sample == nullptr) {
    return;
  }
  const float* data = playback.sample->Frames.data();
  const std::size_t length = playback.sample->FrameCount();
  for (int i = from; i < to && tail.remaining > 0 && tail.position < length; ++i) {
    const float ramp = static_cast<float>(--tail.remaining) / static_cast<float>(kFadeFrames);
    float* frameOut = out + 2 * std::ptrdiff_t{i};
    frameOut[0] += data[2 * tail.position] * tail.gainLeft * ramp;
    frameOut[1] += data[2 * tail.position + 1] * tail.gainRight * ramp;
    ++tail.position;
  }
  if (tail.position >= length) {
    tail.remaining = 0;
  }
}

void TMixer::FadeOut(const TPlayback& playback, float* out, int frames) noexcept {
  const float* data = playback.sample->Frames.data();
  const std::size_t length = playback.sample->FrameCount();
  const int fade = std::min(frames, kFadeFrames);
  std::size_t position = playback.position;
  for (int i = 0; i < fade && position < length; ++i, ++position) {
    const float ramp = 1.0F - static_cast<float>(i + 1) / static_cast<float>(fade);
    float* frameOut = out + 2 * std::ptrdiff_t{i};
    frameOut[0] += data[2 * position] * playback.gainLeft * ramp;
    frameOut[1] += data[2 * position + 1] * playback.gainRight * ramp;
  }
}

}  // namespace zelmora
