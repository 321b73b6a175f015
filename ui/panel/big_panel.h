#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <string>

#include "core/metronome_view.h"
#include "core/scope.h"
#include "ui/panel/beat_face.h"
#include "ui/panel/docking.h"
#include "ui/panel/panel_controls.h"

namespace zelmora {

class TConfig;
class TMetronome;
class TBeatMarkView;
class TBeatNumberView;
class TStatusLineView;

// The beat panel: a freely resizable window that shows a large mark and
// the beat number on every beat, to be seen from across the room.
//
// Geometry lives in the settings object: the window is created from
// BigPanelLeft/Top/Width/Height (outer size, frame included), writes the
// outer size back on every resize and all four at its destruction.
//
// Docking: on platforms where an application places its own windows (X11,
// Windows, offscreen), every move of the panel runs the docking rule
// against the main window given at its creation (snapping it to either
// side, else to the work area's edges), and FollowMainWindow carries a
// docked panel along with the main window. Elsewhere (Wayland) docking is
// off and both do nothing.
//
// Closing the window only hides it and emits closedByUser(); at program
// end destroy the panel instead of closing it.
//
// User-interface thread only.
class TfrmBigPanel final : public QWidget, private TMetronomeView {
  Q_OBJECT

 public:
  // Binds config.Controls.BeatPanelTopmost for the panel's lifetime, and
  // shows the panel when config.Controls.mnuBeatIndicator is checked. The
  // main window is the one the panel docks to (not its Qt parent: the panel
  // is a window of its own, and whoever creates it deletes it).
  explicit TfrmBigPanel(TConfig& config, QWidget* mainWindow = nullptr);
  ~TfrmBigPanel() override;
  TfrmBigPanel(const TfrmBigPanel&) = delete;
  TfrmBigPanel& operator=(const TfrmBigPanel&) = delete;

  // From now on the panel shows the start, the beats and the stop of
  // `metronome`, until StopShowingRun, or until either of them goes.
  void ShowRunOf(TMetronome& metronome);
  void StopShowingRun() { metronomeView_.End(); }

  // Shows the beat just played at 1-based `position` of the current beat
  // pattern (see FaceForBeat: never fails on an empty pattern or a position
  // beyond its end).
  void ShowBeat(int position);
  // The same, with the practice run's state: a silent bar's beat dimmed,
  // and the status line under the number while a practice tool is on.
  void ShowBeat(const TBeatShow& beat);

  // The current preset's name, above the number; none when empty.
  void ShowPresetName(const std::string& name);
  std::string PresetName() const;

  // The main window has moved; its outer top-left corner is now
  // `mainTopLeft`. A docked, visible panel moves along.
  void FollowMainWindow(QPoint mainTopLeft);

  // What the panel shows.
  TBeatFace Face() const;
  TBeatMark Mark() const;
  void SetMark(TBeatMark mark);
  std::uint32_t MarkColor() const;
  void SetMarkColor(std::uint32_t rgb);
  std::string NumberText() const;
  void SetNumberText(const std::string& text);
  std::uint32_t NumberColor() const;
  int LastPosition() const { return lastPosition_; }
  // Font sizes (em height in pixels) of the mark and of the number.
  int MarkFontPixelSize() const;
  int NumberFontPixelSize() const;

  // Copies the panel's place and size into the settings object, as its
  // destruction does: for a save while it still stands.
  void StoreBounds() { FormDestroy(); }

 signals:
  // The user closed the window; the "Beat Panel" menu check goes off.
  void closedByUser();
  // F8 / F7 (or the media keys) pressed on the panel: the next or the
  // previous preset of the setlist.
  void nextPresetAsked();
  void previousPresetAsked();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void MetronomeStarted() override;
  void MetronomeStopped() override;
  void BeatHeard(const TBeatShow& beat) override { ShowBeat(beat); }

  void FormCreate();
  void FormResize();
  void FormDestroy();
  void SetFace(const TBeatFace& face);
  void ApplyDockingRule();
  void FitOnNearestMonitor();
  void ApplyPendingOuterSize();
  TScreenRect OuterRect() const;

  TConfig& config_;
  TBeatMarkView* mark_;
  TBeatNumberView* number_;
  TStatusLineView* status_;
  TStatusLineView* presetName_;
  QPointer<QWidget> mainWindow_;
  int lastPosition_ = 0;
  bool placing_ = false;  // inside our own move, so the rule does not recurse
  // Positions we asked for while following, not yet reported back by the
  // window system; their moves are ours, not the user's.
  std::deque<QPoint> followTargets_;
  // The stored outer size, until the window frame is known and the client
  // size can be set to match it.
  bool outerSizePending_ = true;
  QSize requestedClientSize_;

  TPanelTopmostControl topmostControl_{*this};
  TScope topmostBinding_;
  TScope metronomeView_;
};

}  // namespace zelmora
