#include "audio/choice/practice_sounds.h"

#include <cstdint>

#include "audio/bank/bank.h"
#include "audio/choice/sound_cut.h"
#include "audio/choice/sound_file.h"
#include "audio/voice_build/create_buffer.h"
#include "core/error.h"

namespace zelmora {

TPracticeSounds::TPracticeSounds(TConfig& config, TBeatVoices& voices, TAudioMessages& messages)
    : config_(config),
      messages_(messages),
      subdivision_{{}, voices.SubdivisionBuffer},
      layer_{{}, voices.LayerBuffer} {}

void TPracticeSounds::StartUp() {
  const TPracticeSettings& practice = config_.Practice;
  const struct {
    TSide& side;
    int index;
    const std::string& file;
    int fallback;
  } choices[] = {
      {subdivision_, practice.SubdivisionSoundIndex, practice.SoundSubdivision,
       kDefaultSubdivisionSoundIndex},
      {layer_, practice.LayerSoundIndex, practice.SoundLayer, kDefaultLayerSoundIndex},
  };
  for (const auto& choice : choices) {
    const bool fileEntry = choice.index == kBankCount && !choice.file.empty();
    const bool bankEntry = choice.index >= 0 && choice.index < kBankCount;
    try {
      if (fileEntry && !SoundFileExists(choice.file)) {
        messages_.ShowMessage(MissingSoundFileText(choice.file));
        LoadInto(choice.side, choice.fallback, {});
      } else {
        LoadInto(choice.side, fileEntry || bankEntry ? choice.index : choice.fallback, choice.file);
      }
    } catch (const TError& error) {
      // Tell the user and carry on with the default: a practice click must
      // still sound.
      messages_.ShowMessage(WithFullStop(error.what()));
      LoadInto(choice.side, choice.fallback, {});
    }
    Build(choice.side);
  }
}

void TPracticeSounds::Choose(TPracticeVoice voice, int bankIndex, const std::string& file) {
  TSide& side = Side(voice);
  LoadInto(side, bankIndex, file);
  Build(side);
  if (voice == TPracticeVoice::Subdivision) {
    config_.SetSubdivisionSound(bankIndex, file);
  } else {
    config_.SetLayerSound(bankIndex, file);
  }
}

void TPracticeSounds::LoadInto(TSide& side, int bankIndex, const std::string& file) {
  if (bankIndex >= 0 && bankIndex < kBankCount) {
    side.Holder.Wave = BankWave(bankIndex);
  } else {
    side.Holder.Wave.SetImage(ReadSoundFile(file));
  }
  CutChosenSound(side.Holder.Wave);
}

void TPracticeSounds::Build(TSide& side) {
  CreateBuffer(side.Voice, side.Holder, config_.BoostVolume, messages_);
}

}  // namespace zelmora
