#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <exception>

#include "core/error.h"
#include "ui/frame/window_frame.h"
#include "ui/prefs/prefs_check_box.h"
#include "ui/prefs/prefs_dialog.h"
#include "ui/prefs/prefs_slider.h"
#include "ui/prefs/sound_combo.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

// The pan is either centred or at least this far from the centre, and the
// hue either unchanged or at least this far turned: small moves of the
// slider snap back, so the centre is easy to find again.
constexpr int kPanDeadZone = 900;
constexpr int kHueDeadZone = 25;
constexpr QPoint kNoticeOffset{100, 100};

bool InDeadZone(int position, int zone) {
  return position != 0 && position > -zone && position < zone;
}

QString ApplicationTitle() {
  return QApplication::applicationDisplayName();
}

}  // namespace

// The bindings keep what the controls last showed, so a save after the
// dialog has gone still writes the user's hue.
void TfrmSettings::BindControls() {
  TConfigControls& controls = config_.Controls;
  const auto bind = [this](auto& binding, auto control) {
    bindings_.push_back(binding.Bind(std::move(control)));
  };
  bind(controls.sTrackBarRegDif, std::make_unique<TSliderControl>(sTrackBarRegDif));
  bind(controls.strbBellVolume, std::make_unique<TSliderControl>(strbBellVolume));
  bind(controls.sTrackBarPan, std::make_unique<TSliderControl>(sTrackBarPan));
  bind(controls.strkbHue, std::make_unique<TSliderControl>(strkbHue));
  bind(controls.strkbVisualOffset, std::make_unique<TSliderControl>(strkbVisualOffset));
  bind(controls.chkBoostVolume, std::make_unique<TCheckControl>(chkBoostVolume));
  bind(controls.sckbStayOnTop, std::make_unique<TCheckControl>(sckbStayOnTop));
  bindings_.push_back(controls.cmbOutputDevice.Bind(*outputList_));
}

void TfrmSettings::ConnectHandlers() {
  connect(cmbOutputDevice, &QComboBox::activated, this, &TfrmSettings::cmbOutputDeviceChange);
  // The lists act on the user's choice only (also when the same entry is
  // chosen again: the empty file entry then asks for a file again).
  connect(sComboBoxAcc, &QComboBox::activated, this,
          [this] { sComboBoxChange(TSoundSide::Accent); });
  connect(sComboBoxReg, &QComboBox::activated, this,
          [this] { sComboBoxChange(TSoundSide::Regular); });
  connect(sbtnSelectFilenameAcc, &QPushButton::clicked, this,
          [this] { sbtnSelectFilenameClick(TSoundSide::Accent); });
  connect(sbtnSelectFilenameReg, &QPushButton::clicked, this,
          [this] { sbtnSelectFilenameClick(TSoundSide::Regular); });

  // The sliders and check boxes answer every change of their position or
  // state, including the setters' own writes: that loop keeps each field
  // inside its control's range.
  connect(sTrackBarRegDif, &QSlider::valueChanged, this,
          [this](int position) { config_.SetVolumeRegularDif(position); });
  connect(strbBellVolume, &QSlider::valueChanged, this,
          [this](int position) { config_.SetBellVolume(position); });
  connect(sTrackBarPan, &QSlider::valueChanged, this, &TfrmSettings::sTrackBarPanChange);
  connect(strkbHue, &QSlider::valueChanged, this, &TfrmSettings::strkbHueChange);
  connect(strkbVisualOffset, &QSlider::valueChanged, this, &TfrmSettings::strkbVisualOffsetChange);
  connect(chkBoostVolume, &QCheckBox::toggled, this, &TfrmSettings::chkBoostVolumeClick);
  connect(sckbStayOnTop, &QCheckBox::toggled, this, &TfrmSettings::sckbStayOnTopClick);

  connect(sButton1, &QPushButton::clicked, this, &QWidget::hide);
}

void TfrmSettings::Run(const std::function<void()>& handler) {
  std::string message;
  try {
    handler();
    return;
  } catch (const std::exception& error) {
    message = error.what();
  } catch (...) {
    message = "Unknown error";
  }
  if (reportError_) {
    reportError_(message);
    return;
  }
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(),
                  QString::fromStdString(WithFullStop(message)), QMessageBox::Ok, this);
  box.exec();
}

void TfrmSettings::cmbOutputDeviceChange(int index) {
  // Choosing the entry of a stored output that was not found keeps it.
  config_.SetOutputDevice(outputList_->ChoiceAt(index));
}

void TfrmSettings::sComboBoxChange(TSoundSide side) {
  Run([this, side] { choice_.LoadSoundChoice(side); });
}

void TfrmSettings::sbtnSelectFilenameClick(TSoundSide side) {
  Run([this, side] { choice_.ChooseSoundFile(side); });
}

void TfrmSettings::sTrackBarPanChange(int position) {
  if (InDeadZone(position, kPanDeadZone)) {
    sTrackBarPan->setValue(0);  // runs this handler again with 0
    return;
  }
  config_.SetPan(position);
}

void TfrmSettings::strkbVisualOffsetChange(int position) {
  // Dragging lands anywhere; the offset goes in steps of 5 ms.
  const int snapped = (position >= 0 ? position + 2 : position - 2) / 5 * 5;
  if (snapped != position) {
    strkbVisualOffset->setValue(snapped);  // runs this handler again
    return;
  }
  ShowVisualOffset(position);
  config_.SetVisualOffset(position);
}

void TfrmSettings::strkbHueChange(int position) {
  if (InDeadZone(position, kHueDeadZone)) {
    strkbHue->setValue(0);  // runs this handler again with 0
    return;
  }
  TSkin::Instance().SetHueOffset(position);
}

void TfrmSettings::chkBoostVolumeClick(bool checked) {
  // The setter has stored the value already when it ticked the box.
  if (config_.BoostVolume != checked) {
    config_.SetBoostVolume(checked);
  }
  // Existing voices keep their sound; say so once, and only to the user
  // who is looking at the box.
  if (!chkBoostVolume->isVisible() || boostNoticeShown_) {
    return;
  }
  boostNoticeShown_ = true;
  ShowBoostNotice();
  chkBoostVolume->setEnabled(false);
}

void TfrmSettings::ShowBoostNotice() {
  QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(),
                  QStringLiteral("The setting will be applied after restart."), QMessageBox::Ok,
                  this);
  // Outer corner to outer corner; the box is framed like the dialog.
  MoveOuterTo(box, OuterGeometry(*this).topLeft() + kNoticeOffset, FrameMargins(*this));
  box.exec();
}

void TfrmSettings::sckbStayOnTopClick(bool checked) {
  if (config_.StayOnTop != checked) {
    config_.SetStayOnTop(checked);
  }
  // The restyled main window must not cover the dialog.
  if (isVisible()) {
    raise();
  }
}

}  // namespace zelmora
