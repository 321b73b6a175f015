// Renders the Preferences dialog at hue 0 and hue 120, with a (missing)
// chosen file on the accent side, to <folder>/prefs_hue0.png and prefs_hue120.png.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QSlider>

#include <cstdio>

#include "audio/bank/bank.h"
#include "audio/beat_voices.h"
#include "audio/choice/sound_choice.h"
#include "core/config.h"
#include "ui/prefs/prefs_dialog.h"
#include "ui/skin/skin.h"

namespace {

class TPrintedMessages final : public zelmora::TAudioMessages {
 public:
  void ShowMessage(const std::string& text) override { std::printf("%s\n", text.c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelmora"));
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
  using namespace zelmora;
  TConfig config;
  TBeatVoices voices = TBeatVoices::On(nullptr);
  TWaveStorage accent{ClickWave()}, regular{ClickWave()}, bell{BellWave()};
  TPrintedMessages messages;
  TSoundChoice choice(config, accent, regular, bell, voices, messages);
  TfrmSettings dialog(config, choice);
  config.Controls.OpenDialogAcc->SetValue("/home/musician/Samples/Percussion/rim click.wav");
  config.Controls.sComboBoxAcc->SetValue(25);
  dialog.FillSoundLists();
  config.SetVolumeRegularDif(-900);
  config.SetBellVolume(-600);
  config.SetPan(-2500);
  config.SetBoostVolume(true);
  dialog.show();
  QApplication::processEvents();
  bool saved = dialog.grab().save(folder.filePath(QStringLiteral("prefs_hue0.png")));
  dialog.findChild<QSlider*>(QStringLiteral("strkbHue"))->setValue(120);
  QApplication::processEvents();
  saved = dialog.grab().save(folder.filePath(QStringLiteral("prefs_hue120.png"))) && saved;
  if (argc > 2 && QString::fromLatin1(argv[2]) == QStringLiteral("--popup")) {
    // Leaves the regular list open for a look at the screen.
    dialog.findChild<QComboBox*>(QStringLiteral("sComboBoxReg"))->showPopup();
    return QApplication::exec();
  }
  return saved ? 0 : 1;
}
