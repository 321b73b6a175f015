#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

namespace zelmora {

// The main window's key map. It sees every key pressed in the window before
// the focused control does, whichever control that is, and leaves it to the
// control afterwards as usual, except in the controls named with
// KeepActedKeysFrom: a text field must not also type the blank, plus or
// minus that the map has acted on. Keys in other windows (dialogs, the
// meter box's open list, menus) are not its business.
class TKeyPreview : public QObject {
 public:
  struct TActions {
    std::function<void()> Enter;  // Return or keypad Enter
    std::function<void()> Space;
    std::function<void()> Escape;
    std::function<void()> KeypadPlus;
    std::function<void()> KeypadMinus;
    std::function<void()> ControlP;        // the Practice dialog
    std::function<void()> ControlL;        // the Presets dialog
    std::function<void()> NextPreset;      // F8 or the media key "next"
    std::function<void()> PreviousPreset;  // F7 or the media key "previous"
  };

  // Watches the whole application for keys aimed at `window`.
  TKeyPreview(QWidget* window, TActions actions);
  ~TKeyPreview() override;

  // The keys the map acts on do not reach `control` (or its children).
  void KeepActedKeysFrom(QWidget* control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsFirstDelivery(QObject* watched) const;
  // Whether the key is one of the map's; runs its action.
  bool Handle(const QKeyEvent& key);

  QPointer<QWidget> window_;
  TActions actions_;
  QPointer<QWidget> keptFrom_;
};

}  // namespace zelmora
