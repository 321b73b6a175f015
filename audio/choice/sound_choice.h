#pragma once

#include <string>

#include "audio/beat_voices.h"
#include "audio/choice/sound_file_chooser.h"
#include "audio/choice/sound_list.h"
#include "audio/choice/sound_list_selection.h"
#include "audio/choice/sound_side.h"
#include "audio/voice_build/audio_messages.h"
#include "audio/wave/wave_storage.h"
#include "core/config.h"
#include "core/scope.h"

namespace zelmora {

// The user's choice of the accent and the regular sound: the two choice
// lists, the start-up selection that turns the stored choice into the two
// samples, and LoadSoundChoice, which rebuilds a side's voice from its list.
//
// Binds config.Controls.sComboBoxAcc and sComboBoxReg to the lists'
// selection, so that LoadSettings hands the stored indexes over before the
// lists are filled and SaveSettings reads the selected ones back; the last
// chosen paths live in config.Controls.OpenDialogAcc and OpenDialogReg.
// Create it before LoadSettings runs and run SaveSettings before it goes.
//
// The accent side goes with `accent` and voices.AccentBuffer, the regular
// side with `regular` and voices.RegularBuffer; `bell` feeds
// voices.BellBuffer and is never replaced or cut. Everything passed in must
// outlive this object.
//
// Threads: user-interface thread only.
class TSoundChoice {
 public:
  TSoundChoice(TConfig& config, TWaveStorage& accent, TWaveStorage& regular, TWaveStorage& bell,
               TBeatVoices& voices, TAudioMessages& messages);
  ~TSoundChoice();
  TSoundChoice(const TSoundChoice&) = delete;
  TSoundChoice& operator=(const TSoundChoice&) = delete;

  // Start-up, after the audio output exists and before LoadVolumes: fills
  // the lists, applies the stored choice, loads and cuts the two samples
  // (SelectStartupSounds), then builds the accent, regular and bell voices
  // (BuildVoices).
  void StartUp();
  void SelectStartupSounds();
  void BuildVoices();

  // Loads the sound selected in the side's list into its holder, cuts it
  // and rebuilds its voice. The empty file entry runs the side's file choice
  // instead. Throws TError when the file cannot be opened; the holder and
  // the voice then keep their sound.
  void LoadSoundChoice(TSoundSide side);

  // After the side's stored index and file have changed (a preset
  // recalled): the list shows them and the voice is rebuilt, as at
  // start-up. A file that has gone is reported and the voice gets the
  // click, while the list keeps showing the file.
  void RecallStoredChoice(TSoundSide side);

  // The side's "..." button: asks for a file and, unless the user cancels,
  // makes it the file entry, selects it and loads it. Returns whether a file
  // was chosen. Throws as LoadSoundChoice.
  bool ChooseSoundFile(TSoundSide side);

  // The lists in use: this object's own until a window attaches its lists,
  // which then take over the entries and the selection (and hand them back
  // on DetachLists, so that the save still finds them).
  TSoundList& List(TSoundSide side);
  void AttachLists(TSoundList& accent, TSoundList& regular);
  void DetachLists();

  // nullptr: no file dialog, every file choice is cancelled.
  void SetFileChooser(TSoundFileChooser* chooser) { chooser_ = chooser; }

 private:
  struct TSide {
    TSide(TWaveStorage& holder, TVoice& voice, TBinding<int>& listBinding,
          TBinding<std::string>& fileName, TBinding<int>& voicePan, int defaultIndex);
    TWaveStorage& Holder;
    TVoice& Voice;
    TBinding<int>& ListBinding;
    TBinding<std::string>& FileName;
    TBinding<int>& VoicePan;
    TSoundListModel Model;
    TSoundListSelection Selection;
    TScope SelectionBinding;
  };

  TSide& Side(TSoundSide side) { return side == TSoundSide::Accent ? accent_ : regular_; }
  // Whether the holder got a new sound.
  bool SelectStartupSound(TSide& side);
  void CutAndBuild(TSide& side);

  TConfig& config_;
  TWaveStorage& bell_;
  TBeatVoices& voices_;
  TAudioMessages& messages_;
  TSoundFileChooser* chooser_ = nullptr;
  TSide accent_;
  TSide regular_;
};

}  // namespace zelmora
