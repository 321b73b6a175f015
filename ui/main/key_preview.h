#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

namespace zelmora {

// The main window's key map. It sees every key pressed in the window before
// the focused control does, whichever control that is, and never consumes
// it: the control gets the key afterwards as usual. Keys in other windows
// (dialogs, the meter box's open list, menus) are not its business.
class TKeyPreview : public QObject {
 public:
  struct TActions {
    std::function<void()> Enter;  // Return or keypad Enter
    std::function<void()> Space;
    std::function<void()> Escape;
    std::function<void()> KeypadPlus;
    std::function<void()> KeypadMinus;
  };

  // Watches the whole application for keys aimed at `window`.
  TKeyPreview(QWidget* window, TActions actions);
  ~TKeyPreview() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsFirstDelivery(QObject* watched) const;
  void Handle(const QKeyEvent& key);

  QPointer<QWidget> window_;
  TActions actions_;
};

}  // namespace zelmora
