#include "store/preset_settings.h"

#include "store/setting_keys.h"
#include "store/setting_text.h"

namespace zelmora {
namespace {

std::string TextOf(const TSettingValue& value) {
  if (const int* integer = std::get_if<int>(&value)) {
    return IntegerText(*integer);
  }
  if (const bool* flag = std::get_if<bool>(&value)) {
    return FlagText(*flag);
  }
  return TextBeforeNul(std::get<std::string>(value));
}

TSettingValue ValueOf(const TSettingKey& key, const std::string& text, const TConfig& config) {
  const TSettingValue fallback = key.Default(config);
  switch (key.Kind) {
    case TSettingKind::Integer:
      return IntegerFromText(text, std::get<int>(fallback));
    case TSettingKind::Flag:
      return FlagFromText(text, std::get<bool>(fallback));
    case TSettingKind::Text:
      break;
  }
  return TextBeforeNul(text);
}

void NoteChange(TChangedSounds& changed, TPresetRole role) {
  switch (role) {
    case TPresetRole::AccentSound:
      changed.Accent = true;
      break;
    case TPresetRole::RegularSound:
      changed.Regular = true;
      break;
    case TPresetRole::SubdivisionSound:
      changed.Subdivision = true;
      break;
    case TPresetRole::LayerSound:
      changed.Layer = true;
      break;
    case TPresetRole::None:
    case TPresetRole::Played:
      break;
  }
}

}  // namespace

TPresetSettings CapturePreset(const TConfig& config) {
  TPresetSettings settings;
  for (const TSettingKey& key : SettingKeys()) {
    if (key.PresetRole != TPresetRole::None) {
      settings.emplace(key.Name, TextOf(key.Save(config)));
    }
  }
  return settings;
}

TChangedSounds RecallPreset(TConfig& config, const TPresetSettings& settings) {
  TChangedSounds changed;
  for (const TSettingKey& key : SettingKeys()) {
    if (key.PresetRole == TPresetRole::None) {
      continue;
    }
    const auto stored = settings.find(key.Name);
    if (stored == settings.end()) {
      continue;
    }
    const TSettingValue before = key.Save(config);
    key.Load(config, ValueOf(key, stored->second, config));
    if (key.Save(config) != before) {
      NoteChange(changed, key.PresetRole);
    }
  }
  return changed;
}

}  // namespace zelmora
