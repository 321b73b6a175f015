#pragma once

#include <QLabel>

namespace zelmora {

// The meter text in the music font. The font's time-signature digits sit on
// the baseline inside a very tall line box, so the text is centred by its
// inked outline rather than by the font's line metrics.
class TMeterPreview final : public QLabel {
  Q_OBJECT

 public:
  explicit TMeterPreview(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace zelmora
