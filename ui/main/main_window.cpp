#include "ui/main/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHideEvent>
#include <QLabel>
#include <QLayout>
#include <QMoveEvent>
#include <QScreen>
#include <QShowEvent>
#include <QWindow>

#include <utility>

#include "audio/beat_voice.h"
#include "core/config.h"
#include "core/meter_box.h"
#include "core/metronome.h"
#include "core/transport.h"
#include "ui/frame/window_frame.h"
#include "ui/frame/window_rules.h"
#include "ui/main/edge_snap.h"
#include "ui/main/error_box.h"
#include "ui/main/fader.h"
#include "ui/main/fonts.h"
#include "ui/main/key_preview.h"
#include "ui/main/labels.h"
#include "ui/main/meter_combo.h"
#include "ui/main/picture.h"
#include "ui/main/pin_button.h"
#include "ui/main/press_button.h"
#include "ui/main/tempo_display.h"
#include "ui/main/tool_tip_lines.h"
#include "ui/main/web_links.h"
#include "ui/skin/skin.h"
#include "ui/tempo/tempo_fader_keys.h"

namespace zelmora {

// What a tap does besides the tempo: the metronome, the regular voice and
// this window's beat mark and focus.
class TfrmMain::TTapEffectsImpl final : public TTapEffects {
 public:
  explicit TTapEffectsImpl(TfrmMain& window) : window_(window) {}
  bool Running() const override { return window_.ports_.Metronome.Running(); }
  void StartStop() override { window_.ports_.Metronome.StartStop(); }
  bool PlayRegularBeat(int level) override {
    TVoice& voice = window_.ports_.RegularVoice;
    voice.SetVoiceVolume(level);
    return voice.PlayVoice() == kSoundOk;
  }
  void ToggleBeatMark() override { window_.lblBeat_->setVisible(window_.lblBeat_->isHidden()); }
  void FocusTempoFader() override { window_.FocusTempoFader(); }

 private:
  TfrmMain& window_;
};

TfrmMain::TfrmMain(TPorts ports, QWidget* parent)
    : QMainWindow(parent),
      ports_(std::move(ports)),
      tapEffects_(std::make_unique<TTapEffectsImpl>(*this)),
      tap_(std::make_unique<TTapTempo>(ports_.Config, *tapEffects_, ports_.Ticks)) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral(" Zelmora"));
  // A fixed single border with a minimize box and no maximize box; on top
  // of other windows from the start.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setFont(UiFont(12));
  BuildFace();
  BuildMenu();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  ConnectHandlers();
  SetToolTips();
  BindControls();
  pin_->SetOn(true);

  keyPreview_ =
      new TKeyPreview(this, TKeyPreview::TActions{
                                [this] { sButton2MouseDown(); },
                                [this] { sbtnStartStopMouseDown(); },
                                [this] { close(); },
                                [this] { ports_.Config.SetVolume(ports_.Config.Volume + 100); },
                                [this] { ports_.Config.SetVolume(ports_.Config.Volume - 100); },
                                [this] { ShowPractice(); },
                                [this] { ShowPresets(); },
                                [this] { RunWindowAction(windows_.NextPreset); },
                                [this] { RunWindowAction(windows_.PreviousPreset); },
                            });
  // Space and the keypad's plus and minus are the window's, not a part of
  // a meter; Enter is a tap, not the end of one.
  keyPreview_->KeepActedKeysFrom(scmbMeterNum_);
}

TfrmMain::~TfrmMain() {
  closing_ = true;
  // The bindings read the widgets one last time as they end.
  bindings_.clear();
}

void TfrmMain::SetWindows(TWindows windows) {
  windows_ = std::move(windows);
}

QUrl TfrmMain::HelpUrl() {
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QString besideProgram = programDir.filePath(QString::fromLatin1(kHelpFile));
  const QString installed =
      QDir::cleanPath(programDir.filePath(QStringLiteral(ZELMORA_HELP_FROM_BINDIR "/index.html")));
  if (!QFileInfo::exists(besideProgram) && QFileInfo::exists(installed)) {
    return QUrl::fromLocalFile(installed);
  }
  return QUrl::fromLocalFile(besideProgram);
}

