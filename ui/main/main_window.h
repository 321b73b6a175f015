#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/config_controls.h"
#include "core/control_binding.h"
#include "core/metronome_view.h"
#include "core/scope.h"
#include "tempo/tap_tempo.h"

class QAction;
class QLabel;
class QMenu;

namespace zelmora {

class TConfig;
class TFader;
class TKeyPreview;
class TMeterCombo;
class TMetronome;
class TPinButton;
class TPressButton;
class TPicture;
class TTempoDisplay;
class TVoice;
struct TTransport;

// The metronome's face: the tempo display, the meter box, the tempo and
// volume faders, the start/stop and tap buttons, the menu, and the key map
// of the whole program. It shows the settings object through its bindings
// and sends every user change to the settings object's setters, the
// metronome or the tap tempo. Closing it ends the program.
//
// The other windows (tempo dialog, meter constructor, beat panel,
// Preferences, Practice, about box) are reached through TWindows, which the
// program fills in once they exist.
class TfrmMain : public QMainWindow, private TMetronomeView {
  Q_OBJECT

 public:
  struct TPorts {
    TConfig& Config;
    TTransport& Transport;
    TMetronome& Metronome;
    TVoice& RegularVoice;  // the tap's sound
    TTickSource Ticks = MonotonicTickCount;
  };

  struct TWindows {
    std::function<void()> ShowTempoDialog;  // modal
    std::function<void(bool modal)> ShowMeterConstructor;
    std::function<void()> ShowPreferences;  // non-modal
    std::function<void()> ShowPractice;     // non-modal
    std::function<void()> ShowPresets;      // non-modal
    std::function<void()> NextPreset;       // of the current setlist
    std::function<void()> PreviousPreset;
    std::function<void(bool visible)> ShowBeatPanel;
    std::function<void(QPoint)> MainWindowMoved;  // the beat panel follows
    std::function<void()> ShowAbout;              // modal
    std::function<void(const QUrl&)> OpenUrl;     // browser, help file
  };

  explicit TfrmMain(TPorts ports, QWidget* parent = nullptr);
  ~TfrmMain() override;

  void SetWindows(TWindows windows);
  // The caption: the program's name, then the current preset's, if any.
  void ShowPresetName(const std::string& name);

  TTapTempo& Tap() { return *tap_; }

  // The start/stop operation as the menu and the hot key use it: tap mode
  // stays as it is.
  void StartStop();
  // A left press on the start button (or Space): leaves tap mode, then
  // starts or stops.
  void sbtnStartStopMouseDown();
  // A left press on the tap button (or Enter): one tap.
  void sButton2MouseDown();
  void FocusTempoFader();

  // Where the help file lives: beside the executable in the build tree, under
  // share/zelmora once installed.
  static QUrl HelpUrl();

 signals:
  // The user closed the window (Esc, Exit, the close box): the program ends.
  void closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  class TTapEffectsImpl;

  // Building, in main_window_face.cpp and main_window_menu.cpp.
  void BuildFace();
  void BuildHeadings(QWidget* face);
  void BuildTempoScale(QWidget* face);
  void BuildMenu();
  void ConnectHandlers();
  void SetToolTips();
  void BindControls();

  // What the window shows of the metronome's run.
  void MetronomeStarted() override;
  void MetronomeStopped() override;
  void BeatHeard(const TBeatShow& beat) override;
  void ShowRunning(bool running);

  // Handlers.
  void FormShow();
  void FormHide();
  void sTrackBarTempoUserChange();
  void sTrackBarVolChange(int position);
  void scmbMeterNumChange();
  void ShowHint(bool on);
  void SetTopmost(bool on);
  void ShowPractice();  // the menu item and Ctrl+P
  void ShowPresets();   // the menu item and Ctrl+L
  void RunWindowAction(const std::function<void()>& action);
  void OpenUrl(const QUrl& url);
  void SnapToEdges();

  TPorts ports_;
  TWindows windows_;
  std::unique_ptr<TTapEffectsImpl> tapEffects_;
  std::unique_ptr<TTapTempo> tap_;
  bool shownOnce_ = false;
  bool showHint_ = true;
  bool closing_ = false;
  bool snapping_ = false;

  // Controls, named as in the settings object's bindings.
  TTempoDisplay* sPanel1_ = nullptr;
  QLabel* slblTimeSignNum_ = nullptr;
  TPicture* slblTimeSignDen_ = nullptr;
  TPicture* lblBeat_ = nullptr;
  QLabel* Label5_ = nullptr;
  QLabel* lblTap_ = nullptr;
  TFader* sTrackBarVol_ = nullptr;
  TPicture* Image2_ = nullptr;
  QWidget* sPanel2_ = nullptr;
  TFader* sTrackBarTempo_ = nullptr;
  TMeterCombo* scmbMeterNum_ = nullptr;
  QLabel* sWebLabel1_ = nullptr;
  TPressButton* sbtnStartStop_ = nullptr;
  TPressButton* sButton2_ = nullptr;
  QLabel* Label9_ = nullptr;
  TPicture* Image1_ = nullptr;
  TPinButton* pin_ = nullptr;

  QAction* On1_ = nullptr;
  QAction* Restartnextbar1_ = nullptr;
  QAction* Exit1_ = nullptr;
  QAction* MeterConstructor1_ = nullptr;
  QAction* mnuBeatIndicator_ = nullptr;
  QAction* Bellsound1_ = nullptr;
  QAction* Practice1_ = nullptr;
  QAction* Presets1_ = nullptr;
  QAction* Settings2_ = nullptr;
  QAction* Help2_ = nullptr;
  QAction* HomePage1_ = nullptr;
  QAction* Support1_ = nullptr;
  QAction* CustomerFeedback1_ = nullptr;
  QAction* About1_ = nullptr;

  // The tooltip texts, kept so that the window could show them again.
  std::vector<std::pair<QWidget*, QString>> toolTips_;

  TKeyPreview* keyPreview_ = nullptr;

  // The widgets' bindings to the settings object and the window's place
  // among the metronome's views; they end before the widgets go.
  std::vector<TScope> bindings_;
};

}  // namespace zelmora
