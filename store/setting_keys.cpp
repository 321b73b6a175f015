#include "store/setting_keys.h"

#include <array>

#include "core/config.h"

namespace zelmora {
namespace {

// The bank's "Jam Block" and "Wood Block Hi".
constexpr int kDefaultRegularSound = 17;
constexpr int kDefaultAccentSound = 18;

int AsInt(const TSettingValue& value) {
  return std::get<int>(value);
}
bool AsFlag(const TSettingValue& value) {
  return std::get<bool>(value);
}
const std::string& AsText(const TSettingValue& value) {
  return std::get<std::string>(value);
}

template <int kValue>
TSettingValue Integer(const TConfig& /*config*/) {
  return kValue;
}
template <bool kValue>
TSettingValue Flag(const TConfig& /*config*/) {
  return kValue;
}
TSettingValue NoText(const TConfig& /*config*/) {
  return std::string();
}

constexpr TLoadStep kSettings = TLoadStep::Settings;
constexpr TLoadStep kVolumes = TLoadStep::Volumes;
constexpr TSettingKind kInteger = TSettingKind::Integer;
constexpr TSettingKind kFlag = TSettingKind::Flag;
constexpr TSettingKind kText = TSettingKind::Text;
constexpr TPresetRole kNotInPresets = TPresetRole::None;
constexpr TPresetRole kPlayed = TPresetRole::Played;
constexpr TPresetRole kAccentSound = TPresetRole::AccentSound;
constexpr TPresetRole kRegularSound = TPresetRole::RegularSound;
constexpr TPresetRole kSubdivisionSound = TPresetRole::SubdivisionSound;
constexpr TPresetRole kLayerSound = TPresetRole::LayerSound;

using C = TConfig;
using V = TSettingValue;

const std::array kKeys = {
    TSettingKey{"Tempo", kInteger, kSettings, kPlayed, Integer<120>,
                [](C& c, const V& v) { c.SetTempo(AsInt(v)); },
                [](const C& c) -> V { return c.Tempo.load(); }},
    TSettingKey{"BeatPattern", kText, kSettings, kPlayed,
                [](const C&) -> V { return std::string("Xxxx"); },
                [](C& c, const V& v) { c.SetBeatPattern(AsText(v)); },
                [](const C& c) -> V { return c.BeatPattern; }},
    TSettingKey{"Bell", kFlag, kSettings, kPlayed, Flag<true>,
                [](C& c, const V& v) { c.SetBell(AsFlag(v)); },
                [](const C& c) -> V { return c.Bell.load(); }},
    TSettingKey{"Boost Volume", kFlag, kSettings, kPlayed, Flag<false>,
                [](C& c, const V& v) { c.SetBoostVolume(AsFlag(v)); },
                [](const C& c) -> V { return c.BoostVolume; }},
    TSettingKey{"Sound Regular", kText, kSettings, kRegularSound, NoText,
                [](C& c, const V& v) { c.Controls.OpenDialogReg->SetValue(AsText(v)); },
                [](const C& c) -> V { return c.Controls.OpenDialogReg->Value(); }},
    TSettingKey{"Sound Accent", kText, kSettings, kAccentSound, NoText,
                [](C& c, const V& v) { c.Controls.OpenDialogAcc->SetValue(AsText(v)); },
                [](const C& c) -> V { return c.Controls.OpenDialogAcc->Value(); }},
    // Pending selections, applied once the sound lists are filled.
    TSettingKey{"Regular Sound Index", kInteger, kSettings, kRegularSound,
                Integer<kDefaultRegularSound>,
                [](C& c, const V& v) { c.Controls.sComboBoxReg->SetValue(AsInt(v)); },
                [](const C& c) -> V { return c.Controls.sComboBoxReg->Value(); }},
    TSettingKey{"Accented Sound Index", kInteger, kSettings, kAccentSound,
                Integer<kDefaultAccentSound>,
                [](C& c, const V& v) { c.Controls.sComboBoxAcc->SetValue(AsInt(v)); },
                [](const C& c) -> V { return c.Controls.sComboBoxAcc->Value(); }},
    // Where the main window stands now; without a window, where it was last.
    TSettingKey{"MainLeft", kInteger, kSettings, kNotInPresets,
                [](const C& c) -> V { return c.Controls.WorkArea->Value().Width / 3; },
                [](C& c, const V& v) { c.MainLeft = AsInt(v); },
                [](const C& c) -> V {
                  return c.Controls.MainWindowLeft.IsBound() ? c.Controls.MainWindowLeft->Value()
                                                             : c.MainLeft;
                }},
    TSettingKey{"MainTop", kInteger, kSettings, kNotInPresets,
                [](const C& c) -> V { return c.Controls.WorkArea->Value().Height / 4; },
                [](C& c, const V& v) { c.MainTop = AsInt(v); },
                [](const C& c) -> V {
                  return c.Controls.MainWindowTop.IsBound() ? c.Controls.MainWindowTop->Value()
                                                            : c.MainTop;
                }},
    TSettingKey{"BeatIndicatorVisible", kFlag, kSettings, kNotInPresets, Flag<true>,
                [](C& c, const V& v) { c.Controls.mnuBeatIndicator->SetValue(AsFlag(v)); },
                [](const C& c) -> V { return c.Controls.mnuBeatIndicator->Value(); }},
    TSettingKey{"BigPanelLeft", kInteger, kSettings, kNotInPresets, Integer<50>,
                [](C& c, const V& v) { c.BigPanelLeft = AsInt(v); },
                [](const C& c) -> V { return c.BigPanelLeft; }},
    TSettingKey{"BigPanelTop", kInteger, kSettings, kNotInPresets, Integer<50>,
                [](C& c, const V& v) { c.BigPanelTop = AsInt(v); },
                [](const C& c) -> V { return c.BigPanelTop; }},
    TSettingKey{"BigPanelWidth", kInteger, kSettings, kNotInPresets, Integer<250>,
                [](C& c, const V& v) { c.BigPanelWidth = AsInt(v); },
                [](const C& c) -> V { return c.BigPanelWidth; }},
    TSettingKey{"BigPanelHeight", kInteger, kSettings, kNotInPresets, Integer<250>,
                [](C& c, const V& v) { c.BigPanelHeight = AsInt(v); },
                [](const C& c) -> V { return c.BigPanelHeight; }},
    // The slider snaps the position and sets the skin's hue itself.
    TSettingKey{"Hue", kInteger, kSettings, kNotInPresets, Integer<0>,
                [](C& c, const V& v) { c.Controls.strkbHue->SetValue(AsInt(v)); },
                [](const C& c) -> V { return c.Controls.strkbHue->Value(); }},
    // Added after the twenty values of the first versions.
    TSettingKey{"Visual Offset", kInteger, kSettings, kNotInPresets, Integer<0>,
                [](C& c, const V& v) { c.SetVisualOffset(AsInt(v)); },
                [](const C& c) -> V { return c.VisualOffset.load(); }},
    // The practice tools.
    TSettingKey{"Subdivision", kInteger, kSettings, kPlayed, Integer<1>,
                [](C& c, const V& v) { c.SetSubdivision(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.Subdivision.load(); }},
    TSettingKey{"Swing", kInteger, kSettings, kPlayed, Integer<50>,
                [](C& c, const V& v) { c.SetSwing(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.Swing.load(); }},
    TSettingKey{"Subdivision Volume", kInteger, kSettings, kPlayed, Integer<-1200>,
                [](C& c, const V& v) { c.SetSubdivisionVolume(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.SubdivisionVolume.load(); }},
    TSettingKey{
        "Subdivision Sound Index", kInteger, kSettings, kSubdivisionSound, Integer<5>,
        [](C& c, const V& v) { c.SetSubdivisionSound(AsInt(v), c.Practice.SoundSubdivision); },
        [](const C& c) -> V { return c.Practice.SubdivisionSoundIndex; }},
    TSettingKey{"Sound Subdivision", kText, kSettings, kSubdivisionSound, NoText,
                [](C& c, const V& v) {
                  c.SetSubdivisionSound(c.Practice.SubdivisionSoundIndex, AsText(v));
                },
                [](const C& c) -> V { return c.Practice.SoundSubdivision; }},
    TSettingKey{"Layer Clicks", kInteger, kSettings, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetLayerClicks(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.LayerClicks.load(); }},
    TSettingKey{"Layer Volume", kInteger, kSettings, kPlayed, Integer<-600>,
                [](C& c, const V& v) { c.SetLayerVolume(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.LayerVolume.load(); }},
    TSettingKey{"Layer Sound Index", kInteger, kSettings, kLayerSound, Integer<9>,
                [](C& c, const V& v) { c.SetLayerSound(AsInt(v), c.Practice.SoundLayer); },
                [](const C& c) -> V { return c.Practice.LayerSoundIndex; }},
    TSettingKey{"Sound Layer", kText, kSettings, kLayerSound, NoText,
                [](C& c, const V& v) { c.SetLayerSound(c.Practice.LayerSoundIndex, AsText(v)); },
                [](const C& c) -> V { return c.Practice.SoundLayer; }},
    TSettingKey{"Count In Bars", kInteger, kSettings, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetCountInBars(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.CountInBars.load(); }},
    TSettingKey{"Trainer", kFlag, kSettings, kPlayed, Flag<false>,
                [](C& c, const V& v) { c.SetTrainer(AsFlag(v)); },
                [](const C& c) -> V { return c.Practice.Trainer.load(); }},
    TSettingKey{"Trainer Start", kInteger, kSettings, kPlayed, Integer<80>,
                [](C& c, const V& v) { c.SetTrainerStart(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.TrainerStart.load(); }},
    TSettingKey{"Trainer Target", kInteger, kSettings, kPlayed, Integer<120>,
                [](C& c, const V& v) { c.SetTrainerTarget(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.TrainerTarget.load(); }},
    TSettingKey{"Trainer Step", kInteger, kSettings, kPlayed, Integer<4>,
                [](C& c, const V& v) { c.SetTrainerStep(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.TrainerStep.load(); }},
    TSettingKey{"Trainer Every Bars", kInteger, kSettings, kPlayed, Integer<2>,
                [](C& c, const V& v) { c.SetTrainerEveryBars(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.TrainerEveryBars.load(); }},
    TSettingKey{"Trainer At Target", kInteger, kSettings, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetTrainerAtTarget(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.TrainerAtTarget.load(); }},
    TSettingKey{"Gap Play Bars", kInteger, kSettings, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetGapPlayBars(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.GapPlayBars.load(); }},
    TSettingKey{"Gap Mute Bars", kInteger, kSettings, kPlayed, Integer<1>,
                [](C& c, const V& v) { c.SetGapMuteBars(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.GapMuteBars.load(); }},
    TSettingKey{"Gap Random Percent", kInteger, kSettings, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetGapRandomPercent(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.GapRandomPercent.load(); }},
    TSettingKey{"Practice Minutes", kInteger, kSettings, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetPracticeMinutes(AsInt(v)); },
                [](const C& c) -> V { return c.Practice.PracticeMinutes.load(); }},
    TSettingKey{"Volume", kInteger, kVolumes, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetVolume(AsInt(v)); },
                [](const C& c) -> V { return c.Volume.load(); }},
    TSettingKey{"Volume Regular Dif", kInteger, kVolumes, kPlayed, Integer<-900>,
                [](C& c, const V& v) { c.SetVolumeRegularDif(AsInt(v)); },
                [](const C& c) -> V { return c.VolumeRegularDif.load(); }},
    TSettingKey{"Bell Volume", kInteger, kVolumes, kPlayed, Integer<-600>,
                [](C& c, const V& v) { c.SetBellVolume(AsInt(v)); },
                [](const C& c) -> V { return c.BellVolume.load(); }},
    TSettingKey{"Pan", kInteger, kVolumes, kPlayed, Integer<0>,
                [](C& c, const V& v) { c.SetPan(AsInt(v)); },
                [](const C& c) -> V { return c.Pan; }},
    // Belongs to the desk, not to a piece. A stored output that is absent
    // is kept until the user picks another.
    TSettingKey{"Output Device", kText, kSettings, kNotInPresets,
                [](const C&) -> V { return std::string(TConfig::kDefaultOutput); },
                [](C& c, const V& v) { c.SetOutputDevice(AsText(v)); },
                [](const C& c) -> V { return c.OutputDevice; }},
};

}  // namespace

std::span<const TSettingKey> SettingKeys() {
  return kKeys;
}

}  // namespace zelmora
