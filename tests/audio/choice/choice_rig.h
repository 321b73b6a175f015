#pragma once

// A sound choice wired as the main window wires it, on a mixer that the
// test renders itself: the three holders with their start-up samples, the
// voices, their pan bindings, and recording stand-ins for the message box
// and the file dialog.

#include <QByteArray>
#include <QMetaType>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/bank/bank.h"
#include "audio/beat_voices.h"
#include "audio/choice/sound_choice.h"
#include "audio/choice/sound_cut.h"
#include "audio/mixer.h"
#include "audio/voice_build/audio_messages.h"
#include "audio/voice_build/convert_for_voice.h"
#include "audio/wave/byte_order.h"
#include "audio/wave/wave_builder.h"
#include "audio/wave/wave_storage.h"
#include "core/config.h"
#include "tests/support/virtual_output.h"

namespace zelmora::test {

inline constexpr int kRigMixerRate = 48000;

class TRecordedMessages final : public TAudioMessages {
 public:
  void ShowMessage(const std::string& text) override { Texts.push_back(text); }
  std::vector<std::string> Texts;
};

// Answers the file dialog with Answer (nothing: the user cancels).
class TScriptedChooser final : public TSoundFileChooser {
 public:
  std::optional<std::string> ChooseSoundFile(TSoundSide side, const std::string& current) override {
    Asked.emplace_back(side, current);
    return Answer;
  }
  std::optional<std::string> Answer;
  std::vector<std::pair<TSoundSide, std::string>> Asked;
};

struct TChoiceRig {
  TChoiceRig() {
    bindings.push_back(config.Controls.AccentVoicePan.Bind(accentPan, TOnUnbind::Forget));
    bindings.push_back(config.Controls.RegularVoicePan.Bind(regularPan, TOnUnbind::Forget));
    bindings.push_back(config.Controls.BellVoicePan.Bind(bellPan, TOnUnbind::Forget));
    choice.SetFileChooser(&chooser);
  }
  TChoiceRig(const TChoiceRig&) = delete;
  TChoiceRig& operator=(const TChoiceRig&) = delete;

  TWaveStorage& Holder(TSoundSide side) { return side == TSoundSide::Accent ? accent : regular; }
  TVoice& Voice(TSoundSide side) {
    return side == TSoundSide::Accent ? voices.AccentBuffer : voices.RegularBuffer;
  }

  TConfig config;
  TMixer mixer{kRigMixerRate};
  TBeatVoices voices = TBeatVoices::On(&mixer);
  TWaveStorage accent{ClickWave()};
  TWaveStorage regular{ClickWave()};
  TWaveStorage bell{BellWave()};
  TVoicePanControl accentPan{voices.AccentBuffer};
  TVoicePanControl regularPan{voices.RegularBuffer};
  TVoicePanControl bellPan{voices.BellBuffer};
  TRecordedMessages messages;
  TScriptedChooser chooser;
  TSoundChoice choice{config, accent, regular, bell, voices, messages};
  std::vector<TScope> bindings;
};

// A 16-bit mono PCM image of `frames` values that all equal `value`.
inline std::vector<std::uint8_t> ConstantWave(std::uint32_t rate, int frames, std::int16_t value) {
  std::vector<std::uint8_t> data;
  for (int i = 0; i < frames; ++i) {
    AppendLe16(data, static_cast<std::uint16_t>(value));
  }
  return MakePcmWave(1, rate, 16, data);
}

// A bank sound as a chosen sound is kept: its first 250 ms.
inline TWave CutBankWave(int index) {
  TWave wave = BankWave(index);
  CutChosenSound(wave);
  return wave;
}

inline std::int16_t FirstValue(const TWave& wave) {
  return static_cast<std::int16_t>(ReadLe16(wave.PresentData(), 0));
}

// What one start of a voice puts out, stereo frames from the first sounding
// one on, until the output has been silent for a while.
struct TVoiceSound {
  std::vector<float> Frames;  // interleaved left, right
  double LeftEnergy = 0.0;
  double RightEnergy = 0.0;
};

// Starts the voice once and records it. Renders the mixer, so call it once
// per rig, after everything else.
inline TVoiceSound PlayOnce(TMixer& mixer, TVoice& voice) {
  using namespace std::chrono_literals;
  const TMixer::Clock::time_point start = TMixer::Clock::now();
  TVirtualOutput output(mixer, start, {});
  voice.PlayVoice();
  output.RunUntil(start + 600ms);
  const std::vector<float>& recording = output.Recording;
  std::size_t first = recording.size();
  std::size_t last = 0;
  for (std::size_t i = 0; i < recording.size(); ++i) {
    if (recording[i] != 0.0F) {
      first = std::min(first, i - i % 2);
      last = i - i % 2 + 2;
    }
  }
  TVoiceSound sound;
  if (first < last) {
    sound.Frames.assign(recording.begin() + static_cast<std::ptrdiff_t>(first),
                        recording.begin() + static_cast<std::ptrdiff_t>(last));
  }
  for (std::size_t i = 0; i + 1 < sound.Frames.size(); i += 2) {
    sound.LeftEnergy += double(sound.Frames[i]) * sound.Frames[i];
    sound.RightEnergy += double(sound.Frames[i + 1]) * sound.Frames[i + 1];
  }
  return sound;
}

// Whether the voice, at level 0 and centre pan, plays exactly `wave` as the
// mixer converts it: every frame, and nothing after it.
inline bool VoicePlays(TMixer& mixer, TVoice& voice, const TWave& wave) {
  const TVoiceConversion expected = ConvertForVoice(wave, mixer.SampleRate());
  if (!expected.Sample) {
    return false;
  }
  std::vector<float> frames = PlayOnce(mixer, voice).Frames;
  std::vector<float> wanted = expected.Sample->Frames;
  // Silence at either end of the sample itself does not show in the
  // recording.
  std::size_t lead = 0;
  while (lead + 1 < wanted.size() && wanted[lead] == 0.0F && wanted[lead + 1] == 0.0F) {
    lead += 2;
  }
  wanted.erase(wanted.begin(), wanted.begin() + static_cast<std::ptrdiff_t>(lead));
  while (!wanted.empty() && wanted.back() == 0.0F) {
    wanted.pop_back();
  }
  while (frames.size() > wanted.size() && frames.back() == 0.0F) {
    frames.pop_back();
  }
  frames.resize(std::max(frames.size(), wanted.size()), 0.0F);
  wanted.resize(frames.size(), 0.0F);
  return frames == wanted;
}

inline QByteArray Bytes(const std::string& text) {
  return QByteArray::fromStdString(text);
}

}  // namespace zelmora::test

Q_DECLARE_METATYPE(zelmora::TSoundSide)
