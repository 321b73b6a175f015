#pragma once

#include <QAbstractButton>

namespace zelmora {

// The always-on-top toggle in the window's corner: an upward arrow above a
// small window, lit while the window stays on top. Releasing the mouse on
// it reports clicked(); the owner decides what the new state is.
class TPinButton : public QAbstractButton {
 public:
  explicit TPinButton(QWidget* parent);

  bool On() const { return on_; }
  void SetOn(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool on_ = false;
  bool hover_ = false;
};

}  // namespace zelmora
