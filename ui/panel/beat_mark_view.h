#pragma once

#include <QWidget>
#include <cstdint>

#include "ui/panel/beat_face.h"

namespace zelmora {

// How much the mark and the number shrink so that the largest mark, sized
// from `markFontPixels`, keeps inside `area`: 1 when it fits as it is.
double MarkFitScale(QSize area, int markFontPixels);

// The beat panel's large mark on its dark ground (objectName "LabelBeat").
// Painted as shapes, not glyphs, so it stays crisp at any size. The mark is
// sized from a font size (the size the mark would have as a character of
// that height) times a fit scale. Setters repaint only on change.
class TBeatMarkView final : public QWidget {
 public:
  explicit TBeatMarkView(QWidget* parent);

  TBeatMark Mark() const { return mark_; }
  void SetMark(TBeatMark mark);
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t rgb);
  int FontPixelSize() const { return fontPixelSize_; }
  void SetFontPixelSize(int pixels);
  void SetFitScale(double scale);

  // The painted diameter of the mark's outline.
  double MarkExtent() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TBeatMark mark_ = TBeatMark::Circle;
  std::uint32_t color_ = 0x404040;
  int fontPixelSize_ = 1;
  double fitScale_ = 1.0;
};

}  // namespace zelmora
