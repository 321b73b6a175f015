// The mixer's render runs in the output's callback, where taking memory
// from the heap can block for as long as another thread holds the
// allocator's lock. This test counts every operator new and delete made
// while Render runs, through a whole life of the voices: starts on frames,
// a start as soon as possible, a retrigger, a level set while sounding,
// withdrawn starts, a sample swapped while it sounds.

#include <QTest>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "audio/beat_voice.h"
#include "audio/mixer.h"

namespace {

std::atomic<bool> gCounting{false};
std::atomic<int> gHeapCalls{0};

void CountHeapCall() {
  if (gCounting.load(std::memory_order_relaxed)) {
    gHeapCalls.fetch_add(1, std::memory_order_relaxed);
  }
}

}  // namespace

void* operator new(std::size_t size) {
  CountHeapCall();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
  CountHeapCall();
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  CountHeapCall();
  std::free(memory);
}

using namespace zelmora;

namespace {

constexpr int kRate = 48000;
constexpr int kBlock = 256;

std::unique_ptr<TVoiceSample> Sample(std::size_t frames, float level) {
  auto sample = std::make_unique<TVoiceSample>();
  sample->Frames.assign(2 * frames, level);
  return sample;
}

}  // namespace

class RenderRealtimeTest : public QObject {
  Q_OBJECT

 private slots:
  void renderNeitherAllocatesNorFrees() {
    TMixer mixer(kRate);
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), Sample(3000, 0.5F));
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Regular), Sample(500, 0.25F));
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Bell), Sample(9000, 0.1F));
    std::vector<float> block(2 * kBlock);
    double heardNs = 1e9;
    int heapCalls = 0;
    const auto render = [&](int blocks) {
      for (int i = 0; i < blocks; ++i) {
        gCounting = true;
        mixer.Render(block.data(), kBlock, heardNs, heardNs - 10e6);
        gCounting = false;
        heapCalls += gHeapCalls.exchange(0);
        heardNs += kBlock * 1e9 / kRate;
      }
    };

    render(4);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 2000, -300, 7);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 3000, 0, 7);  // while the first sounds
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Bell), 2000, -600, 7);
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Regular), 9000, -900, 8);
    mixer.Withdraw(8);
    render(20);
    mixer.PlayVoice(SlotOf(TVoiceRole::Regular));
    mixer.SetVoiceVolume(SlotOf(TVoiceRole::Bell), -2000);
    mixer.SetVoicePan(SlotOf(TVoiceRole::Accent), 3000);
    render(10);
    // The old sample is retired by the render and freed by its owner later.
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Bell), Sample(100, 0.3F));
    render(10);
    mixer.CollectRetired();

    QCOMPARE(heapCalls, 0);
  }

  // A sound fading out ends among numbers too small to be normal floats;
  // the render works with them as zero.
  void subnormalSoundIsSilence() {
    TMixer mixer(kRate);
    mixer.SetVoiceSample(SlotOf(TVoiceRole::Accent), Sample(1000, 1e-39F));
    mixer.PlayVoiceAtFrame(SlotOf(TVoiceRole::Accent), 0, 0, 1);
    std::vector<float> block(2 * kBlock, 1.0F);
    mixer.Render(block.data(), kBlock, 1e9, 0.99e9);
    // Exactly zero: QCOMPARE would take a tiny number for zero.
    QVERIFY(std::all_of(block.begin(), block.end(), [](float value) { return value == 0.0F; }));
  }
};

QTEST_GUILESS_MAIN(RenderRealtimeTest)
#include "render_realtime_test.moc"
