#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>

#include "audio/choice/practice_sounds.h"
#include "core/config.h"
#include "ui/practice/practice_file_chooser.h"
#include "ui/practice/practice_sound_row.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace zelmora {

class TPrefsCheckBox;
class TPrefsSlider;

// The Practice dialog: subdivision and swing, the cross-rhythm layer, the
// count-in, the speed trainer, gap bars and the practice timer. As in
// Preferences there is no OK or Cancel: every control acts at once through
// the settings object's setters (the engine reads them at the next beat or
// bar) or, for the two sounds, through the practice sounds, and "Close"
// (or Esc) only hides the dialog.
//
// Modeless. Each showing reads the values from the settings object, which
// holds every one of them, so the dialog writes nothing at the save.
class TfrmPractice final : public QDialog {
  Q_OBJECT

 public:
  // `config` and `sounds` must outlive the dialog.
  TfrmPractice(TConfig& config, TPracticeSounds& sounds, QWidget* parent = nullptr);
  ~TfrmPractice() override;

  // Where an error of a handler is shown (a sound file that cannot be
  // read). By default the general error box.
  using TErrorReporter = std::function<void(const std::string& message)>;
  void SetErrorReporter(TErrorReporter reporter);
  // The "..." buttons' file dialog; nullptr: the system's.
  void SetFileChooser(TPracticeFileChooser* chooser);
  // The settings changed behind the dialog's back (a preset recalled): an
  // open dialog shows them.
  void SettingsChanged();

 protected:
  // Each showing reads the settings and comes up centred over the main
  // window (the parent).
  void setVisible(bool visible) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Building, in the order of the tab chain.
  QGroupBox* BuildSubdivisionGroup(QGridLayout* columns);
  QGroupBox* BuildLayerGroup(QGridLayout* columns);
  QGroupBox* BuildCountInGroup(QGridLayout* columns);
  QGroupBox* BuildTrainerGroup(QGridLayout* columns);
  QGroupBox* BuildGapGroup(QGridLayout* columns);
  QGroupBox* BuildTimerGroup(QGridLayout* columns);
  void ConnectHandlers();
  void Restyle();

  // Shows every stored value; the controls' handlers store them back,
  // clamped where a control had to move.
  void ShowSettings();
  // Disables what means nothing in the current state.
  void UpdateEnabled();

  // Handlers (practice_handlers.cpp).
  void SoundPicked(TPracticeSoundRow& row, int index);
  void SoundFileClicked(TPracticeSoundRow& row);
  void SwingChange(int percent);
  void SubdivisionVolumeChange(int level);
  void LayerVolumeChange(int level);
  // Runs a sound handler, shows the stored choice again and reports what
  // the handler threw.
  void RunSoundHandler(TPracticeSoundRow& row, const std::function<void()>& handler);

  TConfig& config_;
  TPracticeSounds& sounds_;
  TErrorReporter reportError_;
  TPracticeFileDialog fileDialog_{this};
  TPracticeFileChooser* chooser_ = &fileDialog_;

  // Named after the settings they show.
  QComboBox* scmbSubdivision = nullptr;
  TPrefsSlider* strkbSwing = nullptr;
  QLabel* lblSwing = nullptr;
  TPrefsSlider* strkbSubdivisionVolume = nullptr;
  QLabel* lblSubdivisionVolume = nullptr;
  QComboBox* scmbSubdivisionSound = nullptr;
  QPushButton* sbtnSubdivisionSoundFile = nullptr;
  QComboBox* scmbLayerClicks = nullptr;
  TPrefsSlider* strkbLayerVolume = nullptr;
  QLabel* lblLayerVolume = nullptr;
  QComboBox* scmbLayerSound = nullptr;
  QPushButton* sbtnLayerSoundFile = nullptr;
  QComboBox* scmbCountInBars = nullptr;
  TPrefsCheckBox* sckbTrainer = nullptr;
  QSpinBox* sspnTrainerStart = nullptr;
  QSpinBox* sspnTrainerTarget = nullptr;
  QSpinBox* sspnTrainerStep = nullptr;
  QSpinBox* sspnTrainerEveryBars = nullptr;
  QComboBox* scmbTrainerAtTarget = nullptr;
  QSpinBox* sspnGapPlayBars = nullptr;
  QSpinBox* sspnGapMuteBars = nullptr;
  QSpinBox* sspnGapRandomPercent = nullptr;
  QSpinBox* sspnPracticeMinutes = nullptr;
  QPushButton* sbtnClose = nullptr;

  std::unique_ptr<TPracticeSoundRow> subdivisionSound_;
  std::unique_ptr<TPracticeSoundRow> layerSound_;
};

}  // namespace zelmora
