#pragma once

#include <QKeyEvent>

#include <optional>

namespace zelmora {

enum class TPresetKey { Next, Previous };

// The keys that step through the current setlist, in the main window and
// on the beat panel: F8 and F7, which nothing else in the program uses and
// a programmable foot pedal can send, and the media keys "next" and
// "previous", which pedals and remote controls send in their media mode.
// The arrows and the page keys belong to the tempo fader.
// Thread: ui
inline std::optional<TPresetKey> PresetKeyOf(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_F8:
    case Qt::Key_MediaNext:
      return TPresetKey::Next;
    case Qt::Key_F7:
    case Qt::Key_MediaPrevious:
      return TPresetKey::Previous;
    default:
      return std::nullopt;
  }
}

}  // namespace zelmora
