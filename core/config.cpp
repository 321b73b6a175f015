#include "core/config.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <limits>

#include "core/beat_pattern.h"

namespace zelmora {
namespace {

// Writes a control only when it shows something else, so that an unchanged
// value never runs the control's change handler or disturbs the user.
template <typename T>
void ShowIfDifferent(TBinding<T>& control, const T& value) {
  if (control->Value() != value) {
    control->SetValue(value);
  }
}

int ClampLevel(int value) {
  return std::clamp(value, TConfig::kSilence, 0);
}

// Minus the pan, for the voices; the one 32-bit value without a negative
// gets the nearest one.
int NegatedPan(int pan) {
  return pan == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -pan;
}

}  // namespace

// Made by every setter: the setters write plain fields and the controls,
// which only their own thread may do. Builds without NDEBUG assert it.
class TConfig::TSetting {
 public:
  explicit TSetting([[maybe_unused]] const TConfig& config) {
    assert((config.setterThread_ == std::thread::id() ||
            config.setterThread_ == std::this_thread::get_id()) &&
           "TConfig setter called off the thread the setters belong to");
  }
  TSetting(const TSetting&) = delete;
  TSetting& operator=(const TSetting&) = delete;
};

int RelativeLevel(int level, int difference) {
  const std::int64_t sum = std::int64_t{level} + difference;
  return static_cast<int>(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

std::string TempoDisplayText(int tempo) {
  const std::string digits = std::to_string(tempo);
  return tempo <= 99 ? "0" + digits : digits;
}

void TConfig::SetTempo(int value, TTempoChange change) {
  const TSetting setting(*this);
  // A value outside the range is always clamped and shown, also when the
  // field holds the same out-of-range value (0, before the first load).
  const bool inRange = value >= kMinTempo && value <= kMaxTempo;
  if (inRange && value == Tempo) {
    return;
  }
  Tempo = std::clamp(value, kMinTempo, kMaxTempo);
  if (change == TTempoChange::ByHand) {
    TempoSetByHand.fetch_add(1, std::memory_order_relaxed);
  }
  ScheduleChanged.Notify();
  Controls.sPanel1->SetValue(TempoDisplayText(Tempo));
  // The fader runs upside down and only reacts to the user's own moves, so
  // setting it never calls back.
  Controls.sTrackBarTempo->SetValue(-Tempo);
}

void TConfig::SetVolume(int value) {
  const TSetting setting(*this);
  if (value != Volume) {
    Volume = ClampLevel(value);
  }
  ShowIfDifferent(Controls.sTrackBarVol, -Volume.load());
}

void TConfig::SetVolumeRegularDif(int value) {
  const TSetting setting(*this);
  if (value != VolumeRegularDif) {
    VolumeRegularDif = ClampLevel(value);
  }
  ShowIfDifferent(Controls.sTrackBarRegDif, VolumeRegularDif.load());
}

void TConfig::SetBellVolume(int value) {
  const TSetting setting(*this);
  BellVolume = value;
  ShowIfDifferent(Controls.strbBellVolume, value);
}

void TConfig::SetPan(int value) {
  const TSetting setting(*this);
  Pan = value;
  const int voicePan = NegatedPan(value);
  Controls.BellVoicePan->SetValue(voicePan);
  Controls.AccentVoicePan->SetValue(voicePan);
  Controls.RegularVoicePan->SetValue(voicePan);
  ShowIfDifferent(Controls.sTrackBarPan, value);
}

void TConfig::SetBoostVolume(bool value) {
  const TSetting setting(*this);
  BoostVolume = value;
  ShowIfDifferent(Controls.chkBoostVolume, value);
}

void TConfig::SetBell(bool value) {
  const TSetting setting(*this);
  Bell = value;
  ShowIfDifferent(Controls.Bellsound1, value);
}

void TConfig::SetStayOnTop(bool value) {
  const TSetting setting(*this);
  StayOnTop = value;
  Controls.BeatPanelTopmost->SetValue(value);
  Controls.MainWindowTopmost->SetValue(value);
  ShowIfDifferent(Controls.sckbStayOnTop, value);
}

void TConfig::SetTapMode(bool value) {
  const TSetting setting(*this);
  if (value == TapMode) {
    return;
  }
  TapMode = value;
  Controls.sButton2OwnFont->SetValue(value);
  Controls.lblTapVisible->SetValue(value);
}

void TConfig::SetVisualOffset(int value) {
  const TSetting setting(*this);
  VisualOffset = std::clamp(value, kMinVisualOffset, kMaxVisualOffset);
  ShowIfDifferent(Controls.strkbVisualOffset, VisualOffset.load());
}

void TConfig::SetOutputDevice(std::string_view name) {
  const TSetting setting(*this);
  OutputDevice = name.empty() ? kDefaultOutput : name;
  ShowIfDifferent(Controls.cmbOutputDevice, OutputDevice);
  ShowIfDifferent(Controls.AudioOutput, OutputDevice);
}

void TConfig::SetSubdivision(int value) {
  const TSetting setting(*this);
  Practice.Subdivision = ClampSubdivision(value);
}

void TConfig::SetSwing(int value) {
  const TSetting setting(*this);
  Practice.Swing = ClampSwing(value);
}

void TConfig::SetSubdivisionVolume(int value) {
  const TSetting setting(*this);
  Practice.SubdivisionVolume = ClampPracticeLevel(value);
}

void TConfig::SetSubdivisionSound(int bankIndex, std::string_view file) {
  const TSetting setting(*this);
  Practice.SubdivisionSoundIndex = bankIndex;
  Practice.SoundSubdivision = file;
}

void TConfig::SetLayerClicks(int value) {
  const TSetting setting(*this);
  Practice.LayerClicks = ClampLayerClicks(value);
}

void TConfig::SetLayerVolume(int value) {
  const TSetting setting(*this);
  Practice.LayerVolume = ClampPracticeLevel(value);
}

void TConfig::SetLayerSound(int bankIndex, std::string_view file) {
  const TSetting setting(*this);
  Practice.LayerSoundIndex = bankIndex;
  Practice.SoundLayer = file;
}

void TConfig::SetCountInBars(int value) {
  const TSetting setting(*this);
  Practice.CountInBars = ClampCountInBars(value);
}

void TConfig::SetTrainer(bool value) {
  const TSetting setting(*this);
  Practice.Trainer = value;
}

void TConfig::SetTrainerStart(int value) {
  const TSetting setting(*this);
  Practice.TrainerStart = ClampTrainerTempo(value);
}

void TConfig::SetTrainerTarget(int value) {
  const TSetting setting(*this);
  Practice.TrainerTarget = ClampTrainerTempo(value);
}

void TConfig::SetTrainerStep(int value) {
  const TSetting setting(*this);
  Practice.TrainerStep = ClampTrainerStep(value);
}

void TConfig::SetTrainerEveryBars(int value) {
  const TSetting setting(*this);
  Practice.TrainerEveryBars = ClampTrainerEveryBars(value);
}

void TConfig::SetTrainerAtTarget(int value) {
  const TSetting setting(*this);
  Practice.TrainerAtTarget = ClampTrainerAtTarget(value);
}

void TConfig::SetGapPlayBars(int value) {
  const TSetting setting(*this);
  Practice.GapPlayBars = ClampGapPlayBars(value);
}

void TConfig::SetGapMuteBars(int value) {
  const TSetting setting(*this);
  Practice.GapMuteBars = ClampGapMuteBars(value);
}

void TConfig::SetGapRandomPercent(int value) {
  const TSetting setting(*this);
  Practice.GapRandomPercent = ClampGapRandomPercent(value);
}

void TConfig::SetPracticeMinutes(int value) {
  const TSetting setting(*this);
  Practice.PracticeMinutes = ClampPracticeMinutes(value);
}

void TConfig::SetBeatPattern(std::string_view pattern) {
  const TSetting setting(*this);
  BeatPattern = pattern;
  // Made before the store; the old one is freed by its last reader.
  publishedPattern_.store(std::make_shared<const std::string>(BeatPattern),
                          std::memory_order_release);
  ShowIfDifferent(Controls.slblTimeSignNum, std::to_string(BeatPattern.size()));
  ShowIfDifferent(Controls.scmbMeterNum, PatternToMeterText(BeatPattern));
}

void TConfig::SetMeterText(std::string_view text) {
  const TSetting setting(*this);
  MeterText = text;
  const std::string pattern = MeterTextToPattern(text);
  if (pattern == BeatPattern) {
    return;
  }
  SetBeatPattern(pattern);
  // Keep the user's own way of writing the bar ("0+3", "3+") in the box.
  ShowIfDifferent(Controls.scmbMeterNum, std::string(text));
}

}  // namespace zelmora
