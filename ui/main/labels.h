#pragma once

#include <QLabel>

namespace zelmora {

// A heading ("TEMPO", "METER", ...): bold text over a soft light shadow,
// as if engraved into the panel.
class THeadingLabel : public QLabel {
 public:
  THeadingLabel(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A label that reports a left click (press and release on it).
class TClickLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

// A clickable label whose ink is centred vertically (the beat count in the
// music face).
class TInkLabel : public TClickLabel {
 public:
  using TClickLabel::TClickLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A link in the window ("More...."): the skin's accent colour, underlined
// while the mouse is over it.
class TLinkLabel : public TClickLabel {
 public:
  TLinkLabel(const QString& text, QWidget* parent);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void Restyle();
  bool hover_ = false;
};

}  // namespace zelmora
