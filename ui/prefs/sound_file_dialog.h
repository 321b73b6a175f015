#pragma once

#include <QWidget>

#include <optional>
#include <string>

#include "audio/choice/sound_file_chooser.h"

namespace zelmora {

// The system's file dialog for one WAV file, resizable, opening at
// `current` (the last chosen file, may be empty). Like the dialogs the
// program always had, it takes a typed name of a file that is not there;
// loading it then says why it cannot be opened. The chosen file's full
// path, or nothing when the user cancels.
std::optional<std::string> AskForSoundFile(QWidget* parent, const std::string& current);

// The sides' open-file dialogs.
class TSoundFileDialog final : public TSoundFileChooser {
 public:
  explicit TSoundFileDialog(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> ChooseSoundFile(TSoundSide /*side*/,
                                             const std::string& current) override {
    return AskForSoundFile(parent_, current);
  }

 private:
  QWidget* parent_;
};

}  // namespace zelmora
