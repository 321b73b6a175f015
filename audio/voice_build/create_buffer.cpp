#include "audio/voice_build/create_buffer.h"

#include <exception>
#include <new>
#include <string>
#include <utility>

#include "audio/voice_build/convert_for_voice.h"
#include "audio/voice_build/sound_error_text.h"

namespace zelmora {
namespace {

// Empties the voice and tells the user. Nothing may escape from here: a
// failure to build one voice must not stop the others from being built.
void Fail(TVoice& voice, TAudioMessages& messages, const std::string& text) noexcept {
  try {
    voice.Mixer()->SetVoiceSample(voice.MixerSlot(), nullptr);
  } catch (...) {
    // The voice keeps its old sound; still worth telling the user why.
  }
  try {
    messages.ShowMessage(text);
  } catch (...) {
    // Nothing better to do than carry on without the message.
  }
}

void FailWithCode(TVoice& voice, TAudioMessages& messages, std::uint32_t code) noexcept {
  try {
    Fail(voice, messages, SoundErrorText(code));
  } catch (...) {
    // Not even the message text could be made.
  }
}

}  // namespace

void CreateBuffer(TVoice& voice, TWaveStorage& holder, bool boostVolume,
                  TAudioMessages& messages) noexcept {
  TMixer* const mixer = voice.Mixer();
  if (mixer == nullptr) {
    return;
  }
  try {
    if (boostVolume) {
      holder.Wave.ScaleVolume(kBoostPercent);
    }
    TVoiceConversion converted = ConvertForVoice(holder.Wave, mixer->SampleRate());
    if (converted.Result != kSoundOk) {
      FailWithCode(voice, messages, converted.Result);
      return;
    }
    mixer->SetVoiceSample(voice.MixerSlot(), std::move(converted.Sample));
  } catch (const std::bad_alloc&) {
    FailWithCode(voice, messages, kSoundOutOfMemory);
  } catch (const std::exception& error) {
    try {
      Fail(voice, messages, error.what());
    } catch (...) {
      FailWithCode(voice, messages, kSoundGenericError);
    }
  } catch (...) {
    FailWithCode(voice, messages, kSoundGenericError);
  }
}

}  // namespace zelmora
