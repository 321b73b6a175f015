#pragma once

#include <QAbstractSlider>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>
#include <vector>

#include "tests/store/temp_ini.h"
#include "ui/app/program.h"
#include "ui/main/error_box.h"
#include "ui/main/main_window.h"
#include "ui/main/meter_combo.h"
#include "ui/main/press_button.h"

namespace zelmora::testing {

// The whole program on a settings file of its own, without the sound card
// and the hot key, with every message box recorded instead of shown.
class TProgramRig {
 public:
  explicit TProgramRig(const QByteArray& storedIni = {}, bool hotKey = false,
                       const QByteArray& storedPresets = {}) {
    if (!storedIni.isEmpty()) {
      ini.WriteBytes(storedIni);
    }
    if (!storedPresets.isEmpty()) {
      QFile file(PresetsPath());
      QVERIFY(file.open(QIODevice::WriteOnly) && file.write(storedPresets) == storedPresets.size());
    }
    SetMessageBoxHook([this](const TShownBox& box) { boxes.push_back(box); });
    TProgram::TOptions options;
    options.Settings = ini.Open();
    options.OpenAudio = false;
    options.HotKey = hotKey;
    options.OpenUrl = [this](const QUrl& url) { urls.push_back(url); };
    program = std::make_unique<TProgram>(std::move(options));
  }
  ~TProgramRig() {
    program.reset();
    SetMessageBoxHook({});
  }

  // Shows the main window and makes it the active window, as at start-up.
  bool Show() {
    program->Show();
    main().activateWindow();
    return QTest::qWaitForWindowActive(&main());
  }
  // Ends the program: the windows go and the settings are saved.
  void End() { program.reset(); }

  // The preset file beside the settings file.
  QString PresetsPath() const { return ini.Folder() + QStringLiteral("/presets.json"); }

  TfrmMain& main() { return program->MainWindow(); }
  TConfig& config() { return program->Config(); }
  template <typename W>
  W* find(const char* name) {
    return main().findChild<W*>(QString::fromLatin1(name));
  }
  QAbstractSlider* tempoFader() { return find<QAbstractSlider>("sTrackBarTempo"); }
  QAbstractSlider* volumeFader() { return find<QAbstractSlider>("sTrackBarVol"); }
  TMeterCombo* meterBox() { return find<TMeterCombo>("scmbMeterNum"); }
  TPressButton* startButton() { return find<TPressButton>("sbtnStartStop"); }
  TPressButton* tapButton() { return find<TPressButton>("sButton2"); }
  QWidget* tapLabel() { return find<QWidget>("lblTap"); }

  TTempIni ini;
  std::vector<TShownBox> boxes;
  std::vector<QUrl> urls;
  std::unique_ptr<TProgram> program;
};

}  // namespace zelmora::testing
