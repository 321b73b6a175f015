#include <QApplication>
#include <QLineEdit>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTest>

#include "ui/skin/skin.h"

using zelmora::TSkin;
using zelmora::TSkinRole;

namespace {

// A desktop with a dark theme. Qt resolves every role that an application
// palette leaves unset against the desktop's palette, which ends in the
// style's palette polish, so a style that polishes to dark stands in for it.
class TDarkDesktopStyle : public QProxyStyle {
 public:
  TDarkDesktopStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  using QProxyStyle::polish;
  void polish(QPalette& palette) override {
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2B, 0x2B, 0x2B));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                      QPalette::ToolTipText, QPalette::HighlightedText, QPalette::BrightText}) {
      dark.setColor(role, QColor(0xEE, 0xEE, 0xEE));
    }
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1E, 0x1E));
    dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
    dark.setColor(QPalette::ToolTipBase, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::PlaceholderText, QColor(0xEE, 0xEE, 0xEE, 0x80));
    dark.setColor(QPalette::Link, QColor(0x9C, 0xC8, 0xFF));
    dark.setColor(QPalette::LinkVisited, QColor(0xD0, 0xA8, 0xFF));
    dark.setResolveMask(0);
    palette = dark;
  }
};

// A colour as it shows over its ground (placeholder text is translucent).
QColor Over(const QColor& color, const QColor& ground) {
  const double a = color.alphaF();
  return QColor::fromRgbF(float(color.redF() * a + ground.redF() * (1 - a)),
                          float(color.greenF() * a + ground.greenF() * (1 - a)),
                          float(color.blueF() * a + ground.blueF() * (1 - a)));
}

}  // namespace

class SkinPaletteTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QApplication::setStyle(new TDarkDesktopStyle);
    QVERIFY(QApplication::palette().color(QPalette::Window).lightness() < 80);
    // Desktop themes also hand Qt palettes for single widget classes.
    QApplication::setPalette(QApplication::palette(), "QLineEdit");
  }
  void cleanup() { TSkin::Instance().SetHueOffset(0); }

  // At every hue offset: turning the hue also turns the highlight, and a
  // yellow or green one is light.
  void textReadsOnADarkDesktop() {
    TSkin& skin = TSkin::Instance();
    // As the program does at start; the hue slider does it again.
    QApplication::setPalette(skin.Palette());
    for (int hue = -255; hue <= 255; ++hue) {
      skin.SetHueOffset(hue);
      CheckContrast(hue);
      if (QTest::currentTestFailed()) {
        return;
      }
    }
  }

 private:
  void CheckContrast(int hue) {
    const TSkin& skin = TSkin::Instance();
    QLineEdit widget;
    const QPalette palette = widget.palette();
    QCOMPARE(palette.color(QPalette::Window), skin.Color(TSkinRole::Window));

    struct TPair {
      QPalette::ColorRole text, ground;
      double least;  // body text 4.5:1, highlights, links and hints 3:1
    };
    const TPair pairs[] = {
        {QPalette::WindowText, QPalette::Window, 4.5},
        {QPalette::Text, QPalette::Base, 4.5},
        {QPalette::Text, QPalette::AlternateBase, 4.5},
        {QPalette::ButtonText, QPalette::Button, 4.5},
        {QPalette::ToolTipText, QPalette::ToolTipBase, 4.5},
        {QPalette::HighlightedText, QPalette::Highlight, 3.0},
        {QPalette::PlaceholderText, QPalette::Base, 3.0},
        {QPalette::Link, QPalette::Base, 3.0},
        {QPalette::LinkVisited, QPalette::Base, 3.0},
    };
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      for (const TPair& pair : pairs) {
        const QColor ground = palette.color(group, pair.ground);
        const QColor text = Over(palette.color(group, pair.text), ground);
        const double contrast = TSkin::Contrast(text, ground);
        QVERIFY2(contrast >= pair.least,
                 qPrintable(QStringLiteral("hue %1, group %2: %3 on %4 has contrast %5")
                                .arg(hue)
                                .arg(int(group))
                                .arg(text.name(), ground.name())
                                .arg(contrast, 0, 'f', 2)));
      }
    }
  }
};

QTEST_MAIN(SkinPaletteTest)
#include "skin_palette_test.moc"
