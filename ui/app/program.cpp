#include "ui/app/program.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <future>
#include <utility>
#include <vector>

#include "audio/bank/bank.h"
#include "audio/choice/sound_choice.h"
#include "audio/device/output_choice_control.h"
#include "core/error.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"
#include "store/preset_file.h"
#include "store/user_settings.h"
#include "ui/app/hot_key.h"
#include "ui/app/placement.h"
#include "ui/app/settings_load.h"
#include "ui/app/x11_activation.h"
#include "ui/bridge/qt_beat_hand_over.h"
#include "ui/frame/window_rules.h"
#include "ui/main/about_box.h"
#include "ui/main/error_box.h"
#include "ui/main/main_window.h"
#include "ui/meter/meter_constructor.h"
#include "ui/panel/big_panel.h"
#include "ui/practice/practice_dialog.h"
#include "ui/prefs/prefs_dialog.h"
#include "ui/presets/presets_dialog.h"
#include "ui/tempo/tempo_dialog.h"

namespace zelmora {
namespace {

void ShowModeless(QWidget& dialog) {
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}

// The presets live beside the settings file, whichever that is.
QString PresetFileBeside(const QSettings& settings) {
  const QString settingsFile = settings.fileName();
  return settingsFile.isEmpty()
             ? PresetFilePath()
             : QFileInfo(settingsFile).absolutePath() + QStringLiteral("/presets.json");
}

}  // namespace

void TProgram::TBoxMessages::ShowMessage(const std::string& text) {
  ShowMessageBox(text);
}

TProgram::TProgram(TOptions options)
    : settings_(options.Settings ? std::move(options.Settings) : OpenUserSettings()),
      load_(std::make_unique<TSettingsLoad>(
          *settings_, [](const std::string& message) { ShowErrorBox(message); })),
      beatContext_(std::make_unique<QObject>()),
      handOver_(std::make_unique<TQtBeatHandOver>(beatContext_.get())),
      metronome_(
          std::make_unique<TMetronome>(config_, transport_, beatOutput_, time_, *handOver_)) {
  openUrl_ = std::move(options.OpenUrl);
  config_.BindSettersToThisThread();
  // Until the stored choice is applied the voices hold the click; the bell
  // always sounds the bell.
  accentHolder_.Wave = ClickWave();
  regularHolder_.Wave = ClickWave();
  bellHolder_.Wave = BellWave();
  // The sound lists take the stored selection during the load.
  soundChoice_ = std::make_unique<TSoundChoice>(config_, accentHolder_, regularHolder_, bellHolder_,
                                                voices_, messages_);
  practiceSounds_ = std::make_unique<TPracticeSounds>(config_, voices_, messages_);
  // The sound library probes every device and host as it starts, which
  // takes longer than building the windows; both go on at once, and the
  // output is waited for at its place in the start-up, so its message (if
  // any) comes where it always did.
  // The chosen output reaches the device as the settings load; an open
  // already under way takes it if it comes in time, else the device moves
  // there on its own thread.
  outputChoice_ = config_.Controls.AudioOutput.Bind(std::make_unique<TOutputChoiceControl>(device_),
                                                    TOnUnbind::Forget);
  // Said once, however often the output fails: the metronome keeps time
  // meanwhile and plays again once an output opens.
  device_.SetLossHandler([context = beatContext_.get()] {
    QMetaObject::invokeMethod(
        context,
        [] {
          ShowMessageBox(
              "The sound output was lost. The metronome keeps time and plays again as soon as "
              "an output can be opened.");
        },
        Qt::QueuedConnection);
  });
  std::future<void> audioOpened;
  if (options.OpenAudio) {
    audioOpened = std::async(std::launch::async, [this] { device_.Open(); });
  }
  CreateMainWindow();
  // Hidden until asked for; it lives until the end, as the settings do.
  // A dialog of the main window, which it is placed over.
  prefs_ = std::make_unique<TfrmSettings>(config_, *soundChoice_, main_.get());
  prefs_->SetErrorReporter([](const std::string& message) { ShowErrorBox(message); });

  // A step that fails is reported and the start-up goes on: every later
  // step still has to run, or the save at exit would store what a skipped
  // step never loaded.
  RunStep([this] { load_->LoadSettings(config_); });
  if (options.HotKey) {
    RunStep([this] { hotKey_ = RegisterHotKey([this] { main_->StartStop(); }); });
  }
  if (options.OpenAudio) {
    RunStep([this, &audioOpened] { OpenAudio(audioOpened); });
  }
  RunStep([this] { PrepareVoices(); });
  RunStep([this] { load_->LoadVolumes(config_); });
  presets_ = std::make_unique<TPresetSession>(
      TPresetSession::TPorts{config_, *metronome_,
                             [this](const TChangedSounds& changed) { PresetRecalled(changed); },
                             [](const std::string& message) { ShowMessageBox(message); }},
      PresetFileBeside(*settings_));
  RunStep([this] { presets_->Load(); });
  RunStep([this] { PlaceMainWindow(); });
  CreateOtherWindows();
  ConnectWindows();
}

void TProgram::RunStep(const std::function<void()>& step) {
  try {
    step();
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
  }
}

TProgram::~TProgram() {
  // A preset recalled for the next bar is the musician's last choice: it
  // goes into the settings before they are saved.
  metronome_->RunBarChange();
  presetNameView_.End();
  // The settings object holds all the Practice dialog shows, and the
  // presets are saved at every change: neither dialog saves anything.
  presetsDialog_.reset();
  practice_.reset();
  about_.reset();
  tempo_.reset();
  meter_.reset();
  panel_.reset();  // stores its place and size in the settings object
  // Every setting is written as the Preferences dialog goes, while the
  // main window still tells its place and the menu its check marks.
  SaveSettings();
  prefs_.reset();

  // Hiding runs the window's hide handler: a running metronome stops and
  // the window's place is recorded.
  main_->hide();
  main_.reset();
  hotKey_.reset();
  // No scheduler thread may touch a voice once they go.
  metronome_->Shutdown();
  presets_.reset();
  practiceSounds_.reset();
  soundChoice_.reset();
  ReleaseVoices();
}

void TProgram::CreateMainWindow() {
  main_ = std::make_unique<TfrmMain>(
      TfrmMain::TPorts{config_, transport_, *metronome_, voices_.RegularBuffer});
}

void TProgram::OpenAudio(std::future<void>& opened) {
  // Without an output the program runs on with silent voices; the sound
  // lists and the stored levels are still set up, so that the save at exit
  // keeps them.
  opened.get();
  prefs_->SetOutputLister([this] { return device_.OutputNames(); });
}

void TProgram::PrepareVoices() {
  voices_ = TBeatVoices::On(device_.Mixer());
  // The settings object pans the voices (it passes minus Pan).
  const auto bindPan = [this](TBinding<int>& binding, TVoice& voice) {
    voicePans_.push_back(
        binding.Bind(std::make_unique<TVoicePanControl>(voice), TOnUnbind::Forget));
  };
  bindPan(config_.Controls.BellVoicePan, voices_.BellBuffer);
  bindPan(config_.Controls.AccentVoicePan, voices_.AccentBuffer);
  bindPan(config_.Controls.RegularVoicePan, voices_.RegularBuffer);
  // The sound lists, the stored choice and the three voices, then the
  // practice tools' two.
  prefs_->FillSoundLists();
  practiceSounds_->StartUp();
}

void TProgram::PresetRecalled(const TChangedSounds& changed) {
  if (changed.Accent) {
    RunStep([this] { soundChoice_->RecallStoredChoice(TSoundSide::Accent); });
  }
  if (changed.Regular) {
    RunStep([this] { soundChoice_->RecallStoredChoice(TSoundSide::Regular); });
  }
  if (changed.Subdivision) {
    RunStep([this] { practiceSounds_->RecallStoredChoice(TPracticeVoice::Subdivision); });
  }
  if (changed.Layer) {
    RunStep([this] { practiceSounds_->RecallStoredChoice(TPracticeVoice::Layer); });
  }
  if (practice_) {
    practice_->SettingsChanged();
  }
}

void TProgram::PlaceMainWindow() {
  main_->adjustSize();
  // On Wayland the compositor places it; the stored place is kept for a
  // later run on a desktop that lets the program place it.
  if (!PlatformPlacesWindows()) {
    return;
  }
  std::vector<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    screens.push_back(screen->availableGeometry());
  }
  main_->move(
      PullOntoNearestScreen(QPoint(config_.MainLeft, config_.MainTop), main_->size(), screens));
}

