#pragma once

#include <QWidget>

#include "audio/choice/sound_file_chooser.h"

namespace zelmora {

// The sides' open-file dialogs: the system's file dialog for WAV files,
// resizable, opening at the side's last chosen file. Like the dialogs the
// program always had, it takes a typed name of a file that is not there;
// loading it then says why it cannot be opened.
class TSoundFileDialog final : public TSoundFileChooser {
 public:
  explicit TSoundFileDialog(QWidget* parent) : parent_(parent) {}
  std::optional<std::string> ChooseSoundFile(TSoundSide side, const std::string& current) override;

 private:
  QWidget* parent_;
};

}  // namespace zelmora
