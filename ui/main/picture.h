#pragma once

#include <QWidget>

#include <functional>

namespace zelmora {

// A widget that shows one of the program's drawings (logo, volume wedge,
// beat dot, note sign), repainted when the skin changes.
class TPicture : public QWidget {
 public:
  using TPaint = std::function<void(QPainter&, const QRectF&)>;
  TPicture(TPaint paint, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TPaint paint_;
};

}  // namespace zelmora
