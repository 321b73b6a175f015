#pragma once

#include <QFrame>
#include <QString>

namespace zelmora {

// The tempo display: three seven-segment digits on dark glass, with the
// unlit segments faintly visible behind them as on a real LCD. Its child
// labels (beat count, "BPM", "TAP", the beat mark) sit on it; a click on
// the glass itself (not on a label) reports clicked().
class TTempoDisplay : public QFrame {
  Q_OBJECT

 public:
  explicit TTempoDisplay(QWidget* parent);

  // The caption: the three digits ("020".."416").
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool OnGlass(const QPoint& point) const;
  void FitDigits();

  QString caption_;
  QRect digitsBox_;
  QFont digitsFont_;
  bool pressed_ = false;
};

}  // namespace zelmora
