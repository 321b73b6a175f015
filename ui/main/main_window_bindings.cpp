// Binds the main window's widgets to the settings object and the metronome,
// and unbinds them before the widgets go.
#include <QAction>
#include <QLabel>

#include "core/config.h"
#include "core/metronome.h"
#include "ui/controls/widget_controls.h"
#include "ui/frame/window_frame.h"
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

template <typename T, typename C>
TControl<T>* Keep(std::vector<std::unique_ptr<TControl<T>>>& store, std::unique_ptr<C> control) {
  store.push_back(std::move(control));
  return store.back().get();
}

// Unbinds a control, leaving the value it showed in the binding, so that a
// late reader (the save) still finds it.
template <typename T>
void Release(TBinding<T>& binding) {
  const T value = binding->Value();
  binding.Unbind();
  binding->SetValue(value);
}

// The tap button's dot while tapping: its own colour.
const QColor kTapOwnColor(50, 50, 50);

}  // namespace

void TfrmMain::BindControls() {
  TConfigControls& c = ports_.Config.Controls;
  TMetronomeControls& m = ports_.Metronome.Controls;
  auto& texts = textControls_;
  auto& ints = intControls_;
  auto& flags = boolControls_;

  c.sPanel1.Bind(Keep(texts, std::make_unique<TFunctionControl<std::string>>(
                                 [this] { return sPanel1_->Caption().toStdString(); },
                                 [this](const std::string& text) {
                                   sPanel1_->SetCaption(QString::fromStdString(text));
                                 })));
  c.sTrackBarTempo.Bind(Keep(ints, std::make_unique<TSliderControl>(sTrackBarTempo_)));
  c.sTrackBarVol.Bind(Keep(ints, std::make_unique<TSliderControl>(sTrackBarVol_)));
  c.Bellsound1.Bind(Keep(flags, std::make_unique<TActionCheckControl>(Bellsound1_)));
  c.mnuBeatIndicator.Bind(Keep(flags, std::make_unique<TActionCheckControl>(mnuBeatIndicator_)));
  c.MainWindowTopmost.Bind(
      Keep(flags, std::make_unique<TFunctionControl<bool>>(
                      [this] { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); },
                      [this](const bool& on) { SetTopmost(on); })));
  c.sButton2OwnFont.Bind(Keep(flags, std::make_unique<TFunctionControl<bool>>(
                                         [this] { return sButton2_->SignColor().isValid(); },
                                         [this](const bool& own) {
                                           sButton2_->SetSignColor(own ? kTapOwnColor : QColor());
                                         })));
  c.lblTapVisible.Bind(Keep(flags, std::make_unique<TVisibleControl>(lblTap_)));
  c.slblTimeSignNum.Bind(Keep(texts, std::make_unique<TFunctionControl<std::string>>(
                                         [this] { return slblTimeSignNum_->text().toStdString(); },
                                         [this](const std::string& text) {
                                           // The count grows to the right as it gets longer.
                                           slblTimeSignNum_->setText(QString::fromStdString(text));
                                           slblTimeSignNum_->resize(
                                               std::max(10, slblTimeSignNum_->sizeHint().width()),
                                               slblTimeSignNum_->height());
                                         })));
  c.scmbMeterNum.Bind(Keep(texts, std::make_unique<TComboTextControl>(scmbMeterNum_)));
  // The outer corner, read and set alike with and without a frame.
  c.MainWindowLeft.Bind(Keep(ints, std::make_unique<TFunctionControl<int>>(
                                       [this] { return OuterGeometry(*this).x(); },
                                       [this](const int& left) {
                                         MoveOuterTo(*this, {left, OuterGeometry(*this).y()});
                                       })));
  c.MainWindowTop.Bind(Keep(ints, std::make_unique<TFunctionControl<int>>(
                                      [this] { return OuterGeometry(*this).y(); },
                                      [this](const int& top) {
                                        MoveOuterTo(*this, {OuterGeometry(*this).x(), top});
                                      })));
  workArea_ = std::make_unique<TWorkAreaControl>();
  c.WorkArea.Bind(workArea_.get());

  m.sbtnStartStopDown.Bind(Keep(
      flags, std::make_unique<TFunctionControl<bool>>([this] { return sbtnStartStop_->Sunken(); },
                                                      [this](const bool& running) {
                                                        sbtnStartStop_->SetSunken(running);
                                                        sbtnStartStop_->SetSign(
                                                            running ? TPressButton::TSign::Pause
                                                                    : TPressButton::TSign::Play);
                                                      })));
  m.sTrackBarTempoFocus.Bind(Keep(flags, std::make_unique<TFunctionControl<bool>>(
                                             [this] { return sTrackBarTempo_->hasFocus(); },
                                             [this](const bool& focus) {
                                               if (focus) {
                                                 FocusTempoFader();
                                               }
                                             })));
  m.ShowHint.Bind(
      Keep(flags, std::make_unique<TFunctionControl<bool>>(
                      [this] { return showHint_; }, [this](const bool& on) { ShowHint(on); })));
  m.MainWindowVisible.Bind(
      Keep(flags, std::make_unique<TFunctionControl<bool>>([this] { return isVisible(); },
                                                           [](const bool& /*visible*/) {})));
  m.lblBeatVisible.Bind(Keep(flags, std::make_unique<TVisibleControl>(lblBeat_)));
}

void TfrmMain::UnbindControls() {
  TConfigControls& c = ports_.Config.Controls;
  TMetronomeControls& m = ports_.Metronome.Controls;
  for (auto* binding :
       {&c.Bellsound1, &c.mnuBeatIndicator, &c.MainWindowTopmost, &c.sButton2OwnFont,
        &c.lblTapVisible, &m.sbtnStartStopDown, &m.sTrackBarTempoFocus, &m.ShowHint,
        &m.MainWindowVisible, &m.lblBeatVisible}) {
    Release(*binding);
  }
  for (auto* binding : {&c.sPanel1, &c.slblTimeSignNum, &c.scmbMeterNum}) {
    Release(*binding);
  }
  for (auto* binding : {&c.sTrackBarTempo, &c.sTrackBarVol}) {
    Release(*binding);
  }
  // The save falls back to MainLeft and MainTop, which the hiding recorded.
  c.MainWindowLeft.Unbind();
  c.MainWindowTop.Unbind();
  c.WorkArea.Unbind();
}

}  // namespace zelmora
