#pragma once

#include "audio/beat_voice.h"
#include "audio/voice_build/audio_messages.h"
#include "audio/wave/wave_storage.h"

namespace zelmora {

// The volume boost: every sample value grows by this percent (about +6 dB).
inline constexpr int kBoostPercent = 99;

// Builds a voice from a holder's sample. With boostVolume the holder's own
// sample is boosted first, in place, so building it again boosts it again.
// The new sound is converted completely before it replaces the old one, so
// the audio thread only ever sees a whole voice. When the sample cannot be
// played the voice is emptied and `messages` shows why, once. A voice
// without a mixer (no output device) is left alone. Never throws.
//
// Threads: the user-interface thread only (it owns the holders and is the
// mixer's control thread).
void CreateBuffer(TVoice& voice, TWaveStorage& holder, bool boostVolume,
                  TAudioMessages& messages) noexcept;

}  // namespace zelmora
