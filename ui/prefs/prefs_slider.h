#pragma once

#include <QSlider>

namespace zelmora {

// A horizontal slider of the Preferences dialog in the program's own look:
// a dark channel, a small raised thumb with an accent line, and tick marks
// below when it has an interval. Dragging, paging and hit tests stay the
// base style's, with a thumb of a fixed width.
class TPrefsSlider final : public QSlider {
 public:
  explicit TPrefsSlider(QWidget* parent);

  // Where the thumb's centre stands for `value`, in the slider's own
  // coordinates; the scale labels below a slider are placed with it.
  int CentreForValue(int value) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect HandleRect(int value) const;
};

}  // namespace zelmora
