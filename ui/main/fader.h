#pragma once

#include <QSlider>

namespace zelmora {

// A vertical fader in the program's own look. Its minimum sits at the top
// (the tempo fader shows -208 there, the volume fader 0 = full level), and
// the wheel and the keys move the thumb the way they point. Neither fader
// is a tab stop; the window hands the focus to the tempo fader itself.
class TFader : public QSlider {
 public:
  enum class TLook {
    Tempo,   // a large sculpted knob in a black channel
    Volume,  // a small thumb with tick marks at both ends
  };
  TFader(TLook look, int thumbLength, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintTempo(QPainter& painter, const QRect& groove, const QRect& handle);
  void PaintVolume(QPainter& painter, const QRect& groove, const QRect& handle);

  TLook look_;
};

}  // namespace zelmora
