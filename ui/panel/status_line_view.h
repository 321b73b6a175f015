#pragma once

#include <QFont>
#include <QWidget>
#include <string>

namespace zelmora {

// The practice status line under the beat number (objectName
// "lblPracticeStatus"): one line of plain text, centred, in a quiet
// colour; nothing while its text is empty. Setters repaint only on change.
class TStatusLineView final : public QWidget {
 public:
  explicit TStatusLineView(QWidget* parent);

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
