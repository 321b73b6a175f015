#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace zelmora {

// The Preferences dialog's type and style sheet, from the shared skin. The
// style sheet is rebuilt whenever the skin changes.

// Type sizes in pixels at 96 DPI: captions, notes, slider scales.
inline constexpr int kPrefsTextPixels = 11;
inline constexpr int kPrefsSmallPixels = 10;
inline constexpr int kPrefsScalePixels = 9;

// Tahoma, or a close narrow sans serif.
QString PrefsFontFamily();
QFont PrefsFont(int pixels, bool bold = false);
// Includes the type: labels with the property small=true get the notes'
// size, scale=true the scales'.
QString PrefsStyleSheet();

// The dialogs' background: the skin's window colour, shading downwards.
void PaintPrefsBackground(QWidget& dialog);

}  // namespace zelmora
