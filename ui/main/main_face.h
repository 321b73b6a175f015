#pragma once

#include <QWidget>

#include <vector>

namespace zelmora {

// The main window's client area: a brushed silver panel on which the
// controls sit, with the tick marks of the tempo scale.
class TMainFace : public QWidget {
 public:
  explicit TMainFace(QWidget* parent);

  // Where the tempo scale's marks go: the y of each mark and the x range.
  void SetScaleMarks(std::vector<int> ys, int left, int right);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<int> marks_;
  int markLeft_ = 0;
  int markRight_ = 0;
};

}  // namespace zelmora
