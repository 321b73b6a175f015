#include "ui/prefs/prefs_look.h"

#include <QColor>
#include <QDialog>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

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

QFont PrefsFont(int pixels, bool bold) {
  // Tahoma, or its narrow cousin where Tahoma is missing, so that the
  // captions fit the dialog's fixed layout. One family only: a list of
  // families does not survive the style sheet's font resolution.
  QFont font(PrefsFontFamily());
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QString PrefsFontFamily() {
  static const QString family = [] {
    for (const char* candidate : {"Tahoma", "DejaVu Sans Condensed", "Liberation Sans Narrow"}) {
      if (QFontDatabase::hasFamily(QString::fromLatin1(candidate))) {
        return QString::fromLatin1(candidate);
      }
    }
    return QStringLiteral("Tahoma");
  }();
  return family;
}

QString PrefsStyleSheet() {
  const TSkin& skin = TSkin::Instance();
  const QColor panel = skin.Color(TSkinRole::Panel);
  const QColor border = skin.Color(TSkinRole::PanelBorder);
  // The type is part of the sheet: a font set on the widgets would not
  // survive the sheet being set again when the skin changes.
  const QString type = QStringLiteral(
                           "QWidget { font-family: \"%1\"; font-size: %2px; }"
                           "QLabel[small=\"true\"] { font-size: %3px; }"
                           "QLabel[scale=\"true\"] { font-size: %4px; }")
                           .arg(PrefsFontFamily())
                           .arg(kPrefsTextPixels)
                           .arg(kPrefsSmallPixels)
                           .arg(kPrefsScalePixels);
  return type + QStringLiteral(
                    "QGroupBox { border: 1px solid %1; border-radius: 6px; margin-top: 7px;"
                    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, stop:1 %3); }"
                    "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
                    " left: 10px; padding: 0px 4px; color: %4; }"
                    // A plain list under the box, which shows maxVisibleItems
                    // entries at a time; the Fusion style's own popup would
                    // show them all, from the top of the screen.
                    "QComboBox { combobox-popup: 0; }"
                    "QLabel { color: %4; background: transparent; }"
                    "QLabel[small=\"true\"] { color: %5; }"
                    "QPushButton { color: %4; border: 1px solid %6; border-radius: 4px;"
                    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %7, stop:1 %8);"
                    " padding: 0px; }"
                    "QPushButton:hover { border-color: %9; }"
                    "QPushButton:focus { border-color: %9; outline: none; }"
                    "QPushButton:pressed { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                    " stop:0 %8, stop:1 %7); padding-top: 1px; }")
                    .arg(Css(border.lighter(118)), Css(QColor(255, 255, 255, 90)),
                         Css(QColor(255, 255, 255, 30)), Css(TSkinRole::Text),
                         Css(TSkinRole::TextMuted), Css(border), Css(panel.lighter(106)),
                         Css(skin.Color(TSkinRole::WindowShade)), Css(TSkinRole::Accent));
}

QVBoxLayout* SetUpToolDialog(QDialog& dialog, const QString& objectName, const QString& caption) {
  dialog.setObjectName(objectName);
  dialog.setWindowTitle(caption);
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                        Qt::MSWindowsFixedSizeDialogHint);
  dialog.setSizeGripEnabled(false);
  dialog.setFont(PrefsFont(kPrefsTextPixels));
  auto* outer = new QVBoxLayout(&dialog);
  outer->setContentsMargins(8, 4, 8, 8);
  outer->setSpacing(8);
  outer->setSizeConstraint(QLayout::SetFixedSize);
  return outer;
}

void PaintPrefsBackground(QWidget& dialog) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(&dialog);
  QLinearGradient background(0, 0, 0, dialog.height());
  background.setColorAt(0.0, skin.Color(TSkinRole::Window).lighter(104));
  background.setColorAt(1.0, skin.Color(TSkinRole::WindowShade));
  painter.fillRect(dialog.rect(), background);
}

}  // namespace zelmora
