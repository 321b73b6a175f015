#pragma once

#include <QObject>

#include <functional>
#include <optional>

#include "tempo/fader_keys.h"

class QAbstractSlider;
class QKeyEvent;

namespace zelmora {

// The tempo fader's key, if the key is one the fader handles itself.
std::optional<TFaderKey> FaderKeyFromQt(int qtKey);

// Gives the tempo fader (a QAbstractSlider with the range -208..-40) the
// keys of the traditional fader: Up/Left raise the tempo, Down/Right lower
// it, paging by ten, Home/End to the ends, Ctrl+arrow along the standard
// tempos. Qt's own slider would step Up/Down the other way round, so the
// filter takes these keys. When a key really moves the fader it sets the
// slider's value and then calls `userChange`, the fader's user-change
// handler; a key that cannot move the fader is swallowed without a call.
// Other keys pass on untouched. Installs itself on the slider and is
// parented to it.
class TTempoFaderKeys : public QObject {
 public:
  TTempoFaderKeys(QAbstractSlider* slider, std::function<void()> userChange);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool HandleKey(const QKeyEvent& key);

  QAbstractSlider* slider_;
  std::function<void()> userChange_;
};

}  // namespace zelmora
