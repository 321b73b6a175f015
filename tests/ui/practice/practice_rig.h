#pragma once

// The Practice dialog on a settings object of its own, with its voices on
// no mixer, and recording stand-ins for the audio messages, the file dialog
// and the error reporter, so that nothing blocks.

#include <QApplication>
#include <QWidget>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "audio/beat_voices.h"
#include "audio/choice/practice_sounds.h"
#include "core/config.h"
#include "tests/audio/choice/choice_rig.h"
#include "ui/practice/practice_dialog.h"
#include "ui/practice/practice_file_chooser.h"

namespace zelmora::test {

// Answers the "..." buttons with Answer (nothing: the user cancels).
class TScriptedPracticeChooser final : public TPracticeFileChooser {
 public:
  std::optional<std::string> ChoosePracticeSoundFile(TPracticeVoice voice,
                                                     const std::string& current) override {
    Asked.emplace_back(voice, current);
    return Answer;
  }
  std::optional<std::string> Answer;
  std::vector<std::pair<TPracticeVoice, std::string>> Asked;
};

struct TPracticeRig {
  TPracticeRig() {
    dialog.SetFileChooser(&chooser);
    dialog.SetErrorReporter([this](const std::string& message) { errors.push_back(message); });
  }
  TPracticeRig(const TPracticeRig&) = delete;
  TPracticeRig& operator=(const TPracticeRig&) = delete;

  // Every practice tool on, so that no control is disabled.
  void SwitchEverythingOn() {
    config.SetSubdivision(2);
    config.SetLayerClicks(3);
    config.SetTrainer(true);
    config.SetGapPlayBars(2);
    config.SetGapRandomPercent(0);
  }

  template <typename T>
  T* Find(const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
  }

  TConfig config;
  TBeatVoices voices = TBeatVoices::On(nullptr);
  TRecordedMessages messages;
  TPracticeSounds sounds{config, voices, messages};
  TScriptedPracticeChooser chooser;
  TfrmPractice dialog{config, sounds};
  std::vector<std::string> errors;
};

}  // namespace zelmora::test
