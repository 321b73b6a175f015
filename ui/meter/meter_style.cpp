#include "ui/meter/meter_style.h"

#include <QColor>
#include <QFontDatabase>

#include "ui/skin/skin.h"

namespace zelmora {
namespace {

QString Css(const QColor& color) {
  return color.name(QColor::HexArgb);
}

QString Css(TSkinRole role) {
  return Css(TSkin::Instance().Color(role));
}

}  // namespace

QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(12);
  return font;
}

QFont MeterPreviewFont() {
  // The time-signature digits and "+" of the music font sit at their ASCII
  // codes; they are half an em tall, hence the larger size.
  QFont font;
  if (QFontDatabase::families().contains(QStringLiteral("Emmentaler"))) {
    font.setFamily(QStringLiteral("Emmentaler"));
    font.setPixelSize(32);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
  } else {
    font.setFamilies({QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
    font.setBold(true);
    font.setPixelSize(17);
  }
  return font;
}

QString DialogStyleSheet() {
  const TSkin& skin = TSkin::Instance();
  const QColor panel = skin.Color(TSkinRole::Panel);
  const QColor border = skin.Color(TSkinRole::PanelBorder);
  const QColor accent = skin.Color(TSkinRole::Accent);
  return QStringLiteral(
             "QLabel { color: %1; background: transparent; }"
             "QPushButton { color: %1; border: 1px solid %2; border-radius: 3px; padding: 0px 4px;"
             "  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %3, stop:1 %4); }"
             "QPushButton:hover { border-color: %5; }"
             "QPushButton:pressed { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
             "  stop:0 %4, stop:1 %3); }"
             "QPushButton:default { border: 1px solid %6; }"
             "QPushButton:focus { border: 1px solid %5; }"
             "QPushButton:disabled { color: %7; border-color: %8; background: %9; }"
             "QGroupBox { color: %1; border: 1px solid %2; border-radius: 4px; margin-top: 6px;"
             "  background: %10; }"
             "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0px 3px; }")
      .arg(Css(TSkinRole::Text), Css(border), Css(panel.lighter(106)),
           Css(skin.Color(TSkinRole::Window).darker(104)), Css(accent), Css(accent.darker(125)),
           Css(skin.Color(TSkinRole::TextMuted).lighter(150)), Css(border.lighter(130)))
      .arg(Css(panel), Css(QColor(0xFA, 0xFB, 0xFC)));
}

QString GridScrollBarStyleSheet() {
  return QStringLiteral(
             "QScrollBar:horizontal { height: %1px; margin: 0px; border: none;"
             "  border-top: 1px solid %2; background: %3; }"
             "QScrollBar::handle:horizontal { background: %4; border-radius: 3px; margin: 1px;"
             "  min-width: 16px; }"
             "QScrollBar::handle:horizontal:hover { background: %5; }"
             "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0px; }"
             "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal {"
             "  background: none; }")
      .arg(kGridScrollBarHeight)
      .arg(Css(TSkin::Instance().Color(TSkinRole::PanelBorder).lighter(140)), Css(TSkinRole::Panel),
           Css(TSkinRole::PanelBorder), Css(TSkinRole::Accent));
}

}  // namespace zelmora
