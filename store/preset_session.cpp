#include "store/preset_session.h"

#include <utility>

#include "core/error.h"
#include "core/metronome.h"

namespace zelmora {

TPresetSession::TPresetSession(TPorts ports, QString path)
    : ports_(std::move(ports)), file_(std::move(path)) {}

void TPresetSession::Load() {
  TPresetFile::TLoaded loaded = file_.Load();
  library_ = std::move(loaded.Library);
  if (!loaded.Message.empty() && ports_.report) {
    ports_.report(loaded.Message);
  }
  Changed();
}

void TPresetSession::Edit(const std::function<void(TPresetLibrary&)>& edit) {
  // On a copy: an edit that fails halfway must change nothing.
  TPresetLibrary edited = library_;
  edit(edited);
  library_ = std::move(edited);
  Save();
  Changed();
}

TPresetSettings TPresetSession::Capture() const {
  return CapturePreset(ports_.config);
}

void TPresetSession::Recall(std::string_view setlist, std::string_view preset) {
  Edit([&](TPresetLibrary& library) { library.SetCurrent(setlist, preset); });
  if (const TPreset* recalled = library_.FindPreset(preset)) {
    RecallSettings(*recalled);
  }
}

void TPresetSession::Step(TPresetStep step) {
  TPresetLibrary stepped = library_;
  const TPreset* preset = stepped.Step(step);
  if (preset == nullptr) {
    return;  // at an end: stays
  }
  const TPreset recalled = *preset;
  library_ = std::move(stepped);
  Save();
  Changed();
  RecallSettings(recalled);
}

void TPresetSession::RecallSettings(const TPreset& preset) {
  // The settings go in where the next bar begins; a later recall replaces
  // one still waiting for it, so the last one pressed wins.
  ports_.metronome.ChangeAtNextBar([this, settings = preset.Settings] {
    const TChangedSounds changed = RecallPreset(ports_.config, settings);
    if (ports_.recalled) {
      ports_.recalled(changed);
    }
  });
}

void TPresetSession::Save() {
  if (!file_.MayWrite()) {
    return;  // a file this run could not read stays as it is
  }
  try {
    file_.Save(library_);
    saveFailed_ = false;
  } catch (const TError& error) {
    // Stepping through a set on stage must not bring a box at every step.
    if (!saveFailed_ && ports_.report) {
      ports_.report(error.what());
    }
    saveFailed_ = true;
  }
}

void TPresetSession::Changed() {
  views_.ForEach([](TPresetView& view) { view.PresetsChanged(); });
}

}  // namespace zelmora