void TProgram::CreateOtherWindows() {
  panel_ = std::make_unique<TfrmBigPanel>(config_, main_.get());
  panel_->ShowRunOf(*metronome_);
  CreateMeterConstructor();
  tempo_ = std::make_unique<TfrmTempo>(config_, main_.get());
  about_ = std::make_unique<TfrmAbout>(main_.get());
  // Hidden until asked for; shows the loaded settings.
  practice_ = std::make_unique<TfrmPractice>(config_, *practiceSounds_, main_.get());
  presetsDialog_ = std::make_unique<TfrmPresets>(*presets_, main_.get());
}

void TProgram::TPresetNameShow::PresetsChanged() {
  const std::string& name = program_.presets_->CurrentPresetName();
  program_.main_->ShowPresetName(name);
  if (program_.panel_) {
    program_.panel_->ShowPresetName(name);
  }
}

void TProgram::ConnectWindows() {
  presetNameView_ = presets_->AddView(presetNameShow_);
  presetNameShow_.PresetsChanged();
  const auto step = [this](TPresetStep direction) {
    return [this, direction] { presets_->Step(direction); };
  };
  QObject::connect(panel_.get(), &TfrmBigPanel::nextPresetAsked, main_.get(),
                   step(TPresetStep::Next));
  QObject::connect(panel_.get(), &TfrmBigPanel::previousPresetAsked, main_.get(),
                   step(TPresetStep::Previous));
  QObject::connect(panel_.get(), &TfrmBigPanel::closedByUser, main_.get(),
                   [this] { config_.Controls.mnuBeatIndicator->SetValue(false); });
  TfrmMain::TWindows windows;
  windows.ShowTempoDialog = [this] { tempo_->Execute(); };
  windows.ShowMeterConstructor = [this](bool modal) { ShowMeterConstructor(modal); };
  windows.ShowPreferences = [this] { ShowModeless(*prefs_); };
  windows.ShowPractice = [this] { ShowModeless(*practice_); };
  windows.ShowPresets = [this] { ShowModeless(*presetsDialog_); };
  windows.NextPreset = step(TPresetStep::Next);
  windows.PreviousPreset = step(TPresetStep::Previous);
  windows.ShowBeatPanel = [this](bool visible) { panel_->setVisible(visible); };
  windows.MainWindowMoved = [this](QPoint topLeft) {
    if (panel_) {
      panel_->FollowMainWindow(topLeft);
    }
  };
  windows.ShowAbout = [this] { about_->exec(); };
  windows.OpenUrl = openUrl_;
  main_->SetWindows(std::move(windows));
}

