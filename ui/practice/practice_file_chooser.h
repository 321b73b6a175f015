#pragma once

#include <optional>
#include <string>

#include "audio/choice/practice_sounds.h"
#include "ui/prefs/sound_file_dialog.h"

class QWidget;

namespace zelmora {

// The open-file dialog of a practice voice's "..." button. The Practice
// dialog uses the system's; tests answer it themselves.
//
// Threads: user-interface thread only.
class TPracticeFileChooser {
 public:
  virtual ~TPracticeFileChooser() = default;
  // The chosen file's full path, or nothing when the user cancels.
  // `current` is the voice's last chosen file, where the dialog opens.
  virtual std::optional<std::string> ChoosePracticeSoundFile(TPracticeVoice voice,
                                                             const std::string& current) = 0;
};

// The system's file dialog, as Preferences shows it.
class TPracticeFileDialog final : public TPracticeFileChooser {
 public:
  explicit TPracticeFileDialog(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> ChoosePracticeSoundFile(TPracticeVoice /*voice*/,
                                                     const std::string& current) override {
    return AskForSoundFile(parent_, current);
  }

 private:
  QWidget* parent_;
};

}  // namespace zelmora
