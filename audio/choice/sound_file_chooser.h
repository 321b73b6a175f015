#pragma once

#include <optional>
#include <string>

#include "audio/choice/sound_side.h"

namespace zelmora {

// The side's open-file dialog ("Wave files (*.wav)"). The Preferences dialog
// implements it with the system's file dialog; tests answer it themselves.
//
// Threads: user-interface thread only.
class TSoundFileChooser {
 public:
  virtual ~TSoundFileChooser() = default;
  // The chosen file's full path, or nothing when the user cancels.
  // `current` is the side's last chosen path, where the dialog opens.
  virtual std::optional<std::string> ChooseSoundFile(TSoundSide side,
                                                     const std::string& current) = 0;
};

}  // namespace zelmora
