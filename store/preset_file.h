#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

#include "store/preset_exchange.h"
#include "store/presets.h"

namespace zelmora {

// presets.json in the settings file's folder (UserSettingsFolder()).
// Thread: any
QString PresetFilePath();

// The user's presets between runs, in the JSON of store/preset_json.h.
//
// Nothing is ever overwritten unread: Save writes only over a file that
// Load has read, or where Load found none. A file that is not JSON of the
// presets' shape is moved aside as "<name>.bad" (an older one of that name
// goes: the newest damage is the one the user was just told of) and the
// library starts empty. A file of a newer version is left where it is, and
// nothing is saved over it during this run: the newer program that wrote
// it still reads it, and an older one cannot tell what its shape means or
// what a rewrite would drop. A file that cannot be read at all (or cannot
// be moved aside) is left too, and not overwritten either.
//
// Thread: any but audio
class TPresetFile {
 public:
  explicit TPresetFile(QString path) : path_(std::move(path)) {}

  struct TLoaded {
    TPresetLibrary Library;
    // What to tell the user (naming the file), or empty.
    std::string Message;
  };
  TLoaded Load();

  // Replaces the file with the library in one step: afterwards it holds
  // the new presets or, when this throws TError (naming the file), the old
  // ones.
  void Save(const TPresetLibrary& library) const;
  // Whether Save may write: Load has read the file or found none.
  bool MayWrite() const { return mayWrite_; }

  const QString& Path() const { return path_; }

 private:
  QString path_;
  bool mayWrite_ = false;
};

// Writes one setlist and the presets it names (SetlistAlone) as a file of
// the presets' shape, in one step. Throws TError naming the file.
// Thread: any but audio
void ExportSetlist(const TPresetLibrary& library, std::string_view setlist, const QString& path);

// Merges a file written by ExportSetlist (or a whole preset file) into the
// library (MergePresets) and returns the names of the setlists added. A
// file that cannot be read, is damaged or is of a newer version throws
// TError naming it, and the library is as it was.
// Thread: any but audio
std::vector<std::string> ImportPresets(TPresetLibrary& library, const QString& path,
                                       const TPresetConflictQuestion& ask);

}  // namespace zelmora
