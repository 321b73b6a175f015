#pragma once

#include <string>

#include "audio/choice/practice_sounds.h"
#include "core/config.h"

class QComboBox;

namespace zelmora {

class TPracticeFileChooser;

// One practice voice's sound list: the bank entries, then the voice's WAV
// file. The list shows the choice that the settings object holds; a pick
// takes effect only through TPracticeSounds::Choose, which stores it once
// the sound has loaded, and afterwards the list shows the stored choice
// again, so a file that cannot be read leaves both as they were.
//
// Threads: user-interface thread only.
class TPracticeSoundRow {
 public:
  // Everything passed in must outlive the row.
  TPracticeSoundRow(TPracticeVoice voice, const TConfig& config, TPracticeSounds& sounds,
                    QComboBox* list);

  // Fills the list with the entries and shows the stored choice. A stored
  // index that names nothing shows the entry that the voice plays instead.
  void ShowStored();

  // The user picked entry `index`. The file entry without a file asks for
  // one instead. Throws TError when the file cannot be read.
  void Pick(int index, TPracticeFileChooser& chooser);
  // The "..." button: asks for a file and, unless the user cancels, makes
  // it the voice's sound. Throws TError when the file cannot be read.
  void PickFile(TPracticeFileChooser& chooser);

 private:
  int StoredIndex() const;
  const std::string& StoredFile() const;

  TPracticeVoice voice_;
  const TConfig& config_;
  TPracticeSounds& sounds_;
  QComboBox* list_;
};

}  // namespace zelmora
