#pragma once

#include <QFont>
#include <QWidget>
#include <cstdint>
#include <string>

namespace zelmora {

// The beat number drawn over the mark (objectName "lblBeatNumber"): bold,
// transparent, centred on its ink so that digits sit in the middle of the
// mark. Setters repaint only on change.
class TBeatNumberView final : public QWidget {
 public:
  explicit TBeatNumberView(QWidget* parent);

  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t rgb);
  int FontPixelSize() const { return fontPixelSize_; }
  void SetFontPixelSize(int pixels);
  // Shrinks the number with the mark (see MarkFitScale).
  void SetFitScale(double scale);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::string text_;
  std::uint32_t color_ = 0x008000;
  int fontPixelSize_ = 1;
  double fitScale_ = 1.0;
  QFont font_;  // at the painted size

  void UpdateFont();
};

}  // namespace zelmora
