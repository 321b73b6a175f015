#pragma once

// The Preferences dialog as the main window sets it up, with recording
// stand-ins for the voices' pan, the windows' topmost style, the audio
// messages and the file dialog, and a watcher that answers modal message
// boxes so that nothing blocks.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <string>
#include <vector>

#include "audio/bank/bank.h"
#include "audio/beat_voices.h"
#include "audio/choice/sound_choice.h"
#include "core/config.h"
#include "tests/audio/choice/choice_rig.h"
#include "tests/core/recording_control.h"
#include "ui/prefs/prefs_dialog.h"

namespace zelmora::test {

struct TPrefsRig {
  TPrefsRig() {
    TConfigControls& controls = config.Controls;
    const auto bind = [this](auto& binding, auto& control) {
      bindings.push_back(binding.Bind(control, TOnUnbind::Forget));
    };
    bind(controls.BellVoicePan, bellPan);
    bind(controls.AccentVoicePan, accentPan);
    bind(controls.RegularVoicePan, regularPan);
    bind(controls.MainWindowTopmost, mainTopmost);
    bind(controls.BeatPanelTopmost, panelTopmost);
    dialog.SetFileChooser(&chooser);
  }
  TPrefsRig(const TPrefsRig&) = delete;
  TPrefsRig& operator=(const TPrefsRig&) = delete;

  template <typename T>
  T* Find(const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
  }

  TConfig config;
  TBeatVoices voices = TBeatVoices::On(nullptr);
  TWaveStorage accent{ClickWave()};
  TWaveStorage regular{ClickWave()};
  TWaveStorage bell{BellWave()};
  TRecordedMessages messages;
  TScriptedChooser chooser;
  TRecordingControl<int> bellPan, accentPan, regularPan;
  TRecordingControl<bool> mainTopmost, panelTopmost;
  TSoundChoice choice{config, accent, regular, bell, voices, messages};
  TfrmSettings dialog{config, choice};
  std::vector<TScope> bindings;
};

// Answers every modal message box that comes up with its default button,
// after noting what it showed.
class TMessageBoxWatcher final : public QObject {
 public:
  struct TSeen {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon;
    QMessageBox::StandardButtons Buttons;
    QPoint Position;
  };

  TMessageBoxWatcher() {
    connect(&timer_, &QTimer::timeout, this, &TMessageBoxWatcher::Poll);
    timer_.start(5);
  }

  std::vector<TSeen> Seen;

 private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) {
      return;
    }
    Seen.push_back(
        {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->pos()});
    box->accept();
  }

  QTimer timer_;
};

}  // namespace zelmora::test
