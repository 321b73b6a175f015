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
  RecallStoredChoice(TPracticeVoice::Subdivision);
  RecallStoredChoice(TPracticeVoice::Layer);
}

void TPracticeSounds::RecallStoredChoice(TPracticeVoice voice) {
  const TPracticeSettings& practice = config_.Practice;
  const bool layer = voice == TPracticeVoice::Layer;
  const int index = layer ? practice.LayerSoundIndex : practice.SubdivisionSoundIndex;
  const std::string& file = layer ? practice.SoundLayer : practice.SoundSubdivision;
  const int fallback = layer ? kDefaultLayerSoundIndex : kDefaultSubdivisionSoundIndex;
  TSide& side = Side(voice);
  const bool fileEntry = index == kBankCount && !file.empty();
  const bool bankEntry = index >= 0 && index < kBankCount;
  try {
    if (fileEntry && !SoundFileExists(file)) {
      messages_.ShowMessage(MissingSoundFileText(file));
      LoadInto(side, fallback, {});
    } else {
      LoadInto(side, fileEntry || bankEntry ? index : fallback, file);
    }
  } catch (const TError& error) {
    // Tell the user and carry on with the default: a practice click must
    // still sound.
    messages_.ShowMessage(WithFullStop(error.what()));
    LoadInto(side, fallback, {});
  }
  Build(side);
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
