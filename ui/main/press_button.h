#pragma once

#include <QColor>
#include <QPushButton>

namespace zelmora {

// A button that acts on the press of the left mouse button, not on its
// release (the start/stop and tap buttons): a metronome's start and a
// tap must land when the finger goes down. Other buttons are ignored.
// Keyboard activation does nothing here: the window's key map already
// handles Space and Enter, and acting again would toggle or tap twice.
class TPressButton : public QPushButton {
  Q_OBJECT

 public:
  enum class TSign { Play, Pause, Dot };
  TPressButton(TSign sign, QWidget* parent);

  TSign Sign() const { return sign_; }
  void SetSign(TSign sign);
  // Drawn pressed in (the start button while the metronome runs).
  bool Sunken() const { return sunken_; }
  void SetSunken(bool sunken);
  // The sign's colour; an invalid colour means the skin's text colour.
  void SetSignColor(const QColor& color);
  QColor SignColor() const { return signColor_; }
  void SetSignSize(int pixels);

 signals:
  void leftPressed();
  // Any mouse button released on it, or any key released while it has the
  // focus.
  void released();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  TSign sign_;
  bool sunken_ = false;
  bool held_ = false;  // the left button is down on it
  QColor signColor_;
  int signSize_ = 12;
};

}  // namespace zelmora
