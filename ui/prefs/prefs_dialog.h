#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/choice/sound_choice.h"
#include "core/config.h"
#include "core/scope.h"
#include "ui/controls/widget_controls.h"
#include "ui/prefs/combo_sound_list.h"
#include "ui/prefs/output_list.h"
#include "ui/prefs/sound_file_dialog.h"

class QLabel;
class QPushButton;

namespace zelmora {

class TPrefsCheckBox;
class TPrefsSlider;
class TSoundCombo;

// The Preferences dialog: the sound output, the accent and regular sounds, the levels of the
// regular beat and the bell, the pan, the volume boost, the skin's hue and
// always-on-top. There is no OK or Cancel: every control acts at once
// through the settings object's setters or by rebuilding a voice, and
// "Close" only hides the dialog.
//
// Created hidden with the main window, before LoadSettings, and kept until
// exit. While it lives, the settings object reaches its sliders and check
// boxes (sTrackBarRegDif, strbBellVolume, sTrackBarPan, chkBoostVolume,
// sckbStayOnTop, strkbHue), its output list (cmbOutputDevice) and, through the sound choice, its
// two sound lists. When it goes it hands their state back to the settings object's bindings, so
// SaveSettings reads the same values before or after; it writes nothing itself.
class TfrmSettings final : public QDialog {
  Q_OBJECT

 public:
  // `config` and `choice` must outlive the dialog.
  TfrmSettings(TConfig& config, TSoundChoice& choice, QWidget* parent = nullptr);
  ~TfrmSettings() override;

  // Start-up, after LoadSettings and once the audio output is open, before
  // LoadVolumes: fills the sound lists, applies the stored choice and
  // builds the three voices.
  void FillSoundLists();

  // Where the output list finds the outputs the sound card knows; it is
  // asked again each time the dialog is shown.
  void SetOutputLister(TOutputList::TLister lister);

  // Where an error of a handler is shown (a sound file that cannot be
  // opened). By default the general error box.
  using TErrorReporter = std::function<void(const std::string& message)>;
  void SetErrorReporter(TErrorReporter reporter);
  // The file dialog both sides use; nullptr: the system's.
  void SetFileChooser(TSoundFileChooser* chooser);

 protected:
  // Each showing comes up centred over the main window (the parent).
  void setVisible(bool visible) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void BuildAudioGroup();
  void BuildInterfaceGroup();
  QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& geometry, bool small = false);
  void AddScale(QWidget* parent, TPrefsSlider* slider);
  void BindControls();
  void ConnectHandlers();
  void Restyle();
  void ShowBoostNotice();

  // Handlers, named after their control and event.
  void cmbOutputDeviceChange(int index);
  void sComboBoxChange(TSoundSide side);
  void sbtnSelectFilenameClick(TSoundSide side);
  void sTrackBarPanChange(int position);
  void strkbHueChange(int position);
  void strkbVisualOffsetChange(int position);
  void ShowVisualOffset(int ms);
  void chkBoostVolumeClick(bool checked);
  void sckbStayOnTopClick(bool checked);

  // Runs a handler; what it throws goes to the error reporter, never into
  // the toolkit.
  void Run(const std::function<void()>& handler);

  TConfig& config_;
  TSoundChoice& choice_;
  TErrorReporter reportError_;
  TSoundFileDialog fileDialog_{this};

  TSoundCombo* cmbOutputDevice = nullptr;
  TSoundCombo* sComboBoxAcc = nullptr;
  TSoundCombo* sComboBoxReg = nullptr;
  QPushButton* sbtnSelectFilenameAcc = nullptr;
  QPushButton* sbtnSelectFilenameReg = nullptr;
  TPrefsSlider* sTrackBarRegDif = nullptr;
  TPrefsSlider* strbBellVolume = nullptr;
  TPrefsSlider* sTrackBarPan = nullptr;
  TPrefsSlider* strkbHue = nullptr;
  TPrefsSlider* strkbVisualOffset = nullptr;
  QLabel* lblVisualOffset = nullptr;
  TPrefsCheckBox* chkBoostVolume = nullptr;
  TPrefsCheckBox* sckbStayOnTop = nullptr;
  QPushButton* sButton1 = nullptr;

  std::unique_ptr<TOutputList> outputList_;
  std::unique_ptr<TComboSoundList> accentList_;
  std::unique_ptr<TComboSoundList> regularList_;
  std::vector<TScope> bindings_;  // the controls' bindings to the settings object
  bool boostNoticeShown_ = false;
};

}  // namespace zelmora