void TfrmMain::ConnectHandlers() {
  TConfig& config = ports_.Config;
  connect(sPanel1_, &TTempoDisplay::clicked, this, [this] {
    RunHandler([this] {
      if (windows_.ShowTempoDialog) {
        windows_.ShowTempoDialog();
      }
    });
  });
  auto showMeterConstructorModal = [this] {
    RunHandler([this] {
      if (windows_.ShowMeterConstructor) {
        windows_.ShowMeterConstructor(true);
      }
    });
  };
  connect(static_cast<TClickLabel*>(slblTimeSignNum_), &TClickLabel::clicked, this,
          showMeterConstructorModal);
  connect(scmbMeterNum_, &TMeterCombo::doubleClicked, this, showMeterConstructorModal);
  connect(static_cast<TClickLabel*>(sWebLabel1_), &TClickLabel::clicked, this, [this] {
    RunHandler([this] {
      if (windows_.ShowMeterConstructor) {
        windows_.ShowMeterConstructor(false);
      }
    });
  });
  connect(scmbMeterNum_, &TMeterCombo::userChanged, this,
          [this] { RunHandler([this] { scmbMeterNumChange(); }); });
  connect(scmbMeterNum_, &TMeterCombo::listClosed, this, [this] { FocusTempoFader(); });

  // The user's own moves of the tempo fader: drag, page clicks, wheel
  // (actionTriggered), and its keys (TTempoFaderKeys). Moves made by
  // SetTempo trigger no action.
  connect(sTrackBarTempo_, &QAbstractSlider::actionTriggered, this,
          [this](int) { RunHandler([this] { sTrackBarTempoUserChange(); }); });
  new TTempoFaderKeys(sTrackBarTempo_,
                      [this] { RunHandler([this] { sTrackBarTempoUserChange(); }); });
  // The volume fader calls the setter back on every change of position;
  // the setter compares first, so the two never loop.
  connect(sTrackBarVol_, &QAbstractSlider::valueChanged, this,
          [this](int position) { RunHandler([this, position] { sTrackBarVolChange(position); }); });

  connect(sbtnStartStop_, &TPressButton::leftPressed, this,
          [this] { RunHandler([this] { sbtnStartStopMouseDown(); }); });
  connect(sButton2_, &TPressButton::leftPressed, this,
          [this] { RunHandler([this] { sButton2MouseDown(); }); });
  connect(sButton2_, &TPressButton::released, this,
          [this] { RunHandler([this] { tap_->Release(); }); });
  connect(pin_, &QAbstractButton::clicked, this,
          [&config] { RunHandler([&config] { config.SetStayOnTop(!config.StayOnTop); }); });
}

void TfrmMain::StartStop() {
  ports_.Metronome.StartStop();
}

void TfrmMain::sbtnStartStopMouseDown() {
  if (ports_.Config.TapMode) {
    tap_->EndSequence();
  }
  ports_.Metronome.StartStop();
}

void TfrmMain::sButton2MouseDown() {
  tap_->Press();
}

void TfrmMain::ShowPractice() {
  RunWindowAction(windows_.ShowPractice);
}

void TfrmMain::ShowPresets() {
  RunWindowAction(windows_.ShowPresets);
}

void TfrmMain::RunWindowAction(const std::function<void()>& action) {
  RunHandler([&action] {
    if (action) {
      action();
    }
  });
}

void TfrmMain::ShowPresetName(const std::string& name) {
  // The program's name first, as always; the piece after it.
  QString title = QStringLiteral(" Zelmora");
  if (!name.empty()) {
    title += QStringLiteral(" \u2013 ") + QString::fromStdString(name);
  }
  setWindowTitle(title);
}

void TfrmMain::FocusTempoFader() {
  sTrackBarTempo_->setFocus(Qt::OtherFocusReason);
}

void TfrmMain::sTrackBarTempoUserChange() {
  TConfig& config = ports_.Config;
  config.SetTempo(-sTrackBarTempo_->sliderPosition());
  // Moving the fader ends a tap sequence.
  if (config.TapMode) {
    config.SetTapMode(false);
  }
}

void TfrmMain::sTrackBarVolChange(int position) {
  ports_.Config.SetVolume(-position);
}

void TfrmMain::scmbMeterNumChange() {
  ApplyMeterBoxChange(ports_.Config, ports_.Transport);
}

void TfrmMain::ShowHint(bool on) {
  showHint_ = on;
  for (const auto& [widget, text] : toolTips_) {
    widget->setToolTip(on ? ToolTipLines(text) : QString());
  }
}

void TfrmMain::SetTopmost(bool on) {
  pin_->SetOn(on);
  SetStaysOnTop(*this, on);
}

void TfrmMain::OpenUrl(const QUrl& url) {
  // Neither a missing file nor a missing browser is reported.
  if (windows_.OpenUrl) {
    windows_.OpenUrl(url);
  } else {
    QDesktopServices::openUrl(url);
  }
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous() && !shownOnce_) {
    shownOnce_ = true;
    FormShow();
  }
}

void TfrmMain::FormShow() {
  if (QString::fromLatin1(TSkin::kName) != QStringLiteral("zl_skin (internal)")) {
    Label9_->show();
  }
  FocusTempoFader();
}

void TfrmMain::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  // Minimising hides the window too, spontaneously; that changes nothing.
  if (!event->spontaneous()) {
    FormHide();
  }
}

void TfrmMain::FormHide() {
  ports_.Metronome.StopForHide();
  // Where the program cannot place its windows it does not learn where
  // they are either: the stored place stays.
  if (!PlatformPlacesWindows()) {
    return;
  }
  const QPoint outer = OuterGeometry(*this).topLeft();
  ports_.Config.MainLeft = outer.x();
  ports_.Config.MainTop = outer.y();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  event->accept();
  QMainWindow::closeEvent(event);
  emit closed();
}

void TfrmMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (closing_) {
    return;
  }
  if (event->spontaneous()) {
    SnapToEdges();
  }
  if (windows_.MainWindowMoved) {
    windows_.MainWindowMoved(OuterGeometry(*this).topLeft());
  }
}

void TfrmMain::SnapToEdges() {
  // Only where the program may place its own windows (not on Wayland),
  // and not for the moves made here.
  if (snapping_ || !PlatformPlacesWindows()) {
    return;
  }
  const QScreen* screen = this->screen();
  if (screen == nullptr) {
    return;
  }
  const QRect frame = OuterGeometry(*this);
  const QPoint snapped = SnapToWorkArea(frame, screen->availableGeometry());
  if (snapped != frame.topLeft()) {
    snapping_ = true;
    MoveOuterTo(*this, snapped);
    snapping_ = false;
  }
}

}  // namespace zelmora
