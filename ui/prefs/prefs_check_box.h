#pragma once

#include <QCheckBox>

namespace zelmora {

// A check box in the program's own look: a rounded box that fills with the
// skin's accent colour and a white tick when checked, greyed when disabled.
class TPrefsCheckBox final : public QCheckBox {
 public:
  TPrefsCheckBox(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace zelmora
