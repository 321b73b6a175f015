#pragma once

#include <QString>

#include <functional>
#include <string>
#include <string_view>

#include "core/listeners.h"
#include "core/scope.h"
#include "store/preset_file.h"
#include "store/presets.h"

namespace zelmora {

class TConfig;
class TMetronome;

// What a window shows of the presets: called after every change of the
// library or of the current place.
//
// Thread: ui (every call)
class TPresetView {
 public:
  virtual void PresetsChanged() = 0;

 protected:
  ~TPresetView() = default;
};

// The presets of this run: the library read from the preset file, saved
// after every change (the current place included), and the recall of a
// preset into the settings object, from the next bar while the metronome
// runs.
//
// Thread: ui (every call)
class TPresetSession {
 public:
  struct TPorts {
    TConfig& config;
    TMetronome& metronome;
    // After every recall: loads the sounds it changed (the message of a
    // missing file is the loader's business) and shows the new settings
    // in windows that do not follow the settings object by themselves.
    std::function<void(const TChangedSounds&)> recalled;
    // Tells the user of a damaged file or a failed save.
    std::function<void(const std::string&)> report;
  };

  TPresetSession(TPorts ports, QString path);

  // Reads the preset file; a damaged one is moved aside and reported.
  void Load();

  const TPresetLibrary& Library() const { return library_; }
  // The current preset's name; empty when there is none.
  const std::string& CurrentPresetName() const { return library_.Current().Preset; }
  TScope AddView(TPresetView& view) { return views_.Add(view); }

  // Changes the library and saves it. An edit that throws TError leaves
  // the library as it was and passes the error on; a save that fails is
  // reported (once, until a save succeeds again) and the change stays.
  void Edit(const std::function<void(TPresetLibrary&)>& edit);

  // The current setup, as a preset holds it.
  TPresetSettings Capture() const;
  // Makes `preset` of `setlist` the current one and recalls it. Throws
  // TError (nothing changed) when the setlist has no such preset.
  void Recall(std::string_view setlist, std::string_view preset);
  // Recalls the next or the previous preset of the current setlist; at
  // either end nothing happens.
  void Step(TPresetStep step);

 private:
  void RecallSettings(const TPreset& preset);
  void Save();
  void Changed();

  TPorts ports_;
  TPresetFile file_;
  TPresetLibrary library_;
  TListeners<TPresetView> views_;
  bool saveFailed_ = false;
};

}  // namespace zelmora
