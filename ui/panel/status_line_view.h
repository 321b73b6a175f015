#pragma once

#include <QFont>
#include <QWidget>
#include <string>

namespace zelmora {

// A line of the beat panel (the practice status under the beat number,
// the preset's name above it): plain text, centred, in a quiet colour;
// nothing while its text is empty. Setters repaint only on change.
class TStatusLineView final : public QWidget {
 public:
  TStatusLineView(QWidget* parent, const QString& objectName);

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  int FontPixelSize() const { return font_.pixelSize(); }
  void SetFontPixelSize(int pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string text_;
  QFont font_;
};

}  // namespace zelmora
