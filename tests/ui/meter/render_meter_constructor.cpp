// Renders the meter constructor to a PNG:
// render_meter_constructor <file> [meter] [hue] [focus], where "focus" puts the
// keyboard focus on the last beat of the grid.
#include <QApplication>
#include <QPixmap>
#include <cstdio>
#include <cstring>

#include "core/config.h"
#include "ui/meter/beat_grid.h"
#include "ui/meter/meter_constructor.h"
#include "ui/skin/skin.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <file.png> [meter text] [hue offset] [focus]\n", argv[0]);
    return 2;
  }
  zelmora::TConfig config;
  config.SetMeterText(argc > 2 ? argv[2] : "3+2");
  if (argc > 3) {
    zelmora::TSkin::Instance().SetHueOffset(std::atoi(argv[3]));
  }
  QApplication::setPalette(zelmora::TSkin::Instance().Palette());
  zelmora::TfrmMeterConstructor dialog(config, nullptr);
  dialog.ShowModeless();
  if (argc > 4 && std::strcmp(argv[4], "focus") == 0) {
    auto* grid = dialog.findChild<zelmora::TBeatGrid*>("StringGrid1");
    dialog.activateWindow();
    grid->setFocus();
    grid->SetCurrentCell({static_cast<int>(config.BeatPattern.size()) - 1, 2});
  }
  QApplication::processEvents();
  return dialog.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
