// Renders the Presets dialog with a few presets and two setlists, the
// second preset of "Gig" current, to <folder>/presets.png.
//   presets_snapshot <folder>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <string>

#include "core/config.h"
#include "core/metronome.h"
#include "store/preset_session.h"
#include "tests/core/quiet_metronome.h"
#include "ui/presets/presets_dialog.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelmora"));
  QApplication::setStyle(QStringLiteral("Fusion"));  // the program's
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath());
  using namespace zelmora;
  QTemporaryDir presets;
  TConfig config;
  test::TQuietMetronome quiet(config);
  TMetronome& metronome = quiet.metronome;
  TPresetSession session({config,
                          metronome,
                          {},
                          [](const std::string& message) { std::printf("%s\n", message.c_str()); }},
                         presets.filePath(QStringLiteral("presets.json")));
  session.Load();
  session.Edit([&](TPresetLibrary& library) {
    const auto add = [&](const char* name, int tempo) {
      config.SetTempo(tempo);
      library.AddPreset(name, session.Capture());
    };
    add("Warm-up", 80);
    add("Autumn Leaves", 132);
    add("Blue Bossa", 144);
    add("Take Five", 172);
    add("Ballad in F", 66);
    add("Scales, sixteenths", 96);
    library.AddSetlist("Friday gig");
    for (const char* name : {"Blue Bossa", "Autumn Leaves", "Take Five", "Ballad in F"}) {
      library.AddToSetlist("Friday gig", name);
    }
    library.AddSetlist("Practice");
    library.AddToSetlist("Practice", "Warm-up");
    library.AddToSetlist("Practice", "Scales, sixteenths");
  });
  session.Recall("Friday gig", "Autumn Leaves");
  TfrmPresets dialog(session, nullptr);
  dialog.show();
  QApplication::processEvents();
  const bool saved = dialog.grab().save(folder.filePath(QStringLiteral("presets.png")));
  return saved ? 0 : 1;
}
