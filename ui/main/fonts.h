#pragma once

#include <QFont>

namespace zelmora {

// The faces the windows use, by job, each at a size in pixels (96 DPI).
// Where a face is missing the closest installed one stands in.

// Ordinary text: Tahoma, or the system's sans serif.
QFont UiFont(int pixels, bool bold = false);
// Tempo names and the small print of the display: Garamond, or a serif.
QFont SerifFont(int pixels);
// The tempo digits: the seven-segment face "DSEG7 Classic".
QFont DisplayFont(int pixels);
// Time-signature digits: the music face "Emmentaler" (digits at the ASCII
// digits), or a bold serif when it is not installed.
QFont MusicFont(int pixels);
bool HasMusicFont();

}  // namespace zelmora
