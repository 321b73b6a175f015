#pragma once

#include <QString>

namespace zelmora {

// How the Practice dialog shows its numbers beside their sliders.

// A level in hundredths of a decibel: "-12 dB", "-7.5 dB", "0 dB".
QString LevelText(int hundredths);

// Where the second part of each pair lies: "50% straight", "67% triplet",
// "60%".
QString SwingText(int percent);

}  // namespace zelmora
