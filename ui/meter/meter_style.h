#pragma once

#include <QFont>
#include <QString>

namespace zelmora {

// The meter constructor's look, built from the skin's current colours.

// Height of the grid's slim horizontal scroll bar.
inline constexpr int kGridScrollBarHeight = 9;

// The dialog's own font: Tahoma at 12 pixels, with its usual substitute.
QFont DialogFont();

// The music font for the meter preview, or a serif stand-in when it is
// missing.
QFont MeterPreviewFont();

// Buttons, group box and labels of the dialog.
QString DialogStyleSheet();

// The grid's scroll bar.
QString GridScrollBarStyleSheet();

}  // namespace zelmora
