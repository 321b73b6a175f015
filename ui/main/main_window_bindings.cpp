// Binds the main window's widgets to the settings object and registers the
// window with the metronome; both end with the window.
#include <QAction>
#include <QLabel>

#include "core/config.h"
#include "core/metronome.h"
#include "ui/controls/widget_controls.h"
#include "ui/frame/window_frame.h"
#include "ui/frame/window_rules.h"
#include "ui/main/fader.h"
#include "ui/main/main_controls.h"
#include "ui/main/main_window.h"
#include "ui/main/meter_combo.h"
#include "ui/main/picture.h"
#include "ui/main/press_button.h"
#include "ui/main/tempo_display.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

// The tap button's dot while tapping: its own colour.
const QColor kTapOwnColor(50, 50, 50);

template <typename T>
std::unique_ptr<TControl<T>> Control(std::function<T()> read, std::function<void(const T&)> write) {
  return std::make_unique<TFunctionControl<T>>(std::move(read), std::move(write));
}

}  // namespace

void TfrmMain::BindControls() {
  TConfigControls& c = ports_.Config.Controls;
  auto bind = [this](auto& binding, auto control, TOnUnbind onUnbind = TOnUnbind::KeepValue) {
    bindings_.push_back(binding.Bind(std::move(control), onUnbind));
  };

  bind(c.sPanel1, Control<std::string>([this] { return sPanel1_->Caption().toStdString(); },
                                       [this](const std::string& text) {
                                         sPanel1_->SetCaption(QString::fromStdString(text));
                                       }));
  bind(c.sTrackBarTempo, std::make_unique<TSliderControl>(sTrackBarTempo_));
  bind(c.sTrackBarVol, std::make_unique<TSliderControl>(sTrackBarVol_));
  bind(c.Bellsound1, std::make_unique<TActionCheckControl>(Bellsound1_));
  bind(c.mnuBeatIndicator, std::make_unique<TActionCheckControl>(mnuBeatIndicator_));
  bind(c.MainWindowTopmost, Control<bool>([this] { return StaysOnTop(*this); },
                                          [this](const bool& on) { SetTopmost(on); }));
  bind(c.sButton2OwnFont, Control<bool>([this] { return sButton2_->SignColor().isValid(); },
                                        [this](const bool& own) {
                                          sButton2_->SetSignColor(own ? kTapOwnColor : QColor());
                                        }));
  bind(c.lblTapVisible, std::make_unique<TVisibleControl>(lblTap_));
  bind(c.slblTimeSignNum,
       Control<std::string>([this] { return slblTimeSignNum_->text().toStdString(); },
                            [this](const std::string& text) {
                              // The count grows to the right as it gets longer.
                              slblTimeSignNum_->setText(QString::fromStdString(text));
                              slblTimeSignNum_->resize(
                                  std::max(10, slblTimeSignNum_->sizeHint().width()),
                                  slblTimeSignNum_->height());
                            }));
  bind(c.scmbMeterNum, std::make_unique<TComboTextControl>(scmbMeterNum_));
  // The outer corner, read and set alike with and without a frame. Once the
  // window goes, the save falls back to MainLeft and MainTop, which the
  // hiding recorded. Where the place is not known (Wayland), it is the
  // stored one.
  bind(c.MainWindowLeft,
       Control<int>(
           [this] {
             return PlatformPlacesWindows() ? OuterGeometry(*this).x() : ports_.Config.MainLeft;
           },
           [this](const int& left) {
             MoveOuterTo(*this, {left, OuterGeometry(*this).y()});
           }),
       TOnUnbind::Forget);
  bind(c.MainWindowTop,
       Control<int>(
           [this] {
             return PlatformPlacesWindows() ? OuterGeometry(*this).y() : ports_.Config.MainTop;
           },
           [this](const int& top) {
             MoveOuterTo(*this, {OuterGeometry(*this).x(), top});
           }),
       TOnUnbind::Forget);
  bind(c.WorkArea, std::make_unique<TWorkAreaControl>(), TOnUnbind::Forget);

  bindings_.push_back(ports_.Metronome.AddView(*this));
}

void TfrmMain::MetronomeStarted() {
  ShowRunning(true);
  FocusTempoFader();
  // Tooltips go for the rest of the run once the user has started.
  ShowHint(false);
}

void TfrmMain::MetronomeStopped() {
  ShowRunning(false);
  if (isVisible()) {
    FocusTempoFader();
  }
}

void TfrmMain::BeatHeard(const TBeatShow& /*beat*/) {
  lblBeat_->setVisible(lblBeat_->isHidden());
}

void TfrmMain::ShowRunning(bool running) {
  sbtnStartStop_->SetSunken(running);
  sbtnStartStop_->SetSign(running ? TPressButton::TSign::Pause : TPressButton::TSign::Play);
}

}  // namespace zelmora
