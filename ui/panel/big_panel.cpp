#include "ui/panel/big_panel.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/config.h"
#include "core/metronome.h"
#include "ui/controls/preset_keys.h"
#include "ui/frame/window_frame.h"
#include "ui/frame/window_rules.h"
#include "ui/panel/beat_mark_view.h"
#include "ui/panel/beat_number_view.h"
#include "ui/panel/practice_status.h"
#include "ui/panel/status_line_view.h"

namespace zelmora {
namespace {

// Sizeable, with minimise and close buttons but no maximise button: a
// maximised panel would cover the windows it is meant to sit beside.
constexpr Qt::WindowFlags kPanelFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                        Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;

// Followed positions waiting for the window system to report them; a
// window system that drops some must not make the list grow.
constexpr std::size_t kMaxFollowTargets = 32;

TScreenRect ToScreenRect(const QRect& rect) {
  return {rect.left(), rect.top(), rect.width(), rect.height()};
}

}  // namespace

TfrmBigPanel::TfrmBigPanel(TConfig& config, QWidget* mainWindow)
    : QWidget(nullptr, kPanelFlags),
      config_(config),
      mark_(new TBeatMarkView(this)),
      number_(new TBeatNumberView(this)),
      status_(new TStatusLineView(this, QStringLiteral("lblPracticeStatus"))),
      presetName_(new TStatusLineView(this, QStringLiteral("lblPresetName"))),
      mainWindow_(mainWindow) {
  setObjectName("frmBigPanel");
  setWindowTitle("(Beat Panel)");
  // Closing the panel never ends the program, even when it is the last
  // window left on screen.
  setAttribute(Qt::WA_QuitOnClose, false);
  setMinimumSize(32, 32);
  topmostBinding_ = config_.Controls.BeatPanelTopmost.Bind(topmostControl_, TOnUnbind::Forget);
  FormCreate();
}

TfrmBigPanel::~TfrmBigPanel() {
  FormDestroy();
}

void TfrmBigPanel::FormCreate() {
  SetFace(TBeatFace{});
  requestedClientSize_ = QSize(std::max(config_.BigPanelWidth, minimumWidth()),
                               std::max(config_.BigPanelHeight, minimumHeight()));
  if (PlatformPlacesWindows()) {
    move(config_.BigPanelLeft, config_.BigPanelTop);
  }
  resize(requestedClientSize_);
  // A hidden window gets its resize event only when shown; the fonts and
  // the stored size must be right from the start.
  FormResize();
  if (PlatformPlacesWindows()) {
    FitOnNearestMonitor();
  }
  if (config_.Controls.mnuBeatIndicator->Value()) {
    show();
  }
}

void TfrmBigPanel::FitOnNearestMonitor() {
  std::vector<TScreenRect> monitors;
  for (const QScreen* screen : QGuiApplication::screens()) {
    monitors.push_back(ToScreenRect(screen->geometry()));
  }
  const TScreenRect outer = OuterRect();
  if (const auto monitor = NearestMonitor(outer, monitors)) {
    const TScreenPoint at = FitOnMonitor(outer, *monitor);
    MoveOuterTo(*this, {at.X, at.Y});
  }
}

void TfrmBigPanel::FormResize() {
  const QRect outer = OuterGeometry(*this);
  // The mark and the number fill the client area and are centred in it;
  // their font sizes follow the outer height.
  mark_->setGeometry(rect());
  number_->setGeometry(rect());
  mark_->SetFontPixelSize(outer.height());
  number_->SetFontPixelSize(outer.height() / 3);
  // A narrow panel shrinks mark and number together, so that neither is
  // cut off and the number keeps its place on the mark.
  const double fit = MarkFitScale(size(), outer.height());
  mark_->SetFitScale(fit);
  number_->SetFitScale(fit);
  // The status line keeps to a band near the bottom, under the number, at
  // a size that follows the number's.
  const int height = rect().height();
  status_->setGeometry(0, height * 4 / 5, rect().width(), height * 3 / 20);
  status_->SetFontPixelSize(static_cast<int>(std::lround(outer.height() * fit / 14.0)));
  // The preset's name in the same size, in a band as far from the top.
  presetName_->setGeometry(0, height / 20, rect().width(), height * 3 / 20);
  presetName_->SetFontPixelSize(status_->FontPixelSize());
  config_.BigPanelWidth = outer.width();
  config_.BigPanelHeight = outer.height();
}

void TfrmBigPanel::FormDestroy() {
  const TScreenRect outer = OuterRect();
  // Where windows cannot be placed, their position is not known either:
  // keep the stored one for a later run on a system that can.
  if (PlatformPlacesWindows()) {
    config_.BigPanelLeft = outer.Left;
    config_.BigPanelTop = outer.Top;
  }
  config_.BigPanelWidth = outer.Width;
  config_.BigPanelHeight = outer.Height;
}

void TfrmBigPanel::ApplyPendingOuterSize() {
  if (!outerSizePending_) {
    return;
  }
  const QMargins frame = FrameMargins(*this);
  if (frame.isNull()) {
    return;  // no frame (yet): the client size is the outer size
  }
  outerSizePending_ = false;
  // Once the user (or the window manager) has sized the window, leave it.
  // A resize keeps the client's corner, and so the frame's.
  if (size() == requestedClientSize_) {
    resize(requestedClientSize_.shrunkBy(frame));
  }
}

TScreenRect TfrmBigPanel::OuterRect() const {
  return ToScreenRect(OuterGeometry(*this));
}

void TfrmBigPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FormResize();
  ApplyPendingOuterSize();
}

void TfrmBigPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ApplyPendingOuterSize();
}

