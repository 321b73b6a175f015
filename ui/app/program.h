#pragma once

#include <QObject>
#include <QSettings>

#include <QUrl>

#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "audio/beat_voices.h"
#include "audio/choice/practice_sounds.h"
#include "audio/device/audio_device.h"
#include "audio/voice_build/audio_messages.h"
#include "audio/wave/wave_storage.h"
#include "core/config.h"
#include "core/metronome.h"
#include "core/scope.h"
#include "core/transport.h"
#include "store/preset_session.h"

namespace zelmora {

class TfrmAbout;
class TfrmBigPanel;
class TfrmMain;
class TfrmMeterConstructor;
class TfrmPractice;
class TfrmPresets;
class TfrmSettings;
class TfrmTempo;
class THotKey;
class TQtBeatHandOver;
class TSettingsLoad;
class TSoundChoice;

// The whole program: creates the settings object, the windows, the audio
// output and the metronome in the order they depend on each other, and
// takes them down again in the reverse order, saving every setting on the
// way. One per run; user-interface thread only.
//
// Start-up: settings object, main window, Preferences dialog (hidden),
// stored settings, hot key, audio output, sound choice and the five
// voices, stored levels, the presets, the main window's place, then the
// beat panel, the meter constructor, the tempo dialog, the about box, the
// Practice dialog and the Presets dialog.
//
// Shut-down: the Presets dialog, the Practice dialog, the about box, the tempo dialog, the
// meter constructor and the beat panel go; every setting is saved and the
// Preferences dialog goes;
// the main window is hidden (which stops a running metronome and records
// its place) and goes; the metronome's scheduler threads end; then the
// voices are released (the practice voices, bell, regular, accent) and last the audio output.
class TProgram {
 public:
  struct TOptions {
    // Where the settings live; nullptr: the user's own settings file.
    std::unique_ptr<QSettings> Settings;
    bool OpenAudio = true;
    bool HotKey = true;
    // How help and web pages are opened; empty: the desktop's browser.
    std::function<void(const QUrl&)> OpenUrl;
  };

  explicit TProgram(TOptions options);
  ~TProgram();
  TProgram(const TProgram&) = delete;
  TProgram& operator=(const TProgram&) = delete;

  // The first display, when the message loop starts.
  void Show();
  // A later start of the program asked for this one: restore it when it is
  // minimised, otherwise bring it to the front.
  void BringToFront();

  TfrmMain& MainWindow() { return *main_; }
  TConfig& Config() { return config_; }
  TTransport& Transport() { return transport_; }
  TMetronome& Metronome() { return *metronome_; }
  TfrmBigPanel* BeatPanel() { return panel_.get(); }
  TfrmSettings& Preferences() { return *prefs_; }
  TfrmPractice& Practice() { return *practice_; }
  TfrmPresets& PresetsDialog() { return *presetsDialog_; }
  TPracticeSounds& PracticeSounds() { return *practiceSounds_; }
  TPresetSession& Presets() { return *presets_; }
  bool HotKeyActive() const;

  // Saves every setting now, the windows still standing: when the session
  // manager asks before it ends the session, which may then end the
  // program without a word.
  void SaveSettingsNow();

 private:
  class TBoxMessages final : public TAudioMessages {
   public:
    void ShowMessage(const std::string& text) override;
  };

  // The caption and the beat panel name the current preset.
  class TPresetNameShow final : public TPresetView {
   public:
    explicit TPresetNameShow(TProgram& program) : program_(program) {}
    void PresetsChanged() override;

   private:
    TProgram& program_;
  };

  static void RunStep(const std::function<void()>& step);
  void CreateMainWindow();
  // Waits for the output being opened alongside; rethrows its failure.
  void OpenAudio(std::future<void>& opened);
  void PrepareVoices();
  // Loads the sounds a recall changed; an open Practice dialog shows the
  // new settings.
  void PresetRecalled(const TChangedSounds& changed);
  void PlaceMainWindow();
  void CreateOtherWindows();
  void CreateMeterConstructor();
  void ShowMeterConstructor(bool modal);
  void ConnectWindows();
  void SaveSettings();
  void ReleaseVoices();

  // Lives until the process ends (declared first, destroyed last).
  TConfig config_;
  TTransport transport_;
  std::unique_ptr<QSettings> settings_;
  std::unique_ptr<TSettingsLoad> load_;

  TWaveStorage accentHolder_;
  TWaveStorage regularHolder_;
  TWaveStorage bellHolder_;
  TAudioDevice device_;
  TBeatVoices voices_;
  TMixerBeatOutput beatOutput_{voices_};
  TSteadyTickerTime time_;
  std::unique_ptr<QObject> beatContext_;
  std::unique_ptr<TQtBeatHandOver> handOver_;
  std::unique_ptr<TMetronome> metronome_;
  TBoxMessages messages_;
  std::function<void(const QUrl&)> openUrl_;
  std::unique_ptr<TSoundChoice> soundChoice_;
  std::unique_ptr<TPracticeSounds> practiceSounds_;
  std::vector<TScope> voicePans_;  // the voices' pan bindings
  TScope outputChoice_;            // the device's binding to the chosen output
  std::unique_ptr<TPresetSession> presets_;

  std::unique_ptr<TfrmMain> main_;
  std::unique_ptr<TfrmSettings> prefs_;
  std::unique_ptr<THotKey> hotKey_;
  std::unique_ptr<TfrmBigPanel> panel_;
  std::unique_ptr<TfrmMeterConstructor> meter_;
  std::unique_ptr<TfrmTempo> tempo_;
  std::unique_ptr<TfrmAbout> about_;
  std::unique_ptr<TfrmPractice> practice_;
  std::unique_ptr<TfrmPresets> presetsDialog_;
  TPresetNameShow presetNameShow_{*this};
  TScope presetNameView_;
};

}  // namespace zelmora
