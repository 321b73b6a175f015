#pragma once

#include <string>

#include "audio/beat_voices.h"
#include "audio/voice_build/audio_messages.h"
#include "audio/wave/wave_storage.h"
#include "core/config.h"

namespace zelmora {

// The two practice voices whose sound the user chooses.
enum class TPracticeVoice { Subdivision, Layer };

// The sounds of the subdivision and the layer voices, chosen as the other
// two sounds are: a bank entry (index 0 .. kBankCount - 1) or, at index
// kBankCount, a WAV file. The choice lives in config.Practice
// (SubdivisionSoundIndex / SoundSubdivision, LayerSoundIndex / SoundLayer).
// Everything passed in must outlive this object.
//
// Thread: ui (every call)
class TPracticeSounds {
 public:
  TPracticeSounds(TConfig& config, TBeatVoices& voices, TAudioMessages& messages);

  // Start-up, with the other voices: builds both voices from the stored
  // choice. A file that has gone or cannot be read is reported, and the
  // voice gets its bank default while the stored choice stays as it is.
  void StartUp();
  // After the stored choice of `voice` has changed (a preset recalled):
  // builds the voice from it, as StartUp does.
  void RecallStoredChoice(TPracticeVoice voice);

  // Makes `bankIndex` (or, at kBankCount, `file`) the voice's sound: loads
  // it, rebuilds the voice and then stores the choice through the settings
  // object's setter. Throws TError when the file cannot be read; the voice
  // and the stored choice then stay as they were.
  void Choose(TPracticeVoice voice, int bankIndex, const std::string& file);

 private:
  struct TSide {
    TWaveStorage Holder;
    TVoice& Voice;
  };
  TSide& Side(TPracticeVoice voice) {
    return voice == TPracticeVoice::Layer ? layer_ : subdivision_;
  }
  // Loads the choice into the side's holder; throws TError for a file that
  // cannot be read.
  static void LoadInto(TSide& side, int bankIndex, const std::string& file);
  void Build(TSide& side);

  TConfig& config_;
  TAudioMessages& messages_;
  TSide subdivision_;
  TSide layer_;
};

}  // namespace zelmora
