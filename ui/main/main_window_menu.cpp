// The main window's menu bar. The items have no shortcuts and no
// accelerator letters: the keys belong to the window's key map.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "core/config.h"
#include "core/metronome.h"
#include "ui/main/error_box.h"
#include "ui/main/main_window.h"
#include "ui/main/web_links.h"

namespace zelmora {
namespace {

QAction* Item(QMenu* menu, const char* name, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

void TfrmMain::BuildMenu() {
  QMenuBar* bar = menuBar();
  bar->setNativeMenuBar(false);

  QMenu* control = bar->addMenu(QStringLiteral("Control"));
  control->setObjectName(QStringLiteral("Control1"));
  On1_ = Item(control, "On1", QStringLiteral("Start/Stop"));
  Restartnextbar1_ = Item(control, "Restartnextbar1", QStringLiteral("Restart bar"));
  control->addSeparator();
  Exit1_ = Item(control, "Exit1", QStringLiteral("Exit"));

  QMenu* tools = bar->addMenu(QStringLiteral("Tools"));
  tools->setObjectName(QStringLiteral("Tools1"));
  MeterConstructor1_ = Item(tools, "MeterConstructor1", QStringLiteral("Meter Constructor..."));
  mnuBeatIndicator_ = Item(tools, "mnuBeatIndicator", QStringLiteral("Beat Panel"));
  mnuBeatIndicator_->setCheckable(true);
  Bellsound1_ = Item(tools, "Bellsound1", QStringLiteral("Bell sound"));
  Bellsound1_->setCheckable(true);
  Practice1_ = Item(tools, "Practice1", QStringLiteral("Practice..."));
  Presets1_ = Item(tools, "Presets1", QStringLiteral("Presets..."));
  tools->addSeparator();
  Settings2_ = Item(tools, "Settings2", QStringLiteral("Preferences..."));

  QMenu* help = bar->addMenu(QStringLiteral("Help"));
  help->setObjectName(QStringLiteral("Help1"));
  Help2_ = Item(help, "Help2", QStringLiteral("Contents"));
  help->addSeparator();
  QMenu* online = help->addMenu(QStringLiteral("Online"));
  online->setObjectName(QStringLiteral("Online1"));
  HomePage1_ = Item(online, "HomePage1", QStringLiteral("Home Page"));
  Support1_ = Item(online, "Support1", QStringLiteral("Support"));
  CustomerFeedback1_ = Item(online, "CustomerFeedback1", QStringLiteral("Feedback"));
  help->addSeparator();
  About1_ = Item(help, "About1", QStringLiteral("About..."));

  TConfig& config = ports_.Config;
  connect(On1_, &QAction::triggered, this, [this] { RunHandler([this] { StartStop(); }); });
  connect(Restartnextbar1_, &QAction::triggered, this,
          [this] { RunHandler([this] { ports_.Metronome.RestartBar(); }); });
  connect(Exit1_, &QAction::triggered, this, [this] { close(); });
  connect(MeterConstructor1_, &QAction::triggered, this, [this] {
    RunHandler([this] {
      if (windows_.ShowMeterConstructor) {
        windows_.ShowMeterConstructor(false);
      }
    });
  });
  // The item has already flipped its own check mark.
  connect(mnuBeatIndicator_, &QAction::triggered, this, [this](bool checked) {
    RunHandler([this, checked] {
      if (windows_.ShowBeatPanel) {
        windows_.ShowBeatPanel(checked);
      }
    });
  });
  connect(Bellsound1_, &QAction::triggered, this,
          [&config] { RunHandler([&config] { config.SetBell(!config.Bell); }); });
  connect(Practice1_, &QAction::triggered, this, &TfrmMain::ShowPractice);
  connect(Presets1_, &QAction::triggered, this, &TfrmMain::ShowPresets);
  connect(Settings2_, &QAction::triggered, this, [this] {
    RunHandler([this] {
      if (windows_.ShowPreferences) {
        windows_.ShowPreferences();
      }
    });
  });
  connect(Help2_, &QAction::triggered, this, [this] { OpenUrl(HelpUrl()); });
  connect(HomePage1_, &QAction::triggered, this,
          [this] { OpenUrl(QUrl(QString::fromLatin1(kHomePageUrl))); });
  // Support and feedback both go to the contact page.
  connect(Support1_, &QAction::triggered, this,
          [this] { OpenUrl(QUrl(QString::fromLatin1(kContactPageUrl))); });
  connect(CustomerFeedback1_, &QAction::triggered, this,
          [this] { OpenUrl(QUrl(QString::fromLatin1(kContactPageUrl))); });
  connect(About1_, &QAction::triggered, this, [this] {
    RunHandler([this] {
      if (windows_.ShowAbout) {
        windows_.ShowAbout();
      }
    });
  });
}

}  // namespace zelmora
