#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "store/preset_settings.h"

namespace zelmora {

// A named setup for one piece.
struct TPreset {
  std::string Name;
  TPresetSettings Settings;

  // Thread: any
  bool operator==(const TPreset&) const = default;
};

// A named running order of presets, such as a gig's. A preset appears in a
// setlist at most once, so that the place in it is known by the preset's
// name alone (the preset file stores it so).
struct TSetlist {
  std::string Name;
  std::vector<std::string> Presets;

  // Thread: any
  bool operator==(const TSetlist&) const = default;
};

// Where the musician stands: a setlist and one of its presets, or no preset
// (an empty name).
struct TPresetPlace {
  std::string Setlist;
  std::string Preset;

  // Thread: any
  bool operator==(const TPresetPlace&) const = default;
};

enum class TPresetStep { Next, Previous };

// Every preset, the setlists and the current place. Besides the stored
// setlists there is always "All presets": every preset in the library's
// order, which cannot be renamed or deleted and is not stored.
//
// Every name given is trimmed first. Names must not be empty and are
// unique among the presets and among the setlists, compared exactly (case
// and all), as the preset file and the setlists name them.
// An operation that would break any of this, or that names a preset or a
// setlist that does not exist, throws TError with a message for the user
// and changes nothing. It changes only the library: the program saves it
// (TPresetFile) and recalls a preset (RecallPreset) itself.
//
// References and pointers into the library last until its next change.
class TPresetLibrary {
 public:
  static constexpr std::string_view kAllPresets = "All presets";

  // Thread: any
  const std::vector<TPreset>& Presets() const { return presets_; }
  // nullptr when there is none of that name.
  const TPreset* FindPreset(std::string_view name) const;
  // The stored setlists: every one but "All presets".
  const std::vector<TSetlist>& Setlists() const { return setlists_; }
  bool HasSetlist(std::string_view name) const;
  // The setlist's presets in order.
  std::vector<std::string> SetlistPresets(std::string_view setlist) const;

  // Thread: any
  // Appends a preset to the library, so to the end of "All presets"; it
  // joins no other setlist, and the current place stays.
  const TPreset& AddPreset(std::string_view name, TPresetSettings settings);
  // Gives a preset the settings of a newer capture. Keys the capture lacks
  // stay: they come from a later version of the program, which still needs
  // them.
  void OverwritePreset(std::string_view name, const TPresetSettings& settings);
  // Every setlist that names the preset, and the current place, follow.
  void RenamePreset(std::string_view name, std::string_view newName);
  // Also from every setlist; the current place then has no preset.
  void DeletePreset(std::string_view name);
  // `wanted` (trimmed) when no preset has it, otherwise the first free one
  // of "wanted (2)", "wanted (3)", ...
  std::string UnusedPresetName(std::string_view wanted) const;

  // Thread: any
  // A new setlist is empty and comes last.
  void AddSetlist(std::string_view name);
  void RenameSetlist(std::string_view name, std::string_view newName);
  // The presets stay in the library; a current place in the setlist moves
  // to "All presets", at the same preset.
  void DeleteSetlist(std::string_view name);
  // Appends a preset to a stored setlist.
  void AddToSetlist(std::string_view setlist, std::string_view preset);
  // Takes a preset out of a stored setlist (it stays in the library).
  void RemoveFromSetlist(std::string_view setlist, std::string_view preset);
  // Moves the preset at position `from` of the setlist to position `to`,
  // the others closing up. In "All presets" this orders the library.
  // Throws std::out_of_range for a position past the end.
  void MoveInSetlist(std::string_view setlist, std::size_t from, std::size_t to);
  std::string UnusedSetlistName(std::string_view wanted) const;

  // Thread: any
  // At first "All presets" without a preset.
  const TPresetPlace& Current() const { return current_; }
  // `preset` is empty or one of the setlist's presets.
  void SetCurrent(std::string_view setlist, std::string_view preset);
  // Moves to the next or the previous preset of the current setlist and
  // returns it, for the program to recall. At either end it stays where it
  // is and returns nullptr: on stage, one press too many must not jump
  // from the last song back to the first with a tempo nobody expects.
  // Without a current preset either step goes to the setlist's first, as a
  // set starts there.
  const TPreset* Step(TPresetStep step);

 private:
  std::string NewPresetName(std::string_view name) const;
  std::string NewSetlistName(std::string_view name) const;

  std::vector<TPreset> presets_;
  std::vector<TSetlist> setlists_;
  TPresetPlace current_{std::string(kAllPresets), {}};
};

// `wanted` (trimmed) when `taken` says it is free, otherwise the first free
// one of "wanted (2)", "wanted (3)", ...
// Thread: any
std::string UnusedName(std::string_view wanted,
                       const std::function<bool(std::string_view name)>& taken);

}  // namespace zelmora
