#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <functional>
#include <vector>

#include "core/config.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"
#include "tests/store/error_text.h"
#include "tests/store/temp_ini.h"
#include "tests/store/unusual_settings.h"

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

namespace zelmora {
namespace {

using testing::ApplyUnusualSettings;
using testing::ErrorText;
using testing::TTempIni;

// One stored setting: its text as the save writes it after
// ApplyUnusualSettings, and whether a load brought that value into a fresh
// settings object. The list is in load order: LoadSettings' keys, then
// LoadVolumes'.
struct TStoredSetting {
  QString Key;
  QString Text;
  std::function<bool(TConfig&)> Loaded;
};

const std::vector<TStoredSetting>& StoredSettings() {
  static const std::vector<TStoredSetting> settings = {
      {"Tempo", "187", [](TConfig& c) { return c.Tempo == 187; }},
      {"BeatPattern", "X-xX", [](TConfig& c) { return c.BeatPattern == "X-xX"; }},
      {"Bell", "1", [](TConfig& c) { return c.Bell == true; }},
      {"Boost Volume", "1", [](TConfig& c) { return c.BoostVolume; }},
      {"Sound Regular", "/snd/régulier.wav",
       [](TConfig& c) { return c.Controls.OpenDialogReg->Value() == "/snd/régulier.wav"; }},
      {"Sound Accent", "/snd/accent, loud.wav",
       [](TConfig& c) { return c.Controls.OpenDialogAcc->Value() == "/snd/accent, loud.wav"; }},
      {"Regular Sound Index", "5",
       [](TConfig& c) { return c.Controls.sComboBoxReg->Value() == 5; }},
      {"Accented Sound Index", "-1",
       [](TConfig& c) { return c.Controls.sComboBoxAcc->Value() == -1; }},
      {"MainLeft", "-1920", [](TConfig& c) { return c.MainLeft == -1920; }},
      {"MainTop", "40", [](TConfig& c) { return c.MainTop == 40; }},
      {"BeatIndicatorVisible", "1",
       [](TConfig& c) { return c.Controls.mnuBeatIndicator->Value(); }},
      {"BigPanelLeft", "1200", [](TConfig& c) { return c.BigPanelLeft == 1200; }},
      {"BigPanelTop", "-30", [](TConfig& c) { return c.BigPanelTop == -30; }},
      {"BigPanelWidth", "321", [](TConfig& c) { return c.BigPanelWidth == 321; }},
      {"BigPanelHeight", "123", [](TConfig& c) { return c.BigPanelHeight == 123; }},
      {"Hue", "-100", [](TConfig& c) { return c.Controls.strkbHue->Value() == -100; }},
      {"Visual Offset", "-35", [](TConfig& c) { return c.VisualOffset == -35; }},
      {"Subdivision", "3", [](TConfig& c) { return c.Practice.Subdivision == 3; }},
      {"Swing", "67", [](TConfig& c) { return c.Practice.Swing == 67; }},
      {"Subdivision Volume", "-700",
       [](TConfig& c) { return c.Practice.SubdivisionVolume == -700; }},
      {"Subdivision Sound Index", "2",
       [](TConfig& c) { return c.Practice.SubdivisionSoundIndex == 2; }},
      {"Sound Subdivision", "/snd/sub.wav",
       [](TConfig& c) { return c.Practice.SoundSubdivision == "/snd/sub.wav"; }},
      {"Layer Clicks", "5", [](TConfig& c) { return c.Practice.LayerClicks == 5; }},
      {"Layer Volume", "-300", [](TConfig& c) { return c.Practice.LayerVolume == -300; }},
      {"Layer Sound Index", "-1", [](TConfig& c) { return c.Practice.LayerSoundIndex == -1; }},
      {"Sound Layer", "/snd/layer.wav",
       [](TConfig& c) { return c.Practice.SoundLayer == "/snd/layer.wav"; }},
      {"Count In Bars", "2", [](TConfig& c) { return c.Practice.CountInBars == 2; }},
      {"Trainer", "1", [](TConfig& c) { return c.Practice.Trainer.load(); }},
      {"Trainer Start", "100", [](TConfig& c) { return c.Practice.TrainerStart == 100; }},
      {"Trainer Target", "90", [](TConfig& c) { return c.Practice.TrainerTarget == 90; }},
      {"Trainer Step", "5", [](TConfig& c) { return c.Practice.TrainerStep == 5; }},
      {"Trainer Every Bars", "8", [](TConfig& c) { return c.Practice.TrainerEveryBars == 8; }},
      {"Trainer At Target", "1", [](TConfig& c) { return c.Practice.TrainerAtTarget == 1; }},
      {"Gap Play Bars", "3", [](TConfig& c) { return c.Practice.GapPlayBars == 3; }},
      {"Gap Mute Bars", "2", [](TConfig& c) { return c.Practice.GapMuteBars == 2; }},
      {"Gap Random Percent", "25", [](TConfig& c) { return c.Practice.GapRandomPercent == 25; }},
      {"Practice Minutes", "10", [](TConfig& c) { return c.Practice.PracticeMinutes == 10; }},
      {"Output Device", "ALSA: USB Audio: Headphones (hw:1,0)",
       [](TConfig& c) { return c.OutputDevice == "ALSA: USB Audio: Headphones (hw:1,0)"; }},
      {"Volume", "-1200", [](TConfig& c) { return c.Volume == -1200; }},
      {"Volume Regular Dif", "-300", [](TConfig& c) { return c.VolumeRegularDif == -300; }},
      {"Bell Volume", "-1500", [](TConfig& c) { return c.BellVolume == -1500; }},
      {"Pan", "2500", [](TConfig& c) { return c.Pan == 2500; }},
  };
  return settings;
}

void Load(TConfig& config, TLMDIniCtrl& store) {
  LoadSettings(config, store);
  LoadVolumes(config, store);
}

}  // namespace

class ConfigIoTest : public QObject {
  Q_OBJECT

