#include "ui/tempo/tempo_look.h"

#include <QColor>

#include "ui/skin/skin.h"

namespace zelmora {
namespace {

QString Css(TSkinRole role) {
  return TSkin::Instance().Color(role).name(QColor::HexArgb);
}
QString Css(const QColor& color) {
  return color.name(QColor::HexArgb);
}

}  // namespace

QFont TahomaFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("Tahoma"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

QString DialogButtonStyle() {
  const TSkin& skin = TSkin::Instance();
  const QColor panel = skin.Color(TSkinRole::Panel);
  return QStringLiteral(
             "QPushButton { color: %1; border: 1px solid %2; border-radius: 4px;"
             " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %3, stop:1 %4);"
             " padding: 0px; }"
             "QPushButton:hover { border-color: %5; }"
             "QPushButton:default { border: 1px solid %5; }"
             "QPushButton:focus { outline: none; }"
             "QPushButton:pressed { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
             " stop:0 %4, stop:1 %3); padding-top: 1px; }")
      .arg(Css(TSkinRole::Text), Css(TSkinRole::PanelBorder), Css(panel.lighter(106)),
           Css(skin.Color(TSkinRole::WindowShade)), Css(TSkinRole::Accent));
}

QString CalcFieldStyle() {
  return QStringLiteral(
             "zelmora--TCalcEdit { background: white; border: 1px solid %1; border-radius: 2px; }"
             "zelmora--TCalcEdit[focused=\"true\"] { border-color: %2; }"
             "QLineEdit { background: white; color: %3; border: none; padding-left: 2px;"
             " selection-background-color: %2; selection-color: white; }"
             "QToolButton { border: none; border-left: 1px solid %4; background: %5; }"
             "QToolButton:hover { background: %6; }"
             "QToolButton:pressed, QToolButton:checked { background: %4; }")
      .arg(Css(TSkinRole::PanelBorder), Css(TSkinRole::Accent), Css(TSkinRole::Text),
           Css(TSkin::Instance().Color(TSkinRole::PanelBorder).lighter(140)), Css(TSkinRole::Panel),
           Css(TSkin::Instance().Color(TSkinRole::Panel).darker(106)));
}

QString CalculatorStyle() {
  const TSkin& skin = TSkin::Instance();
  return QStringLiteral(
             "zelmora--TCalculatorPopup { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
             " stop:0 %1, stop:1 %2); border: 1px solid %3; }"
             "QFrame#display { background: %4; border: 1px solid %3; border-radius: 3px; }"
             "QFrame#display QLabel { background: transparent; color: %5; }"
             "QLabel#pending { color: %12; }"
             "QPushButton { color: %6; border: 1px solid %3; border-radius: 3px;"
             " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %7, stop:1 %8); }"
             "QPushButton:hover { border-color: %9; }"
             "QPushButton:pressed { background: %8; }"
             "QPushButton[role=\"op\"] { color: %9; font-weight: bold; }"
             "QPushButton[role=\"ok\"] { color: white; border-color: %10;"
             " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %11, stop:1 %10); }")
      .arg(Css(TSkinRole::Window), Css(TSkinRole::WindowShade), Css(TSkinRole::PanelBorder),
           Css(TSkinRole::Display), Css(TSkinRole::DisplayText), Css(TSkinRole::Text),
           Css(skin.Color(TSkinRole::Panel).lighter(106)), Css(TSkinRole::Window),
           Css(TSkinRole::Accent))
      .arg(Css(skin.Color(TSkinRole::Accent).darker(125)),
           Css(skin.Color(TSkinRole::Accent).lighter(120)),
           Css(skin.Color(TSkinRole::DisplayText).darker(150)));
}

}  // namespace zelmora
