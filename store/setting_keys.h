#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace zelmora {

class TConfig;

// The section that holds every setting of the program.
inline constexpr std::string_view kSettingsSection = "Zelmora";

enum class TSettingKind { Integer, Flag, Text };
// LoadSettings reads its keys before the voices exist, LoadVolumes after.
enum class TLoadStep { Settings, Volumes };
using TSettingValue = std::variant<int, bool, std::string>;
// What a setting is to a preset (store/preset_settings.h): left out of it
// (where the windows stand, how they look, the sound output, and the
// visual offset, which suits the machine's latency: they belong to the
// desk, not to the piece),
// part of what is played, or half of the choice of one of the four sounds
// (bank index or file), which the program loads anew when a recall changes
// it.
enum class TPresetRole { None, Played, AccentSound, RegularSound, SubdivisionSound, LayerSound };

// One stored setting: its key, how its text is read and written, what it is
// to a preset, and where its value goes in the settings object and comes
// from. The value a function takes or gives is of the row's kind.
struct TSettingKey {
  std::string_view Name;
  TSettingKind Kind;
  TLoadStep Step;
  TPresetRole PresetRole;
  // The value when none is stored or the text does not convert.
  TSettingValue (*Default)(const TConfig& config);
  void (*Load)(TConfig& config, const TSettingValue& value);
  TSettingValue (*Save)(const TConfig& config);
};

// Every stored setting, in the order the load applies them (the pan reaches
// the voices, so the levels come last). A new setting is one more row.
std::span<const TSettingKey> SettingKeys();

}  // namespace zelmora
