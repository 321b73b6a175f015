#include "store/preset_exchange.h"

#include <map>
#include <utility>

namespace zelmora {

TPresetLibrary SetlistAlone(const TPresetLibrary& library, std::string_view setlist) {
  TPresetLibrary alone;
  const std::vector<std::string> names = library.SetlistPresets(setlist);
  for (const std::string& name : names) {
    alone.AddPreset(name, library.FindPreset(name)->Settings);
  }
  if (setlist != TPresetLibrary::kAllPresets) {
    alone.AddSetlist(setlist);
    for (const std::string& name : names) {
      alone.AddToSetlist(setlist, name);
    }
  }
  return alone;
}

std::vector<std::string> MergePresets(TPresetLibrary& library, const TPresetLibrary& imported,
                                      const TPresetConflictQuestion& ask) {
  TPresetLibrary merged = library;
  // An imported preset kept beside ours of the same name, under its new
  // name. The new name is free in both libraries, so that it cannot meet
  // an imported preset that comes later.
  std::map<std::string, std::string, std::less<>> renamed;
  const auto taken = [&](std::string_view name) {
    return merged.FindPreset(name) != nullptr || imported.FindPreset(name) != nullptr;
  };
  for (const TPreset& preset : imported.Presets()) {
    const TPreset* ours = merged.FindPreset(preset.Name);
    if (ours == nullptr) {
      merged.AddPreset(preset.Name, preset.Settings);
      continue;
    }
    if (ours->Settings == preset.Settings) {
      continue;
    }
    switch (ask(*ours, preset)) {
      case TPresetConflict::KeepBoth:
        renamed[preset.Name] =
            merged.AddPreset(UnusedName(preset.Name, taken), preset.Settings).Name;
        break;
      case TPresetConflict::Replace:
        merged.OverwritePreset(preset.Name, preset.Settings);
        break;
      case TPresetConflict::KeepOurs:
        break;
    }
  }
  std::vector<std::string> added;
  for (const TSetlist& setlist : imported.Setlists()) {
    const std::string name = merged.UnusedSetlistName(setlist.Name);
    merged.AddSetlist(name);
    for (const std::string& preset : setlist.Presets) {
      const auto newName = renamed.find(preset);
      merged.AddToSetlist(name, newName == renamed.end() ? preset : newName->second);
    }
    added.push_back(name);
  }
  library = std::move(merged);
  return added;
}

}  // namespace zelmora
