#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include <exception>
#include <functional>

#include "ui/practice/practice_dialog.h"
#include "ui/practice/practice_texts.h"
#include "ui/prefs/prefs_check_box.h"
#include "ui/prefs/prefs_slider.h"

namespace zelmora {

// Every control answers every change of its value, the dialog's own
// showing included: that stores a clamped value back.
void TfrmPractice::ConnectHandlers() {
  // A list or number of a setting: its value straight to the setter.
  using TSetter = void (TConfig::*)(int);
  const auto choices = [this](QComboBox* combo, TSetter setter) {
    connect(combo, &QComboBox::currentIndexChanged, this, [this, combo, setter](int index) {
      if (index >= 0) {
        std::invoke(setter, config_, combo->itemData(index).toInt());
        UpdateEnabled();
      }
    });
  };
  const auto number = [this](QSpinBox* spin, TSetter setter) {
    connect(spin, &QSpinBox::valueChanged, this, [this, setter](int value) {
      std::invoke(setter, config_, value);
      UpdateEnabled();
    });
  };
  choices(scmbSubdivision, &TConfig::SetSubdivision);
  choices(scmbLayerClicks, &TConfig::SetLayerClicks);
  choices(scmbCountInBars, &TConfig::SetCountInBars);
  choices(scmbTrainerAtTarget, &TConfig::SetTrainerAtTarget);
  number(sspnTrainerStart, &TConfig::SetTrainerStart);
  number(sspnTrainerTarget, &TConfig::SetTrainerTarget);
  number(sspnTrainerStep, &TConfig::SetTrainerStep);
  number(sspnTrainerEveryBars, &TConfig::SetTrainerEveryBars);
  number(sspnGapPlayBars, &TConfig::SetGapPlayBars);
  number(sspnGapMuteBars, &TConfig::SetGapMuteBars);
  number(sspnGapRandomPercent, &TConfig::SetGapRandomPercent);
  number(sspnPracticeMinutes, &TConfig::SetPracticeMinutes);

  connect(strkbSwing, &QSlider::valueChanged, this, &TfrmPractice::SwingChange);
  connect(strkbSubdivisionVolume, &QSlider::valueChanged, this,
          &TfrmPractice::SubdivisionVolumeChange);
  connect(strkbLayerVolume, &QSlider::valueChanged, this, &TfrmPractice::LayerVolumeChange);
  connect(sckbTrainer, &QCheckBox::toggled, this, [this](bool checked) {
    config_.SetTrainer(checked);
    UpdateEnabled();
  });

  // The sound lists act on the user's pick only, also when the same entry
  // is picked again: the empty file entry then asks for a file again.
  connect(scmbSubdivisionSound, &QComboBox::activated, this,
          [this](int index) { SoundPicked(*subdivisionSound_, index); });
  connect(scmbLayerSound, &QComboBox::activated, this,
          [this](int index) { SoundPicked(*layerSound_, index); });
  connect(sbtnSubdivisionSoundFile, &QPushButton::clicked, this,
          [this] { SoundFileClicked(*subdivisionSound_); });
  connect(sbtnLayerSoundFile, &QPushButton::clicked, this,
          [this] { SoundFileClicked(*layerSound_); });

  connect(sbtnClose, &QPushButton::clicked, this, &QWidget::hide);
}

void TfrmPractice::SwingChange(int percent) {
  lblSwing->setText(SwingText(percent));
  config_.SetSwing(percent);
}

void TfrmPractice::SubdivisionVolumeChange(int level) {
  lblSubdivisionVolume->setText(LevelText(level));
  config_.SetSubdivisionVolume(level);
}

void TfrmPractice::LayerVolumeChange(int level) {
  lblLayerVolume->setText(LevelText(level));
  config_.SetLayerVolume(level);
}

void TfrmPractice::SoundPicked(TPracticeSoundRow& row, int index) {
  RunSoundHandler(row, [this, &row, index] { row.Pick(index, *chooser_); });
}

void TfrmPractice::SoundFileClicked(TPracticeSoundRow& row) {
  RunSoundHandler(row, [this, &row] { row.PickFile(*chooser_); });
}

void TfrmPractice::RunSoundHandler(TPracticeSoundRow& row, const std::function<void()>& handler) {
  std::string failure;
  try {
    handler();
  } catch (const std::exception& error) {
    failure = error.what();
  } catch (...) {
    failure = "Unknown error";
  }
  // Whatever happened, the list shows what the voice plays: the new choice,
  // or after a cancel or a failure the one before.
  row.ShowStored();
  if (!failure.empty() && reportError_) {
    reportError_(failure);
  }
}

}  // namespace zelmora
