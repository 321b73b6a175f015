#include "audio/choice/sound_choice.h"

#include <cstdint>

#include "audio/bank/bank.h"
#include "audio/choice/sound_cut.h"
#include "audio/choice/sound_file.h"
#include "audio/voice_build/create_buffer.h"
#include "core/error.h"

namespace zelmora {
namespace {

void FillWithBank(TSoundList& list, const std::string& filePath) {
  list.Clear();
  for (int i = 0; i < kBankCount; ++i) {
    list.Add(std::string(BankName(i)));
  }
  list.Add(filePath);
}

}  // namespace

TSoundChoice::TSide::TSide(TWaveStorage& holder, TVoice& voice, TBinding<int>& listBinding,
                           TBinding<std::string>& fileName, TBinding<int>& voicePan,
                           int defaultIndex)
    : Holder(holder),
      Voice(voice),
      ListBinding(listBinding),
      FileName(fileName),
      VoicePan(voicePan),
      Selection(&Model, defaultIndex) {}

TSoundChoice::TSoundChoice(TConfig& config, TWaveStorage& accent, TWaveStorage& regular,
                           TWaveStorage& bell, TBeatVoices& voices, TAudioMessages& messages)
    : config_(config),
      bell_(bell),
      voices_(voices),
      messages_(messages),
      accent_(accent, voices.AccentBuffer, config.Controls.sComboBoxAcc,
              config.Controls.OpenDialogAcc, config.Controls.AccentVoicePan,
              kDefaultAccentSoundIndex),
      regular_(regular, voices.RegularBuffer, config.Controls.sComboBoxReg,
               config.Controls.OpenDialogReg, config.Controls.RegularVoicePan,
               kDefaultRegularSoundIndex) {
  for (TSide* side : {&accent_, &regular_}) {
    side->SelectionBinding = side->ListBinding.Bind(side->Selection, TOnUnbind::Forget);
  }
}

TSoundChoice::~TSoundChoice() = default;

void TSoundChoice::StartUp() {
  SelectStartupSounds();
  BuildVoices();
}

void TSoundChoice::SelectStartupSounds() {
  SelectStartupSound(regular_);
  SelectStartupSound(accent_);
  CutChosenSound(accent_.Holder.Wave);
  CutChosenSound(regular_.Holder.Wave);
}

bool TSoundChoice::SelectStartupSound(TSide& side) {
  TSoundList& list = side.Selection.List();
  // The pending index from the load, or the selection of an earlier fill.
  const int stored = side.Selection.Value();
  FillWithBank(list, side.FileName->Value());
  list.Select(stored);
  if (list.SelectedIndex() < 0 || list.Text(list.SelectedIndex()).empty()) {
    list.Select(kFallbackSoundIndex);
  }
  const int index = list.SelectedIndex();
  if (index < kBankCount) {
    side.Holder.Wave = BankWave(index);
    return true;
  }
  // The file entry: the holder keeps its click when the file has gone, and
  // the list keeps showing the file so the user sees what is missing.
  const std::string path = list.Text(index);
  if (!SoundFileExists(path)) {
    messages_.ShowMessage(MissingSoundFileText(path));
    return false;
  }
  try {
    side.Holder.Wave.SetImage(ReadSoundFile(path));
    return true;
  } catch (const TError& error) {
    // Tell the user and carry on: the other voices and the stored levels
    // must still be set up.
    messages_.ShowMessage(WithFullStop(error.what()));
    return false;
  }
}

void TSoundChoice::BuildVoices() {
  CreateBuffer(voices_.AccentBuffer, accent_.Holder, config_.BoostVolume, messages_);
  CreateBuffer(voices_.RegularBuffer, regular_.Holder, config_.BoostVolume, messages_);
  CreateBuffer(voices_.BellBuffer, bell_, config_.BoostVolume, messages_);
}

void TSoundChoice::LoadSoundChoice(TSoundSide sideId) {
  TSide& side = Side(sideId);
  const TSoundList& list = side.Selection.List();
  const int index = list.SelectedIndex();
  if (index < 0 || index >= list.Count()) {
    return;  // nothing selected, nothing to load
  }
  if (index < kBankCount) {
    side.Holder.Wave = BankWave(index);
  } else {
    const std::string path = list.Text(index);
    if (path.empty()) {
      // A chosen file is loaded and built by the nested run; building again
      // here would boost the holder's sample a second time, and after a
      // cancel the voice simply keeps its sound.
      ChooseSoundFile(sideId);
      return;
    }
    side.Holder.Wave.SetImage(ReadSoundFile(path));
  }
  CutAndBuild(side);
}

void TSoundChoice::RecallStoredChoice(TSoundSide sideId) {
  TSide& side = Side(sideId);
  if (side.Selection.List().Count() == 0) {
    return;  // lists never filled: the voices were never built either
  }
  // As at start-up, a file that cannot be had leaves the side with the
  // click (and building a sound not loaded anew would boost it twice).
  if (!SelectStartupSound(side)) {
    side.Holder.Wave = ClickWave();
  }
  CutAndBuild(side);
}

bool TSoundChoice::ChooseSoundFile(TSoundSide sideId) {
  if (chooser_ == nullptr) {
    return false;
  }
  TSide& side = Side(sideId);
  const std::optional<std::string> chosen =
      chooser_->ChooseSoundFile(sideId, side.FileName->Value());
  if (!chosen || chosen->empty()) {
    return false;
  }
  side.FileName->SetValue(*chosen);
  TSoundList& list = side.Selection.List();
  if (list.Count() == 0) {
    return true;  // lists never filled: kept for the save only
  }
  const int fileEntry = list.Count() - 1;
  list.SetText(fileEntry, *chosen);
  list.Select(fileEntry);
  LoadSoundChoice(sideId);
  return true;
}

void TSoundChoice::CutAndBuild(TSide& side) {
  CutChosenSound(side.Holder.Wave);
  CreateBuffer(side.Voice, side.Holder, config_.BoostVolume, messages_);
  // A new voice starts centred; give it the pan the slider shows.
  side.VoicePan->SetValue(-config_.Pan);
}

TSoundList& TSoundChoice::List(TSoundSide side) {
  return Side(side).Selection.List();
}

void TSoundChoice::AttachLists(TSoundList& accent, TSoundList& regular) {
  CopySoundList(accent_.Selection.List(), accent);
  accent_.Selection.SetList(&accent);
  CopySoundList(regular_.Selection.List(), regular);
  regular_.Selection.SetList(&regular);
}

void TSoundChoice::DetachLists() {
  for (TSide* side : {&accent_, &regular_}) {
    if (&side->Selection.List() != &side->Model) {
      CopySoundList(side->Selection.List(), side->Model);
      side->Selection.SetList(&side->Model);
    }
  }
}

}  // namespace zelmora
