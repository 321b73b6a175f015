#include "ui/main/fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>

namespace zelmora {
namespace {

bool Installed(const QString& family) {
  return QFontDatabase::families().contains(family);
}

// A face by name at a pixel size. The usual stand-ins for Tahoma and
// Garamond (DejaVu) run wider than those faces, so a missing face is
// replaced by a condensed one, which keeps the texts within their places.
QFont Face(const QString& family, int pixels, QFont::StyleHint hint) {
  QFont font(family);
  font.setStyleHint(hint);
  font.setPixelSize(pixels);
  if (!Installed(family)) {
    font.setStretch(QFont::Condensed);
  }
  return font;
}

// Emmentaler's digits are small for its size (they are drawn to a staff):
// at this factor they stand as tall as a time signature's digits.
constexpr double kMusicScale = 1.4;

}  // namespace

QFont UiFont(int pixels, bool bold) {
  QFont font = Face(QStringLiteral("Tahoma"), pixels, QFont::SansSerif);
  font.setBold(bold);
  return font;
}

QFont SerifFont(int pixels) {
  return Face(QStringLiteral("Garamond"), pixels, QFont::Serif);
}

QFont DisplayFont(int pixels) {
  QFont font(QStringLiteral("DSEG7 Classic"));
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(pixels);
  return font;
}

bool HasMusicFont() {
  static const bool has = Installed(QStringLiteral("Emmentaler"));
  return has;
}

QFont MusicFont(int pixels) {
  if (HasMusicFont()) {
    QFont font(QStringLiteral("Emmentaler"));
    font.setPixelSize(int(std::lround(pixels * kMusicScale)));
    return font;
  }
  QFont font(QStringLiteral("DejaVu Serif"));
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

}  // namespace zelmora
