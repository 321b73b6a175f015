// Measures what the beat panel costs per beat: ShowBeat followed by a full
// repaint, 1000 times, at full-screen size and at the default size, on the
// offscreen platform (software rendering into the window's backing store).
// Prints the processor time per beat and the share of one core that the
// panel takes at the fastest tempo, 416 beats per minute.

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "core/config.h"
#include "core/metronome.h"
#include "ui/panel/big_panel.h"

namespace {

constexpr int kCycles = 1000;
constexpr double kFastestBeatsPerSecond = 416.0 / 60.0;

double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

void Measure(const char* label, int width, int height, bool eventLoop) {
  zelmora::TConfig config;
  config.BigPanelLeft = 0;
  config.BigPanelTop = 0;
  config.BigPanelWidth = width;
  config.BigPanelHeight = height;
  config.SetBeatPattern("XxxXx");
  zelmora::TfrmBigPanel panel(config);
  panel.show();
  panel.SetMarkColor(zelmora::kBeatMarkRunningColor);
  QApplication::processEvents();

  const double cpuStart = CpuSeconds();
  const auto wallStart = std::chrono::steady_clock::now();
  for (int i = 0; i < kCycles; ++i) {
    panel.ShowBeat(i % 5 + 1);
    if (eventLoop) {
      QApplication::processEvents();  // the path of a real beat: update() then paint
    } else {
      panel.repaint();
    }
  }
  const double cpu = CpuSeconds() - cpuStart;
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  const double perBeat = cpu / kCycles;
  std::printf(
      "%-34s %4dx%-4d  cpu %7.1f ms  wall %7.1f ms  %6.3f ms/beat  %5.2f %% of a core "
      "at 416 bpm\n",
      label, panel.width(), panel.height(), cpu * 1e3, wall * 1e3, perBeat * 1e3,
      perBeat * kFastestBeatsPerSecond * 100.0);
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  std::printf("platform %s, %d beats each\n", qPrintable(QGuiApplication::platformName()), kCycles);
  Measure("full screen, repaint()", 1920, 1080, false);
  Measure("full screen, update() + event loop", 1920, 1080, true);
  Measure("4K, repaint()", 3840, 2160, false);
  Measure("default size, repaint()", 250, 250, false);
  return 0;
}
