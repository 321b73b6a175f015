#include <QDir>
#include <QSessionManager>

#include "ui/app/application.h"
#include "ui/app/program.h"
#include "ui/app/single_instance.h"
#include "ui/app/termination_signals.h"
#include "ui/main/main_window.h"
#include "ui/skin/skin.h"

int main(int argc, char** argv) {
  zelmora::TApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelmora"));
  // The id of the installed desktop entry: Wayland compositors and task bars
  // match the windows to it, and so to the icon and the name.
  QApplication::setDesktopFileName(QStringLiteral("org.zelmora.Zelmora"));
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setPalette(zelmora::TSkin::Instance().Palette());
  // The windows go when the program object goes, in the order it decides.
  QApplication::setQuitOnLastWindowClosed(false);

  // Before anything that a signal could interrupt; it outlives the
  // program's shut-down, so that a second signal still ends it at once.
  zelmora::TTerminationSignals termination;
  // Logout, shutdown, kill or Ctrl+C end it as "Exit" does, also while it
  // plays; one that comes during the start-up ends it once that is done.
  bool terminated = false;
  QObject::connect(&termination, &zelmora::TTerminationSignals::terminationRequested, &app,
                   [&terminated] {
                     terminated = true;
                     QCoreApplication::exit(0);
                   });
  zelmora::TSingleInstance instance;
  if (!instance.Acquire()) {
    instance.ActivateRunning();
    return 0;
  }
  // Sound files stored with a relative path are found beside the program.
  QDir::setCurrent(QCoreApplication::applicationDirPath());

  zelmora::TProgram program(zelmora::TProgram::TOptions{});
  QObject::connect(&instance, &zelmora::TSingleInstance::activationRequested,
                   [&program] { program.BringToFront(); });
  // exit, not quit: quit would first close every window, and a closed beat
  // panel counts as unticked in the menu, which the save would then store.
  QObject::connect(&program.MainWindow(), &zelmora::TfrmMain::closed, &app,
                   [] { QCoreApplication::exit(0); });
  // The session manager asks before it ends the session; it may end the
  // program afterwards with nothing more than a signal, or not even that.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                   [&program](QSessionManager&) { program.SaveSettingsNow(); });
  if (terminated) {
    return 0;
  }
  program.Show();
  return app.exec();
}
