#pragma once

#include <span>
#include <vector>

namespace zelmora {

// The three samples a beat can sound, mono, at a recording's rate, as the
// program hands them to the mixer.
struct TVoiceTemplates {
  std::vector<float> Accent;
  std::vector<float> Regular;
  std::vector<float> Bell;
};

// The sounds of a fresh start: "Wood Block Hi" for the accent, "Jam Block"
// for the regular beat (both cut after 250 ms), and the bell.
TVoiceTemplates DefaultVoiceTemplates(int sampleRate);

// What one beat of a recording holds: the amplitude of each sample in it.
struct TBeatSound {
  double Start = 0.0;  // the frame where the samples begin
  double Accent = 0.0;
  double Regular = 0.0;
  double Bell = 0.0;
};

// Tells the beats apart by their sound rather than their place. For each
// onset in turn, the first 30 ms after it are fitted by least squares with
// the three samples starting together on one frame near the onset (the frame
// that fits best), and the fitted sounds are then taken out of the recording
// over their whole length, so that a bell still ringing from an earlier beat
// does not count for a later one. Samples at full scale are left out of the
// fit: a loud beat on top of the bell may clip.
std::vector<TBeatSound> FitBeatSounds(std::span<const float> recording,
                                      std::span<const double> onsets,
                                      const TVoiceTemplates& templates, int sampleRate);

}  // namespace zelmora
