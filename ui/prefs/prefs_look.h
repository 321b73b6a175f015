#pragma once

#include <QFont>
#include <QString>

class QDialog;
class QVBoxLayout;
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

// A tool dialog of the main window, as Preferences is: fixed, above other
// windows by a style of its own (whatever "Always on Top" does to the main
// window), in the dialogs' type. Returns its outer layout, which keeps the
// dialog at the size of its contents.
QVBoxLayout* SetUpToolDialog(QDialog& dialog, const QString& objectName, const QString& caption);

}  // namespace zelmora
