#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>

namespace zelmora {

// Every colour the windows use, by role.
enum class TSkinRole {
  Window,       // window background (silver)
  WindowShade,  // lower end of the window's gradient
  Panel,        // raised panels and buttons
  PanelBorder,
  Text,
  TextMuted,  // scales, small print
  HeadingShadow,
  Display,       // tempo display background (dark glass)
  DisplayText,   // tempo digits
  DisplayGhost,  // unlit segments
  FaderGroove,   // the tempo fader's black frame
  FaderThumb,
  Accent,    // highlights, checked states, the pin when on
  BeatMark,  // the main window's beat dot, RGB(116, 139, 120)
};

// The built-in skin "zl_skin (internal)": one coherent palette for all
// windows. The hue offset (-255..255, from the Preferences hue slider) turns
// every coloured entry around the colour wheel, 255 steps being half a
// turn; greys stay grey. Windows paint with Color() and repaint on Changed.
//
// Threads: user-interface thread only.
class TSkin : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kName = "zl_skin (internal)";
  static TSkin& Instance();

  int HueOffset() const { return hueOffset_; }
  // Applies the offset to the application's palette and tells the windows.
  void SetHueOffset(int offset);

  QColor Color(TSkinRole role) const;
  QPalette Palette() const;

  // The colour turned by a hue offset; exposed for the tests.
  static QColor ShiftHue(const QColor& color, int offset);
  // The contrast ratio of two colours, 1 (none) to 21 (black on white).
  static double Contrast(const QColor& a, const QColor& b);

 signals:
  void Changed();

 private:
  TSkin() = default;
  int hueOffset_ = 0;
};

}  // namespace zelmora
