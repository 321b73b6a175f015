#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmora {

// The mark the panel shows: the star for an accented beat, the circle for a
// regular one, nothing for a silent one.
enum class TBeatMark { Circle, Star, None };

// Colours as 0xRRGGBB. The mark is green while the metronome runs and grey
// while it stands.
inline constexpr std::uint32_t kBeatMarkRunningColor = 0x70B94D;
inline constexpr std::uint32_t kBeatMarkIdleColor = 0x404040;
inline constexpr std::uint32_t kFirstBeatMarkColor = 0xB9704D;    // copper
inline constexpr std::uint32_t kFirstBeatNumberColor = 0x800000;  // maroon
inline constexpr std::uint32_t kBeatNumberColor = 0x008000;
inline constexpr std::uint32_t kMarkBackgroundColor = 0x393536;

// Everything the panel shows at one moment.
struct TBeatFace {
  TBeatMark Mark = TBeatMark::Circle;
  std::uint32_t MarkColor = kBeatMarkIdleColor;
  std::string Number;  // empty or blank: no number
  std::uint32_t NumberColor = kBeatNumberColor;
  bool operator==(const TBeatFace&) const = default;
};

// What the panel shows for the beat just played at 1-based `position` of
// `pattern`, given what it shows now (a one-beat bar alternates its mark,
// so the previous face matters).
//
// - One-beat bar: circle and star alternate, always green, no number (" ").
// - Otherwise the number is the position; "X" shows the star, "x" the
//   circle, anything else no mark. Beat 1 is copper with a maroon number,
//   every other beat green with a green number.
// - An empty bar, or a position outside the bar (the user shortened the bar
//   after this beat was played), shows neither mark nor number, in running
//   green: nothing of the current bar was played there.
TBeatFace FaceForBeat(const TBeatFace& shown, std::string_view pattern, int position);

// The face of a beat in a silent bar: the same mark and number, their
// colours dimmed towards the background, so that a player can follow the
// beats without being led by them.
TBeatFace DimmedFace(const TBeatFace& face);

}  // namespace zelmora
