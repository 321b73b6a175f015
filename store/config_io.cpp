#include "store/config_io.h"

#include <string>

#include "core/config.h"
#include "store/ini_ctrl.h"
#include "store/setting_keys.h"

namespace zelmora {
namespace {

// Only the first operation of a load or a save names the section; the
// others follow the store's section memory.
std::string_view SectionFor(bool first) {
  return first ? kSettingsSection : std::string_view();
}

void LoadStep(TConfig& config, TLMDIniCtrl& store, TLoadStep step, bool namesSection) {
  bool first = namesSection;
  for (const TSettingKey& key : SettingKeys()) {
    if (key.Step != step) {
      continue;
    }
    const std::string_view section = SectionFor(first);
    first = false;
    const TSettingValue fallback = key.Default(config);
    switch (key.Kind) {
      case TSettingKind::Integer:
        key.Load(config, store.ReadInteger(section, key.Name, std::get<int>(fallback)));
        break;
      case TSettingKind::Flag:
        key.Load(config, store.ReadBool(section, key.Name, std::get<bool>(fallback)));
        break;
      case TSettingKind::Text:
        key.Load(config, store.ReadString(section, key.Name, std::get<std::string>(fallback)));
        break;
    }
  }
}

}  // namespace

void LoadSettings(TConfig& config, TLMDIniCtrl& store) {
  // The main window and the beat panel are created topmost.
  config.StayOnTop = true;
  LoadStep(config, store, TLoadStep::Settings, true);
}

void LoadVolumes(TConfig& config, TLMDIniCtrl& store) {
  LoadStep(config, store, TLoadStep::Volumes, false);
}

void SaveSettings(const TConfig& config, TLMDIniCtrl& store) {
  store.BeginUpdate();
  bool first = true;
  for (const TSettingKey& key : SettingKeys()) {
    const std::string_view section = SectionFor(first);
    first = false;
    const TSettingValue value = key.Save(config);
    switch (key.Kind) {
      case TSettingKind::Integer:
        store.WriteInteger(section, key.Name, std::get<int>(value));
        break;
      case TSettingKind::Flag:
        store.WriteBool(section, key.Name, std::get<bool>(value));
        break;
      case TSettingKind::Text:
        store.WriteString(section, key.Name, std::get<std::string>(value));
        break;
    }
  }
  store.EndUpdate();
}

}  // namespace zelmora