void TfrmBigPanel::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  ApplyPendingOuterSize();
  const auto ours =
      std::find(followTargets_.begin(), followTargets_.end(), OuterGeometry(*this).topLeft());
  if (ours != followTargets_.end()) {
    // Carried along by the main window: still docked with the same offsets.
    followTargets_.erase(followTargets_.begin(), ours + 1);
    return;
  }
  ApplyDockingRule();
}

void TfrmBigPanel::ApplyDockingRule() {
  // The main window counts also before it is shown: it has its place
  // already, and the panel's placement at creation may dock to it.
  if (placing_ || !PlatformPlacesWindows() || mainWindow_.isNull()) {
    return;
  }
  TDockState state{config_.PanelDocked, config_.PanelOffsetX, config_.PanelOffsetY};
  const TScreenRect proposed = OuterRect();
  const TDockOutcome outcome =
      DockingRule(proposed, true, ToScreenRect(OuterGeometry(*mainWindow_)), state);
  config_.PanelDocked = state.Docked;
  config_.PanelOffsetX = state.OffsetX;
  config_.PanelOffsetY = state.OffsetY;

  QPoint target(outcome.Left, proposed.Top);
  if (outcome.SnapToScreen) {
    if (const QScreen* screen = this->screen()) {
      const TScreenPoint snapped = SnapToArea(proposed, ToScreenRect(screen->availableGeometry()));
      target = QPoint(snapped.X, snapped.Y);
    }
  }
  if (target != QPoint(proposed.Left, proposed.Top)) {
    placing_ = true;
    MoveOuterTo(*this, target);
    placing_ = false;
  }
}

void TfrmBigPanel::FollowMainWindow(QPoint mainTopLeft) {
  if (!PlatformPlacesWindows()) {
    return;
  }
  if (config_.PanelDocked && config_.PanelOffsetX >= 0 && !mainWindow_.isNull()) {
    // Docked to the right side: the main window's outer width may have
    // grown by the frame a window manager gave it after the panel docked.
    config_.PanelOffsetX = OuterGeometry(*mainWindow_).width();
  }
  const TDockState state{config_.PanelDocked, config_.PanelOffsetX, config_.PanelOffsetY};
  const auto target = FollowPosition(state, {mainTopLeft.x(), mainTopLeft.y()}, isVisible());
  if (!target) {
    return;
  }
  const QPoint at(target->X, target->Y);
  if (at == OuterGeometry(*this).topLeft()) {
    return;
  }
  followTargets_.push_back(at);
  if (followTargets_.size() > kMaxFollowTargets) {
    followTargets_.pop_front();
  }
  // Only the position changes; the stacking stays as the always-on-top
  // setting asks.
  MoveOuterTo(*this, at);
}

void TfrmBigPanel::closeEvent(QCloseEvent* event) {
  // The panel lives until the program ends; closing only hides it.
  event->accept();
  emit closedByUser();
}

void TfrmBigPanel::keyPressEvent(QKeyEvent* event) {
  const auto step = PresetKeyOf(*event);
  if (!step) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (*step == TPresetKey::Next) {
    emit nextPresetAsked();
  } else {
    emit previousPresetAsked();
  }
}

void TfrmBigPanel::ShowPresetName(const std::string& name) {
  presetName_->SetText(name);
}

std::string TfrmBigPanel::PresetName() const {
  return presetName_->Text();
}

void TfrmBigPanel::ShowRunOf(TMetronome& metronome) {
  metronomeView_ = metronome.AddView(*this);
}

void TfrmBigPanel::MetronomeStarted() {
  SetMarkColor(kBeatMarkRunningColor);
  status_->SetText("");
}

void TfrmBigPanel::MetronomeStopped() {
  SetMarkColor(kBeatMarkIdleColor);
  SetMark(TBeatMark::Circle);
  SetNumberText("");
}

void TfrmBigPanel::ShowBeat(int position) {
  ShowBeat(TBeatShow{position});
}

void TfrmBigPanel::ShowBeat(const TBeatShow& beat) {
  lastPosition_ = beat.Position;
  const TBeatFace face = FaceForBeat(Face(), config_.BeatPattern, beat.Position);
  SetFace(beat.Silent ? DimmedFace(face) : face);
  // The line stays after the run's end: what the practice came to.
  status_->SetText(PracticeStatusText(beat, config_.Practice.TrainerTarget));
}

void TfrmBigPanel::SetFace(const TBeatFace& face) {
  mark_->SetMark(face.Mark);
  mark_->SetColor(face.MarkColor);
  number_->SetText(face.Number);
  number_->SetColor(face.NumberColor);
}

TBeatFace TfrmBigPanel::Face() const {
  return {mark_->Mark(), mark_->Color(), number_->Text(), number_->Color()};
}

TBeatMark TfrmBigPanel::Mark() const {
  return mark_->Mark();
}
void TfrmBigPanel::SetMark(TBeatMark mark) {
  mark_->SetMark(mark);
}
std::uint32_t TfrmBigPanel::MarkColor() const {
  return mark_->Color();
}
void TfrmBigPanel::SetMarkColor(std::uint32_t rgb) {
  mark_->SetColor(rgb);
}
std::string TfrmBigPanel::NumberText() const {
  return number_->Text();
}
void TfrmBigPanel::SetNumberText(const std::string& text) {
  number_->SetText(text);
}
std::uint32_t TfrmBigPanel::NumberColor() const {
  return number_->Color();
}
int TfrmBigPanel::MarkFontPixelSize() const {
  return mark_->FontPixelSize();
}
int TfrmBigPanel::NumberFontPixelSize() const {
  return number_->FontPixelSize();
}

}  // namespace zelmora
