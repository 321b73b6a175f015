#pragma once

#include <algorithm>
#include <atomic>
#include <string>

namespace zelmora {

// The practice tools' settings, held by the settings object (TConfig's
// Practice, changed only through its setters). Levels are hundredths of a
// decibel relative to Volume. The ticker reads the atomic fields once per
// beat or bar; the sounds belong to the user-interface thread.
struct TPracticeSettings {
  std::atomic<int> Subdivision{1};  // parts per beat, 1..4; 1 = off
  std::atomic<int> Swing{50};       // second part of each pair, % of the pair, 50..75
  std::atomic<int> SubdivisionVolume{-1200};
  int SubdivisionSoundIndex = 5;    // bank entry ("HH Tight"), as the other sound lists
  std::string SoundSubdivision;     // WAV file, empty for a bank entry
  std::atomic<int> LayerClicks{0};  // clicks across each bar: 0 = off, 2..9
  std::atomic<int> LayerVolume{-600};
  int LayerSoundIndex = 9;  // "Claves"
  std::string SoundLayer;
  std::atomic<int> CountInBars{0};  // 0, 1, 2 or 4
  std::atomic<bool> Trainer{false};
  std::atomic<int> TrainerStart{80};  // bpm, 20..416
  std::atomic<int> TrainerTarget{120};
  std::atomic<int> TrainerStep{4};       // bpm per step, 1..20
  std::atomic<int> TrainerEveryBars{2};  // 1..64
  std::atomic<int> TrainerAtTarget{0};   // 0 keep playing, 1 stop with the bell
  std::atomic<int> GapPlayBars{0};       // 0..16; 0 = off
  std::atomic<int> GapMuteBars{1};       // 1..16
  std::atomic<int> GapRandomPercent{0};  // 0..50; above 0 instead of the fixed gaps
  std::atomic<int> PracticeMinutes{0};   // 0..180; 0 = no limit
};

// The ranges the setters keep the values in. A value between the allowed
// ones goes to the nearest allowed one below it (a count-in of 3 bars is
// 2), never above: a layer of 1 click is off.
// Thread: any
constexpr int ClampSubdivision(int value) {
  return std::clamp(value, 1, 4);
}

constexpr int ClampSwing(int value) {
  return std::clamp(value, 50, 75);
}

constexpr int ClampPracticeLevel(int value) {
  return std::clamp(value, -2100, 0);
}

constexpr int ClampLayerClicks(int value) {
  return value < 2 ? 0 : std::min(value, 9);
}

constexpr int ClampCountInBars(int value) {
  if (value >= 4) {
    return 4;
  }
  return value == 3 ? 2 : std::max(value, 0);
}

// As the tempo: TConfig::kMinTempo..kMaxTempo.
constexpr int ClampTrainerTempo(int value) {
  return std::clamp(value, 20, 416);
}

constexpr int ClampTrainerStep(int value) {
  return std::clamp(value, 1, 20);
}

constexpr int ClampTrainerEveryBars(int value) {
  return std::clamp(value, 1, 64);
}

constexpr int ClampTrainerAtTarget(int value) {
  return std::clamp(value, 0, 1);
}

constexpr int ClampGapPlayBars(int value) {
  return std::clamp(value, 0, 16);
}

constexpr int ClampGapMuteBars(int value) {
  return std::clamp(value, 1, 16);
}

constexpr int ClampGapRandomPercent(int value) {
  return std::clamp(value, 0, 50);
}

constexpr int ClampPracticeMinutes(int value) {
  return std::clamp(value, 0, 180);
}

}  // namespace zelmora
