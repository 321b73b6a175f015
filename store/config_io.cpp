#include "store/config_io.h"

#include "core/config.h"
#include "store/ini_ctrl.h"

namespace zelmora {
namespace {

// Named by the first operation of a load or save only; the others follow
// the store's section memory.
constexpr const char* kSection = "Zelmora";

// The bank's "Jam Block" and "Wood Block Hi".
constexpr int kDefaultRegularSound = 17;
constexpr int kDefaultAccentSound = 18;

}  // namespace

void LoadSettings(TConfig& config, TLMDIniCtrl& store) {
  TConfigControls& controls = config.Controls;
  config.SetTempo(store.ReadInteger(kSection, "Tempo", 120));
  config.SetBeatPattern(store.ReadString("", "BeatPattern", "Xxxx"));
  // The main window and the beat panel are created topmost.
  config.StayOnTop = true;
  config.SetBell(store.ReadBool("", "Bell", true));
  config.SetBoostVolume(store.ReadBool("", "Boost Volume", false));
  controls.OpenDialogReg->SetValue(store.ReadString("", "Sound Regular", ""));
  controls.OpenDialogAcc->SetValue(store.ReadString("", "Sound Accent", ""));
  // Pending selections, applied once the sound lists are filled.
  controls.sComboBoxReg->SetValue(
      store.ReadInteger("", "Regular Sound Index", kDefaultRegularSound));
  controls.sComboBoxAcc->SetValue(
      store.ReadInteger("", "Accented Sound Index", kDefaultAccentSound));
  const TWorkArea area = controls.WorkArea->Value();
  config.MainLeft = store.ReadInteger("", "MainLeft", area.Width / 3);
  config.MainTop = store.ReadInteger("", "MainTop", area.Height / 4);
  controls.mnuBeatIndicator->SetValue(store.ReadBool("", "BeatIndicatorVisible", true));
  config.BigPanelLeft = store.ReadInteger("", "BigPanelLeft", 50);
  config.BigPanelTop = store.ReadInteger("", "BigPanelTop", 50);
  config.BigPanelWidth = store.ReadInteger("", "BigPanelWidth", 250);
  config.BigPanelHeight = store.ReadInteger("", "BigPanelHeight", 250);
  // The slider snaps the position and sets the skin's hue itself.
  controls.strkbHue->SetValue(store.ReadInteger("", "Hue", 0));
  // Added after the twenty values above.
  config.SetVisualOffset(store.ReadInteger("", "Visual Offset", 0));
}

void LoadVolumes(TConfig& config, TLMDIniCtrl& store) {
  config.SetVolume(store.ReadInteger("", "Volume", 0));
  config.SetVolumeRegularDif(store.ReadInteger("", "Volume Regular Dif", -900));
  config.SetBellVolume(store.ReadInteger("", "Bell Volume", -600));
  config.SetPan(store.ReadInteger("", "Pan", 0));
}

void SaveSettings(const TConfig& config, TLMDIniCtrl& store) {
  const TConfigControls& controls = config.Controls;
  store.BeginUpdate();
  store.WriteInteger(kSection, "Tempo", config.Tempo);
  store.WriteString("", "BeatPattern", config.BeatPattern);
  store.WriteInteger("", "Volume", config.Volume);
  store.WriteInteger("", "Volume Regular Dif", config.VolumeRegularDif);
  store.WriteInteger("", "Bell Volume", config.BellVolume);
  store.WriteInteger("", "Pan", config.Pan);
  store.WriteBool("", "Boost Volume", config.BoostVolume);
  store.WriteBool("", "Bell", config.Bell);
  // Where the main window stands now; without a window, where it was last.
  store.WriteInteger(
      "", "MainLeft",
      controls.MainWindowLeft.IsBound() ? controls.MainWindowLeft->Value() : config.MainLeft);
  store.WriteInteger(
      "", "MainTop",
      controls.MainWindowTop.IsBound() ? controls.MainWindowTop->Value() : config.MainTop);
  store.WriteString("", "Sound Accent", controls.OpenDialogAcc->Value());
  store.WriteString("", "Sound Regular", controls.OpenDialogReg->Value());
  store.WriteInteger("", "Regular Sound Index", controls.sComboBoxReg->Value());
  store.WriteInteger("", "Accented Sound Index", controls.sComboBoxAcc->Value());
  store.WriteBool("", "BeatIndicatorVisible", controls.mnuBeatIndicator->Value());
  store.WriteInteger("", "BigPanelLeft", config.BigPanelLeft);
  store.WriteInteger("", "BigPanelTop", config.BigPanelTop);
  store.WriteInteger("", "BigPanelWidth", config.BigPanelWidth);
  store.WriteInteger("", "BigPanelHeight", config.BigPanelHeight);
  store.WriteInteger("", "Hue", controls.strkbHue->Value());
  store.WriteInteger("", "Visual Offset", config.VisualOffset);
  store.EndUpdate();
}

}  // namespace zelmora
