#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// A beat pattern has one character per beat of the bar, beat 1 first:
// "X" accented, "x" regular, anything else silent. A meter text such as
// "3+2" lists the sizes of the bar's groups; each group begins with an
// accented beat.

// The beat index is one byte and wraps after the last beat, so players
// never go beyond this many beats; the rest of a longer bar is not played.
inline constexpr int kMaxPlayableBeats = 254;

inline constexpr int kMaxMeterGroups = 99;
inline constexpr int kMaxGroupSize = 255;

// Meter text to beat pattern. Throws TError with "'<group>' is not a valid
// integer value" for a group that is not a number, and "Range check error"
// for a group outside 0..255 or more than 99 groups. An empty text, or one
// ending in a single "+", ends the list of groups.
// Thread: any
std::string MeterTextToPattern(std::string_view meterText);

// Beat pattern to meter text: the sizes of its groups joined by "+". A group
// begins at the first beat whatever it is and at every later "X". Never
// empty: an empty pattern gives "1".
// Thread: any
std::string PatternToMeterText(std::string_view pattern);

// Number of beats the players step through: the pattern's length, capped at
// kMaxPlayableBeats. An empty pattern is a bar without beats: the players
// keep time with it but nothing sounds and nothing is marked.
// Thread: any
int PlayableLength(std::string_view pattern);

enum class TBeatVoice { None, Regular, Accent };

// The voice that sounds at 1-based position beatIndex. A one-beat pattern
// plays the regular voice whatever its character; a position outside the
// playable part of the bar sounds nothing.
// Thread: any
TBeatVoice VoiceAt(std::string_view pattern, int beatIndex);

// Whether the bell (when switched on) sounds at beatIndex: on the first beat
// of a bar of two or more beats, even a silent one.
// Thread: any
bool BellAt(std::string_view pattern, int beatIndex);

}  // namespace zelmora
