#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/presets.h"

namespace zelmora {

// What to do when an imported preset has the name of one of ours but other
// settings.
enum class TPresetConflict {
  KeepBoth,  // the imported one is added under a free name, "Name (2)"
  Replace,   // ours takes the imported settings (as OverwritePreset)
  KeepOurs,  // the imported one is dropped; its setlists name ours
};
using TPresetConflictQuestion =
    std::function<TPresetConflict(const TPreset& ours, const TPreset& imported)>;

// What an exported setlist file holds: the setlist and the presets it
// names, in its order. "All presets" gives every preset and no setlist
// (it is not stored).
// Thread: any
TPresetLibrary SetlistAlone(const TPresetLibrary& library, std::string_view setlist);

// Merges imported presets and setlists into the library by name. A new
// preset is added; one of the same name and the same settings is the same
// preset; one of the same name and other settings is put to `ask`, once
// for each. Every imported setlist is then added, under a free name when
// its own is taken, naming the presets as they ended up. Returns the names
// the setlists were added under. When `ask` throws, the library is as it
// was. The current place stays.
// Thread: any
std::vector<std::string> MergePresets(TPresetLibrary& library, const TPresetLibrary& imported,
                                      const TPresetConflictQuestion& ask);

}  // namespace zelmora
