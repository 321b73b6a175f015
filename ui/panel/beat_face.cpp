#include "ui/panel/beat_face.h"

namespace zelmora {
namespace {

// A third of the way from the background to the colour.
std::uint32_t Dimmed(std::uint32_t rgb) {
  std::uint32_t dimmed = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t background = (kMarkBackgroundColor >> shift) & 0xFF;
    const std::uint32_t colour = (rgb >> shift) & 0xFF;
    const std::uint32_t channel = (2 * background + colour) / 3;
    dimmed |= channel << shift;
  }
  return dimmed;
}

}  // namespace

TBeatFace DimmedFace(const TBeatFace& face) {
  TBeatFace dimmed = face;
  dimmed.MarkColor = Dimmed(face.MarkColor);
  dimmed.NumberColor = Dimmed(face.NumberColor);
  return dimmed;
}

TBeatFace FaceForBeat(const TBeatFace& shown, std::string_view pattern, int position) {
  TBeatFace face = shown;
  face.MarkColor = kBeatMarkRunningColor;
  if (pattern.size() == 1) {
    // A bar of one beat has nothing to count; the alternating mark shows
    // that the beats go on.
    face.Mark = shown.Mark == TBeatMark::Circle ? TBeatMark::Star : TBeatMark::Circle;
    face.Number = " ";
    return face;
  }
  if (position < 1 || static_cast<std::size_t>(position) > pattern.size()) {
    face.Mark = TBeatMark::None;
    face.Number = " ";
    return face;
  }
  const char beat = pattern[static_cast<std::size_t>(position) - 1];
  face.Mark = beat == 'X' ? TBeatMark::Star : beat == 'x' ? TBeatMark::Circle : TBeatMark::None;
  face.Number = std::to_string(position);
  if (position == 1) {
    face.MarkColor = kFirstBeatMarkColor;
    face.NumberColor = kFirstBeatNumberColor;
  } else {
    face.NumberColor = kBeatNumberColor;
  }
  return face;
}

}  // namespace zelmora
