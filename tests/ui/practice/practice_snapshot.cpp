// Renders the Practice dialog with the speed trainer on and a subdivision of
// 3 to <folder>/practice.png.
//   practice_snapshot <folder> [--popup]  (--popup: stays open with a list down)
#include <QApplication>
#include <QComboBox>
#include <QDir>

#include <cstdio>

#include "audio/beat_voices.h"
#include "audio/choice/practice_sounds.h"
#include "core/config.h"
#include "ui/practice/practice_dialog.h"

namespace {

class TPrintedMessages final : public zelmora::TAudioMessages {
 public:
  void ShowMessage(const std::string& text) override { std::printf("%s\n", text.c_str()); }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelmora"));
  QApplication::setStyle(QStringLiteral("Fusion"));  // the program's
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
  using namespace zelmora;
  TConfig config;
  TBeatVoices voices = TBeatVoices::On(nullptr);
  TPrintedMessages messages;
  TPracticeSounds sounds(config, voices, messages);
  config.SetSubdivision(3);
  config.SetLayerClicks(3);
  config.SetLayerVolume(-450);
  config.SetCountInBars(1);
  config.SetTrainer(true);
  config.SetTrainerStart(72);
  config.SetTrainerTarget(96);
  config.SetTrainerEveryBars(4);
  config.SetGapPlayBars(3);
  config.SetGapMuteBars(1);
  config.SetPracticeMinutes(20);
  TfrmPractice dialog(config, sounds);
  dialog.show();
  QApplication::processEvents();
  const bool saved = dialog.grab().save(folder.filePath(QStringLiteral("practice.png")));
  if (argc > 2 && QString::fromLatin1(argv[2]) == QStringLiteral("--popup")) {
    dialog.findChild<QComboBox*>(QStringLiteral("scmbLayerSound"))->showPopup();
    return QApplication::exec();
  }
  return saved ? 0 : 1;
}
