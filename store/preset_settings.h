#pragma once

#include <map>
#include <string>

namespace zelmora {

class TConfig;

// A preset's settings: the settings file's key names (store/setting_keys.cpp)
// to their texts in the file's encoding (store/setting_text.h). Only the
// keys whose row is part of a preset are captured; a map may hold other
// keys too (written by a later version of the program), which recalls pass
// over and the preset file keeps.
using TPresetSettings = std::map<std::string, std::string, std::less<>>;

// Which of the four chosen sounds a recall changed (the bank index or the
// file). The program loads each changed one anew: the accent and regular
// sounds through TSoundChoice::LoadSoundChoice, the subdivision and layer
// sounds through TPracticeSounds::Choose.
struct TChangedSounds {
  bool Accent = false;
  bool Regular = false;
  bool Subdivision = false;
  bool Layer = false;

  // Thread: any
  bool Any() const { return Accent || Regular || Subdivision || Layer; }
  bool operator==(const TChangedSounds&) const = default;
};

// The current setup: every setting that is part of a preset, as the
// settings save would write it.
// Thread: ui
TPresetSettings CapturePreset(const TConfig& config);

// Brings the settings of a preset back through the same setters and in the
// same order as the settings load, so every control follows. A text that
// does not convert gives the setting its usual default, as in the settings
// file. A key the map lacks leaves its setting as it is: a preset saved
// before a setting existed says nothing about it, and the musician's
// current choice is a better guess than a default nobody chose.
// Thread: ui
TChangedSounds RecallPreset(TConfig& config, const TPresetSettings& settings);

}  // namespace zelmora
