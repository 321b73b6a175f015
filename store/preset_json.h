#pragma once

#include <QByteArray>

#include <string>

#include "store/presets.h"

namespace zelmora {

// The presets as JSON, the one shape of the preset file and of an exported
// setlist:
//   {"version": 1,
//    "presets": [{"name": "...", "settings": {"Tempo": "96", ...}}, ...],
//    "setlists": [{"name": "...", "presets": ["...", ...]}, ...],
//    "current": {"setlist": "...", "preset": "..."}}
// "All presets" is not written; "setlists" and "current" may be left out (a
// file written by hand), and a place that does not exist is not kept.
// Every other member is needed as shown.
inline constexpr int kPresetFileVersion = 1;

// Thread: any
QByteArray PresetJson(const TPresetLibrary& library);

struct TPresetJson {
  enum class TOutcome {
    Read,     // Library holds what the text says
    Damaged,  // not JSON, or not of the shape above: Problem says why
    Newer,    // of a later version (Version), whose shape this program cannot know
  };
  TOutcome Outcome = TOutcome::Read;
  TPresetLibrary Library;
  std::string Problem;
  int Version = 0;
};

// Thread: any
TPresetJson ParsePresetJson(const QByteArray& json);

}  // namespace zelmora