 private slots:
  void firstRunGivesEveryDefault() {
    TTempIni ini;
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    config.Controls.WorkArea->SetValue({1001, 703});

    Load(config, store);

    QCOMPARE(config.Tempo.load(), 120);
    QCOMPARE(config.BeatPattern, std::string("Xxxx"));
    QCOMPARE(config.Bell.load(), true);
    QCOMPARE(config.BoostVolume, false);
    QCOMPARE(config.StayOnTop, true);
    QCOMPARE(config.Controls.OpenDialogReg->Value(), std::string());
    QCOMPARE(config.Controls.OpenDialogAcc->Value(), std::string());
    QCOMPARE(config.Controls.sComboBoxReg->Value(), 17);
    QCOMPARE(config.Controls.sComboBoxAcc->Value(), 18);
    QCOMPARE(config.MainLeft, 333);
    QCOMPARE(config.MainTop, 175);
    QCOMPARE(config.Controls.mnuBeatIndicator->Value(), true);
    QCOMPARE(config.BigPanelLeft, 50);
    QCOMPARE(config.BigPanelTop, 50);
    QCOMPARE(config.BigPanelWidth, 250);
    QCOMPARE(config.BigPanelHeight, 250);
    QCOMPARE(config.Controls.strkbHue->Value(), 0);
    QCOMPARE(config.Volume.load(), 0);
    QCOMPARE(config.VolumeRegularDif.load(), -900);
    QCOMPARE(config.BellVolume.load(), -600);
    QCOMPARE(config.Pan, 0);
    QCOMPARE(config.VisualOffset.load(), 0);
    QCOMPARE(config.OutputDevice, std::string("System default"));
    const TPracticeSettings& practice = config.Practice;
    QCOMPARE(practice.Subdivision.load(), 1);
    QCOMPARE(practice.Swing.load(), 50);
    QCOMPARE(practice.SubdivisionVolume.load(), -1200);
    QCOMPARE(practice.SubdivisionSoundIndex, 5);
    QCOMPARE(practice.SoundSubdivision, std::string());
    QCOMPARE(practice.LayerClicks.load(), 0);
    QCOMPARE(practice.LayerVolume.load(), -600);
    QCOMPARE(practice.LayerSoundIndex, 9);
    QCOMPARE(practice.SoundLayer, std::string());
    QCOMPARE(practice.CountInBars.load(), 0);
    QCOMPARE(practice.Trainer.load(), false);
    QCOMPARE(practice.TrainerStart.load(), 80);
    QCOMPARE(practice.TrainerTarget.load(), 120);
    QCOMPARE(practice.TrainerStep.load(), 4);
    QCOMPARE(practice.TrainerEveryBars.load(), 2);
    QCOMPARE(practice.TrainerAtTarget.load(), 0);
    QCOMPARE(practice.GapPlayBars.load(), 0);
    QCOMPARE(practice.GapMuteBars.load(), 1);
    QCOMPARE(practice.GapRandomPercent.load(), 0);
    QCOMPARE(practice.PracticeMinutes.load(), 0);
    QVERIFY(!QFile::exists(ini.Path()));  // reading writes nothing
  }