void TProgram::Show() {
  main_->show();
}

void TProgram::BringToFront() {
  if (main_->isMinimized()) {
    main_->showNormal();
  } else {
    main_->show();
    main_->raise();
  }
  ActivateAsRequested(main_.get());
}

bool TProgram::HotKeyActive() const {
  return hotKey_ && hotKey_->IsActive();
}

void TProgram::SaveSettingsNow() {
  if (panel_) {
    panel_->StoreBounds();
  }
  SaveSettings();
}

void TProgram::SaveSettings() {
  try {
    TLMDIniCtrl store(settings_.get());
    zelmora::SaveSettings(config_, store);
  } catch (const TError& error) {
    // The file keeps every value of the last save; the exit goes on.
    ShowErrorBox(error.what());
  }
}

void TProgram::ReleaseVoices() {
  voicePans_.clear();
  if (TMixer* mixer = device_.Mixer()) {
    mixer->SetVoiceSample(SlotOf(TVoiceRole::Layer), nullptr);
    mixer->SetVoiceSample(SlotOf(TVoiceRole::Subdivision), nullptr);
    mixer->SetVoiceSample(SlotOf(TVoiceRole::Bell), nullptr);
    mixer->SetVoiceSample(SlotOf(TVoiceRole::Regular), nullptr);
    mixer->SetVoiceSample(SlotOf(TVoiceRole::Accent), nullptr);
  }
  voices_ = TBeatVoices{};
  device_.Close();
}

void TProgram::CreateMeterConstructor() {
  meter_ = std::make_unique<TfrmMeterConstructor>(config_, main_.get());
}

void TProgram::ShowMeterConstructor(bool modal) {
  if (modal) {
    meter_->ShowModal();
  } else {
    meter_->ShowModeless();
  }
}

}  // namespace zelmora
