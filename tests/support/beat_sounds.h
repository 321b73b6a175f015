#pragma once

#include <span>
#include <vector>

namespace zelmora {

// The samples a beat can sound, mono, at a recording's rate, as the program
// hands them to the mixer. An empty one is left out of the fit.
struct TVoiceTemplates {
  std::vector<float> Accent;
  std::vector<float> Regular;
  std::vector<float> Bell;
  std::vector<float> Subdivision;
  std::vector<float> Layer;
};

// The sounds of a fresh start: "Wood Block Hi" for the accent, "Jam Block"
// for the regular beat (both cut after 250 ms), and the bell; no practice
// voices.
TVoiceTemplates DefaultVoiceTemplates(int sampleRate);

// The same and the practice tools' sounds of a fresh start: "HH Tight" for
// the subdivision and "Claves" for the layer, both cut after 250 ms.
TVoiceTemplates PracticeVoiceTemplates(int sampleRate);

// What one beat of a recording holds: the amplitude of each sample in it
// (0 for a voice left out of the fit).
struct TBeatSound {
  double Start = 0.0;  // the frame where the samples begin
  double Accent = 0.0;
  double Regular = 0.0;
  double Bell = 0.0;
  double Subdivision = 0.0;
  double Layer = 0.0;
};

// Tells the beats apart by their sound rather than their place. For each
// onset in turn, the first 30 ms after it are fitted by least squares with
// the samples starting together on one frame near the onset (the frame
// that fits best), and the fitted sounds are then taken out of the recording
// over their whole length, so that a bell still ringing from an earlier beat
// does not count for a later one. Samples at full scale are left out of the
// fit: a loud beat on top of the bell may clip.
std::vector<TBeatSound> FitBeatSounds(std::span<const float> recording,
                                      std::span<const double> onsets,
                                      const TVoiceTemplates& templates, int sampleRate);

// The same, with the onsets found on the way (as FindOnsets finds them),
// each in what the sounds fitted before it leave of the recording: a quiet
// click soon after a loud beat, or under a ringing bell, is found, and the
// tail of a sound does not pass for a click. After each onset the next
// `holdoffFrames` (at least 1) are passed over.
std::vector<TBeatSound> FindBeatSounds(std::span<const float> recording,
                                       const TVoiceTemplates& templates, int sampleRate,
                                       float threshold, int holdoffFrames);

}  // namespace zelmora
