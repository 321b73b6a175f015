#include "ui/skin/skin.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

namespace zelmora {
namespace {

QColor BaseColor(TSkinRole role) {
  switch (role) {
    case TSkinRole::Window:
      return QColor(0xD4, 0xD8, 0xDC);
    case TSkinRole::WindowShade:
      return QColor(0xB4, 0xBA, 0xC0);
    case TSkinRole::Panel:
      return QColor(0xE6, 0xE9, 0xEC);
    case TSkinRole::PanelBorder:
      return QColor(0x7E, 0x86, 0x8E);
    case TSkinRole::Text:
      return QColor(0x10, 0x12, 0x14);
    case TSkinRole::TextMuted:
      return QColor(0x4A, 0x52, 0x5A);
    case TSkinRole::HeadingShadow:
      return QColor(0xFF, 0xFF, 0xFF, 0xB0);
    case TSkinRole::Display:
      return QColor(0x1E, 0x2B, 0x24);
    case TSkinRole::DisplayText:
      return QColor(0x9E, 0xF0, 0x6E);
    case TSkinRole::DisplayGhost:
      return QColor(0x2E, 0x40, 0x35);
    case TSkinRole::FaderGroove:
      return QColor(0x0C, 0x0D, 0x0E);
    case TSkinRole::FaderThumb:
      return QColor(0xC8, 0x74, 0x2C);
    case TSkinRole::Accent:
      return QColor(0x3C, 0x8D, 0xC8);
    case TSkinRole::BeatMark:
      return QColor(116, 139, 120);
  }
  return QColor(Qt::magenta);
}

// Relative luminance (sRGB), for the contrast of text against its ground.
double Luminance(const QColor& color) {
  auto channel = [](double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
         0.0722 * channel(color.blueF());
}

// White text on a highlight, as the skin has always drawn it, unless the
// hue offset has turned the highlight so light (yellow, green) that white
// would no longer read; then black.
QColor TextOn(const QColor& ground) {
  return TSkin::Contrast(Qt::white, ground) >= 3.0 ? QColor(Qt::white) : QColor(Qt::black);
}

}  // namespace

double TSkin::Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TSkin& TSkin::Instance() {
  static TSkin skin;
  return skin;
}

QColor TSkin::ShiftHue(const QColor& color, int offset) {
  const QColor hsv = color.toHsv();
  if (offset == 0 || hsv.hsvHue() < 0) {
    return color;  // achromatic colours have no hue to turn
  }
  const int turned = ((hsv.hsvHue() + offset * 180 / 255) % 360 + 360) % 360;
  QColor shifted = QColor::fromHsv(turned, hsv.hsvSaturation(), hsv.value(), color.alpha());
  return shifted.toRgb();
}

void TSkin::SetHueOffset(int offset) {
  offset = std::clamp(offset, -255, 255);
  if (offset == hueOffset_) {
    return;
  }
  hueOffset_ = offset;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    QApplication::setPalette(Palette());
  }
  emit Changed();
}

QColor TSkin::Color(TSkinRole role) const {
  return ShiftHue(BaseColor(role), hueOffset_);
}

QPalette TSkin::Palette() const {
  // Start from a palette with every role set: a role left unset would be
  // taken from the desktop's palette, and a dark desktop theme would then put
  // light placeholder text or light links on the skin's light backgrounds.
  QPalette palette(Color(TSkinRole::Panel), Color(TSkinRole::Window));
  palette.setColor(QPalette::Window, Color(TSkinRole::Window));
  palette.setColor(QPalette::WindowText, Color(TSkinRole::Text));
  palette.setColor(QPalette::Base, QColor(0xFA, 0xFB, 0xFC));
  palette.setColor(QPalette::AlternateBase, Color(TSkinRole::Panel));
  palette.setColor(QPalette::Text, Color(TSkinRole::Text));
  palette.setColor(QPalette::Button, Color(TSkinRole::Panel));
  palette.setColor(QPalette::ButtonText, Color(TSkinRole::Text));
  palette.setColor(QPalette::Highlight, Color(TSkinRole::Accent));
  palette.setColor(QPalette::HighlightedText, TextOn(Color(TSkinRole::Accent)));
  palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFB, 0xE6));
  palette.setColor(QPalette::ToolTipText, Color(TSkinRole::Text));
  palette.setColor(QPalette::Mid, Color(TSkinRole::PanelBorder));
  palette.setColor(QPalette::Dark, Color(TSkinRole::WindowShade).darker(130));
  palette.setColor(QPalette::Light, Qt::white);
  palette.setColor(QPalette::PlaceholderText, Color(TSkinRole::TextMuted));
  palette.setColor(QPalette::Link, Color(TSkinRole::Accent).darker(160));
  palette.setColor(QPalette::LinkVisited, Color(TSkinRole::Accent).darker(200));
  return palette;
}

}  // namespace zelmora