  // Each practice value a file can hold lands in its range.
  void practiceValuesAreClamped_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("loaded");
    const auto row = [](const char* key, const char* text, int loaded) {
      QTest::addRow("%s=%s", key, text) << QString(key) << QString(text) << loaded;
    };
    row("Subdivision", "0", 1);
    row("Subdivision", "2147483647", 4);
    row("Swing", "49", 50);
    row("Swing", "76", 75);
    row("Subdivision Volume", "-2147483648", -2100);
    row("Subdivision Volume", "5", 0);
    row("Layer Clicks", "1", 0);
    row("Layer Clicks", "10", 9);
    row("Layer Clicks", "-5", 0);
    row("Layer Volume", "-2101", -2100);
    row("Count In Bars", "3", 2);
    row("Count In Bars", "5", 4);
    row("Count In Bars", "-1", 0);
    row("Trainer Start", "19", 20);
    row("Trainer Target", "417", 416);
    row("Trainer Step", "0", 1);
    row("Trainer Step", "21", 20);
    row("Trainer Every Bars", "65", 64);
    row("Trainer At Target", "2", 1);
    row("Gap Play Bars", "-1", 0);
    row("Gap Play Bars", "17", 16);
    row("Gap Mute Bars", "0", 1);
    row("Gap Random Percent", "51", 50);
    row("Practice Minutes", "181", 180);
    row("Practice Minutes", "-2147483648", 0);
  }
  void practiceValuesAreClamped() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, loaded);
    TTempIni ini;
    ini.Put("Zelmora/" + key, text);
    TConfig config;
    {
      auto settings = ini.Open();
      TLMDIniCtrl store(settings.get());
      Load(config, store);
      SaveSettings(config, store);
    }
    QCOMPARE(ini.Stored("Zelmora/" + key), QVariant(QString::number(loaded)));
  }

  void visualOffsetIsClamped_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::newRow("in range") << "-35" << -35;
    QTest::newRow("too late") << "300" << 150;
    QTest::newRow("far too early") << "-2147483648" << -150;
  }
  void visualOffsetIsClamped() {
    QFETCH(QString, text);
    QFETCH(int, offset);
    TTempIni ini;
    ini.Put("Zelmora/Visual Offset", text);
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    Load(config, store);
    QCOMPARE(config.VisualOffset.load(), offset);
  }

  void tempoText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("above range") << "500" << 416;
    QTest::newRow("below range") << "-7" << 20;
    QTest::newRow("letters") << "fast" << 120;
    QTest::newRow("empty") << "" << 120;
    QTest::newRow("leading blanks") << "   90" << 90;
    QTest::newRow("trailing blank") << "90 " << 120;
    QTest::newRow("dollar hex") << "$1E" << 30;
    QTest::newRow("0x hex") << "0x1E" << 30;
    QTest::newRow("beyond 32 bits") << "4294967396" << 120;  // 2^32 + 100
    // What a fresh settings object holds before the load.
    QTest::newRow("zero") << "0" << 20;
    QTest::newRow("minus zero") << "-0" << 20;
    QTest::newRow("two zeros") << "00" << 20;
    QTest::newRow("dollar zero") << "$0" << 20;
  }
  void tempoText() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    TTempIni ini;
    ini.Put("Zelmora/Tempo", text);
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;

    LoadSettings(config, store);

    QCOMPARE(config.Tempo.load(), expected);
  }

  void flagText_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("two") << "Bell"
                         << "2" << true;
    QTest::newRow("negative") << "Bell"
                              << "-1" << true;
    QTest::newRow("zero") << "Bell"
                          << "0" << false;
    QTest::newRow("word, default on") << "Bell"
                                      << "yes" << true;
    QTest::newRow("word, default off") << "Boost Volume"
                                       << "yes" << false;
    QTest::newRow("hex") << "Boost Volume"
                         << "$10" << true;
  }
  void flagText() {
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(bool, expected);
    TTempIni ini;
    ini.Put("Zelmora/" + key, text);
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;

    LoadSettings(config, store);

    QCOMPARE(key == "Bell" ? config.Bell.load() : config.BoostVolume, expected);
  }

  void saveThenLoadKeepsEverySetting() {
    TTempIni ini;
    {
      auto settings = ini.Open();
      TLMDIniCtrl store(settings.get());
      TConfig config;
      ApplyUnusualSettings(config);
      SaveSettings(config, store);
    }
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;

    Load(config, store);

    for (const TStoredSetting& setting : StoredSettings()) {
      QVERIFY2(setting.Loaded(config), qPrintable(setting.Key));
    }
  }

  void saveWritesPlainTextInItsSection() {
    TTempIni ini;
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    ApplyUnusualSettings(config);
    store.ReadInteger("Other", "Anything", 0);  // the save names its own section

    SaveSettings(config, store);

    QStringList expectedKeys;
    for (const TStoredSetting& setting : StoredSettings()) {
      expectedKeys << "Zelmora/" + setting.Key;
      QCOMPARE(ini.Stored("Zelmora/" + setting.Key), QVariant(setting.Text));
    }
    QStringList keys = ini.StoredKeys();
    keys.sort();
    expectedKeys.sort();
    QCOMPARE(keys, expectedKeys);
    QVERIFY(ini.Bytes().contains("/snd/r\xC3\xA9gulier.wav"));
  }

  void defaultsAreSavedAsDecimalTextAndDigitFlags() {
    TTempIni ini;
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    Load(config, store);

    SaveSettings(config, store);

    QCOMPARE(ini.Stored("Zelmora/Volume Regular Dif"), QVariant(QString("-900")));
    QCOMPARE(ini.Stored("Zelmora/Bell"), QVariant(QString("1")));
    QCOMPARE(ini.Stored("Zelmora/Boost Volume"), QVariant(QString("0")));
  }

  void saveTakesMainWindowPlaceFromTheWindow() {
    TTempIni ini;
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    config.MainLeft = 1;
    config.MainTop = 2;
    THeldValue<int> windowLeft(640);
    THeldValue<int> windowTop(-10);
    const TScope windowLeftBound = config.Controls.MainWindowLeft.Bind(windowLeft);
    const TScope windowTopBound = config.Controls.MainWindowTop.Bind(windowTop);

    SaveSettings(config, store);

    QCOMPARE(ini.Stored("Zelmora/MainLeft"), QVariant(QString("640")));
    QCOMPARE(ini.Stored("Zelmora/MainTop"), QVariant(QString("-10")));
  }

  // QSettings reads "1, 2" back as a list, which no setting can be.
  void loadStopsAtAValueThatIsNoText_data() {
    QTest::addColumn<QString>("badKey");
    for (const char* key : {"Tempo", "Sound Regular", "Hue", "Volume", "Pan"}) {
      QTest::newRow(key) << key;
    }
  }
  void loadStopsAtAValueThatIsNoText() {
    QFETCH(QString, badKey);
    TTempIni ini;
    for (const TStoredSetting& setting : StoredSettings()) {
      ini.Put("Zelmora/" + setting.Key, setting.Text);
    }
    ini.Put("Zelmora/" + badKey, QStringList({"1", "2"}));
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;

    QCOMPARE(ErrorText([&] { Load(config, store); }), "Invalid data type for '" + badKey + "'");

    bool reached = false;
    for (const TStoredSetting& setting : StoredSettings()) {
      reached = reached || setting.Key == badKey;
      QVERIFY2(setting.Loaded(config) == !reached, qPrintable(setting.Key));
    }
  }

  // LoadVolumes names no section: it reads where the last operation did.
  void loadVolumesReadsTheRememberedSection_data() {
    QTest::addColumn<bool>("settingsLoadedFirst");
    QTest::addColumn<int>("expected");
    QTest::newRow("after LoadSettings") << true << -700;
    QTest::newRow("alone") << false << -500;
  }
  void loadVolumesReadsTheRememberedSection() {
    QFETCH(bool, settingsLoadedFirst);
    QFETCH(int, expected);
    TTempIni ini;
    ini.Put("Zelmora/Volume", "-700");
    ini.Put("Common/Volume", "-500");
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;

    if (settingsLoadedFirst) {
      LoadSettings(config, store);
    }
    LoadVolumes(config, store);

    QCOMPARE(config.Volume.load(), expected);
  }

  // Root ignores permission bits, so the failures are made another way: a
  // regular file where the settings folder belongs, and a file name so long
  // that neither the lock file nor the temporary file of the replacement
  // fits beside it, while the file itself can still be read.
  void failedSaveReportsAndKeepsTheOldFile_data() {
    QTest::addColumn<bool>("folderBlocked");
    QTest::addColumn<QString>("expected");
    QTest::newRow("folder cannot be made") << true << "Failed to create key Zelmora";
    QTest::newRow("file cannot be replaced") << false << "Failed to set data for 'Tempo'";
  }
  void failedSaveReportsAndKeepsTheOldFile() {
    QFETCH(bool, folderBlocked);
    QFETCH(QString, expected);
#ifdef Q_OS_UNIX
    TTempIni probe;
    const long nameMax = pathconf(QFile::encodeName(probe.Folder()).constData(), _PC_NAME_MAX);
    if (nameMax <= 0) {
      QSKIP("the folder reports no limit on file names");
    }
    const QString longName(static_cast<qsizetype>(nameMax) - 4, QChar('z'));
    TTempIni ini(folderBlocked ? "blocker/Zelmora/Zelmora.ini" : longName);
    const QString blocker = ini.Folder() + "/blocker";
    const QString old = "[Zelmora]\nTempo=90\n";
    QVERIFY(folderBlocked ? QFile(blocker).open(QIODevice::WriteOnly)
                          : ini.WriteBytes(old.toUtf8()));
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    Load(config, store);

    QCOMPARE(ErrorText([&] { SaveSettings(config, store); }), expected);

    if (folderBlocked) {
      QVERIFY(QFileInfo(blocker).isFile());
    } else {
      QCOMPARE(config.Tempo.load(), 90);  // the file could be read
      QCOMPARE(ini.Bytes(), old.toUtf8());
    }
#else
    Q_UNUSED(folderBlocked);
    Q_UNUSED(expected);
    QSKIP("relies on the file-name limit of a Unix folder");
#endif
  }

  // With room on the disk for some of the new values but not all of them,
  // the file keeps all of the old ones.
  void interruptedSaveKeepsEveryOldValue() {
#ifdef Q_OS_UNIX
    TTempIni ini;
    auto settings = ini.Open();
    TLMDIniCtrl store(settings.get());
    TConfig config;
    Load(config, store);
    SaveSettings(config, store);
    const QByteArray old = ini.Bytes();
    ApplyUnusualSettings(config);

    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit unlimited = limit;
    limit.rlim_cur = static_cast<rlim_t>(old.size()) + 20;
    const auto oldAction = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const QString error = ErrorText([&] { SaveSettings(config, store); });
    setrlimit(RLIMIT_FSIZE, &unlimited);
    std::signal(SIGXFSZ, oldAction);

    QCOMPARE(error, QString("Failed to set data for 'Tempo'"));
    QCOMPARE(ini.Bytes(), old);
#else
    QSKIP("limits the file size the Unix way");
#endif
  }
};

}  // namespace zelmora

QTEST_GUILESS_MAIN(zelmora::ConfigIoTest)
#include "config_io_test.moc"
