#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "core/config_controls.h"
#include "core/practice_settings.h"
#include "core/wake_signal.h"

namespace zelmora {

// The one in-memory record of every user setting during a run. Fields are
// read directly; every change goes through a setter, which clamps, stores,
// and then writes the controls showing the value only where they show
// something else. A control that has to clamp calls the setter back with
// its own value, so a field ends up inside its control's range whenever the
// control had to move.
//
// The non-atomic fields belong to the user-interface thread, as the
// setters do; the ticker reads the atomic fields and
// BeatPatternForPlayers() once per beat, without locks.
class TConfig {
 public:
  // Thread: ui
  TConfig() = default;
  TConfig(const TConfig&) = delete;
  TConfig& operator=(const TConfig&) = delete;

  // Fields, in the order of the settings record. Levels are hundredths of a
  // decibel; 0 is the sample's own level, -10000 silence.
  int Pan = 0;  // as on the pan slider; the voices get -Pan
  bool StayOnTop = false;
  bool TapMode = false;
  std::atomic<int> Tempo{0};             // beats per minute, 20..416
  std::atomic<int> Volume{0};            // accented beat, -10000..0
  std::atomic<int> VolumeRegularDif{0};  // regular beat relative to Volume, -10000..0
  std::string BeatPattern;               // one character per beat, see beat_pattern.h
  std::atomic<int> BellVolume{0};        // bell relative to Volume; bounded by its slider
  bool BoostVolume = false;
  std::atomic<bool> Bell{false};
  std::string MeterText;  // last text handed to SetMeterText
  int MainLeft = 0;
  int MainTop = 0;
  int BigPanelWidth = 0;
  int BigPanelHeight = 0;
  int BigPanelLeft = 0;
  int BigPanelTop = 0;
  bool PanelDocked = false;
  int PanelOffsetX = 0;
  int PanelOffsetY = 0;
  // Added after the twenty values above.
  std::atomic<int> VisualOffset{0};  // ms; a positive value shows the beat later
  TPracticeSettings Practice;        // the practice tools
  // The sound output by name ("<host API>: <device name>"), or
  // kDefaultOutput; a name not found plays on the default and is kept.
  std::string OutputDevice{kDefaultOutput};

  // Counts the tempo changes made by hand (every one but the speed
  // trainer's): the trainer leaves the tempo alone once one has been made.
  std::atomic<std::uint64_t> TempoSetByHand{0};

  // Notified when the beat schedule changes (the tempo), so that the
  // scheduler's sleep is cut short.
  TWakeSignal ScheduleChanged;

  TConfigControls Controls;

  // Who sets a tempo: the user (through any control, the tap, the load) or
  // the speed trainer.
  enum class TTempoChange { ByHand, ByTrainer };
  // Thread: ui
  void SetTempo(int value, TTempoChange change = TTempoChange::ByHand);
  void SetVolume(int value);
  void SetVolumeRegularDif(int value);
  void SetBellVolume(int value);
  void SetPan(int value);
  void SetBoostVolume(bool value);
  void SetBell(bool value);
  void SetStayOnTop(bool value);
  void SetTapMode(bool value);
  void SetVisualOffset(int value);
  // An empty name is the system default.
  void SetOutputDevice(std::string_view name);

  // The practice tools, each clamped to its range (practice_settings.h).
  // They act from the next beat or bar.
  // Thread: ui
  void SetSubdivision(int value);
  void SetSwing(int value);
  void SetSubdivisionVolume(int value);
  void SetSubdivisionSound(int bankIndex, std::string_view file);
  void SetLayerClicks(int value);
  void SetLayerVolume(int value);
  void SetLayerSound(int bankIndex, std::string_view file);
  void SetCountInBars(int value);
  void SetTrainer(bool value);
  void SetTrainerStart(int value);
  void SetTrainerTarget(int value);
  void SetTrainerStep(int value);
  void SetTrainerEveryBars(int value);
  void SetTrainerAtTarget(int value);
  void SetGapPlayBars(int value);
  void SetGapMuteBars(int value);
  void SetGapRandomPercent(int value);
  void SetPracticeMinutes(int value);

  // Accepts any pattern, the empty one included, and brings the beat count
  // label and the meter box up to date.
  // Thread: ui
  void SetBeatPattern(std::string_view pattern);
  // Parses a meter text and installs its pattern when it differs. Throws
  // TError for a text that does not parse; the pattern stays as it was.
  // Thread: ui
  void SetMeterText(std::string_view text);

  // The pattern as the players see it: always a whole pattern, the old or
  // the new one. Not for the audio thread: the shared pointer's load may
  // wait a moment for a store on another thread.
  // Thread: any but audio
  std::shared_ptr<const std::string> BeatPatternForPlayers() const {
    return publishedPattern_.load(std::memory_order_acquire);
  }

  // From now on the setters belong to the calling thread, and builds
  // without NDEBUG assert that no other thread calls them. The program
  // calls this on its user-interface thread; a settings object that no one
  // binds (in a test, on a thread standing in for it) is not checked.
  // Thread: ui
  void BindSettersToThisThread() { setterThread_ = std::this_thread::get_id(); }

  static constexpr int kMinTempo = 20;
  static constexpr int kMaxTempo = 416;
  static constexpr int kSilence = -10000;
  static constexpr int kMinVisualOffset = -150;
  static constexpr int kMaxVisualOffset = 150;
  static constexpr std::string_view kDefaultOutput = "System default";
  static_assert(ClampTrainerTempo(0) == kMinTempo && ClampTrainerTempo(1000) == kMaxTempo);

 private:
  class TSetting;

  std::atomic<std::shared_ptr<const std::string>> publishedPattern_{
      std::make_shared<const std::string>()};
  // The thread the setters belong to; none until it is bound.
  std::thread::id setterThread_;
};

// Display text of the tempo: three digits from 20 to 416 ("020", "416").
// Thread: any
std::string TempoDisplayText(int tempo);

// A level set relative to another (hundredths of a decibel), for the
// voices: the sum, kept within 32 bits whatever a settings file held.
// Thread: any
int RelativeLevel(int level, int difference);

}  // namespace zelmora
