// Fuzz target for the stored settings: any bytes as the settings file,
// loaded as at start-up (a value that is not a text is reported and left
// out), then saved as at exit. Besides the sanitizers' checks it aborts when
// a loaded setting lies outside its range, when the save fails, or when the
// saved file does not read back as written or does not load into the same
// settings.

#include <QByteArray>
#include <QFile>
#include <QMessageLogContext>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/config.h"
#include "core/error.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"
#include "ui/app/settings_load.h"

namespace {

using zelmora::TConfig;
using zelmora::TError;

[[noreturn]] void Fail(int line, const std::string& detail = {}) {
  std::fprintf(stderr, "settings fuzz check failed at line %d %s\n", line, detail.c_str());
  std::abort();
}

// A macro for the line number: clang 14 has no std::source_location.
#define REQUIRE(condition) ((condition) ? void() : Fail(__LINE__))

constexpr zelmora::TWorkArea kWorkArea{1920, 1040};

// Every value the save writes, as the settings object and its controls
// hold it.
struct TStoredValues {
  int Tempo;
  std::string BeatPattern;
  int Volume;
  int VolumeRegularDif;
  int BellVolume;
  int Pan;
  bool BoostVolume;
  bool Bell;
  int MainLeft;
  int MainTop;
  std::string SoundAccent;
  std::string SoundRegular;
  int RegularSoundIndex;
  int AccentedSoundIndex;
  bool BeatIndicatorVisible;
  int BigPanelLeft;
  int BigPanelTop;
  int BigPanelWidth;
  int BigPanelHeight;
  int Hue;
  int VisualOffset;
  bool operator==(const TStoredValues&) const = default;
};

TStoredValues StoredValues(const TConfig& config) {
  const zelmora::TConfigControls& controls = config.Controls;
  return {config.Tempo,
          config.BeatPattern,
          config.Volume,
          config.VolumeRegularDif,
          config.BellVolume,
          config.Pan,
          config.BoostVolume,
          config.Bell,
          config.MainLeft,
          config.MainTop,
          controls.OpenDialogAcc->Value(),
          controls.OpenDialogReg->Value(),
          controls.sComboBoxReg->Value(),
          controls.sComboBoxAcc->Value(),
          controls.mnuBeatIndicator->Value(),
          config.BigPanelLeft,
          config.BigPanelTop,
          config.BigPanelWidth,
          config.BigPanelHeight,
          controls.strkbHue->Value(),
          config.VisualOffset};
}

// Key and text of every saved value: integers in decimal, flags as 1 or 0.
std::vector<std::pair<QString, std::string>> SavedTexts(const TStoredValues& v) {
  const auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
  using std::to_string;
  return {{"Tempo", to_string(v.Tempo)},
          {"BeatPattern", v.BeatPattern},
          {"Volume", to_string(v.Volume)},
          {"Volume Regular Dif", to_string(v.VolumeRegularDif)},
          {"Bell Volume", to_string(v.BellVolume)},
          {"Pan", to_string(v.Pan)},
          {"Boost Volume", flag(v.BoostVolume)},
          {"Bell", flag(v.Bell)},
          {"MainLeft", to_string(v.MainLeft)},
          {"MainTop", to_string(v.MainTop)},
          {"Sound Accent", v.SoundAccent},
          {"Sound Regular", v.SoundRegular},
          {"Regular Sound Index", to_string(v.RegularSoundIndex)},
          {"Accented Sound Index", to_string(v.AccentedSoundIndex)},
          {"BeatIndicatorVisible", flag(v.BeatIndicatorVisible)},
          {"BigPanelLeft", to_string(v.BigPanelLeft)},
          {"BigPanelTop", to_string(v.BigPanelTop)},
          {"BigPanelWidth", to_string(v.BigPanelWidth)},
          {"BigPanelHeight", to_string(v.BigPanelHeight)},
          {"Hue", to_string(v.Hue)},
          {"Visual Offset", to_string(v.VisualOffset)}};
}

// One folder for every input: making one per input would cost more than
// the load itself.
const QTemporaryDir& Folder() {
  static const QTemporaryDir folder;
  if (!folder.isValid()) {
    Fail(__LINE__, "no temporary folder");
  }
  return folder;
}

// Qt caches settings files by name and reads a cached one again only when
// its size or time has changed, which two files written within the same
// millisecond need not show. So every file read gets a name never used.
QString UnusedPath() {
  static unsigned long long count = 0;
  return Folder().filePath(QStringLiteral("settings-%1.ini").arg(++count));
}

void CheckRanges(const TConfig& config) {
  REQUIRE(config.Tempo >= TConfig::kMinTempo && config.Tempo <= TConfig::kMaxTempo);
  REQUIRE(config.Volume >= TConfig::kSilence && config.Volume <= 0);
  REQUIRE(config.VolumeRegularDif >= TConfig::kSilence && config.VolumeRegularDif <= 0);
  REQUIRE(config.VisualOffset >= TConfig::kMinVisualOffset &&
          config.VisualOffset <= TConfig::kMaxVisualOffset);
  // The practice tools: each value is its own clamp's fixed point.
  const zelmora::TPracticeSettings& p = config.Practice;
  for (const auto& [value, clamp] : {std::pair{p.Subdivision.load(), &zelmora::ClampSubdivision},
                                     {p.Swing.load(), &zelmora::ClampSwing},
                                     {p.SubdivisionVolume.load(), &zelmora::ClampPracticeLevel},
                                     {p.LayerClicks.load(), &zelmora::ClampLayerClicks},
                                     {p.LayerVolume.load(), &zelmora::ClampPracticeLevel},
                                     {p.CountInBars.load(), &zelmora::ClampCountInBars},
                                     {p.TrainerStart.load(), &zelmora::ClampTrainerTempo},
                                     {p.TrainerTarget.load(), &zelmora::ClampTrainerTempo},
                                     {p.TrainerStep.load(), &zelmora::ClampTrainerStep},
                                     {p.TrainerEveryBars.load(), &zelmora::ClampTrainerEveryBars},
                                     {p.TrainerAtTarget.load(), &zelmora::ClampTrainerAtTarget},
                                     {p.GapPlayBars.load(), &zelmora::ClampGapPlayBars},
                                     {p.GapMuteBars.load(), &zelmora::ClampGapMuteBars},
                                     {p.GapRandomPercent.load(), &zelmora::ClampGapRandomPercent},
                                     {p.PracticeMinutes.load(), &zelmora::ClampPracticeMinutes}}) {
    REQUIRE(clamp(value) == value);
  }
}

// The only thing a load reports: a stored value of ours that is not a text.
void CheckReported(const std::string& message) {
  REQUIRE(message.starts_with("Invalid data type for '") && message.ends_with("'"));
}

// As the program starts: each step on its own, a failed one reported and
// the next one run all the same.
void LoadAsAtStartUp(TConfig& config, QSettings& settings) {
  zelmora::TSettingsLoad load(settings, CheckReported);
  try {
    load.LoadSettings(config);
  } catch (const TError& error) {
    CheckReported(error.what());
  }
  try {
    load.LoadVolumes(config);
  } catch (const TError& error) {
    CheckReported(error.what());
  }
}

// The save of the exit, through a store of its own over the same settings.
// Returns whether it wrote the file.
bool SaveAsAtExit(const TConfig& config, QSettings& settings) {
  zelmora::TLMDIniCtrl store(&settings);
  try {
    zelmora::SaveSettings(config, store);
    return true;
  } catch (const TError& error) {
    // The update names its first value.
    REQUIRE(std::string(error.what()) == "Failed to set data for 'Tempo'");
    return false;
  }
}

// Reads the saved file as a stranger would, then loads it as the next run
// does: it holds nothing but texts now, so the load cannot fail.
void CheckSavedFile(const QString& path, const TStoredValues& saved) {
  QSettings settings(path, QSettings::IniFormat);
  REQUIRE(settings.status() == QSettings::NoError);
  for (const auto& [key, text] : SavedTexts(saved)) {
    const QVariant value = settings.value(QStringLiteral("Zelmora/") + key);
    REQUIRE(value.typeId() == QMetaType::QString && value.toString().toStdString() == text);
  }

  TConfig next;
  next.Controls.WorkArea->SetValue(kWorkArea);
  zelmora::TLMDIniCtrl store(&settings);
  try {
    zelmora::LoadSettings(next, store);
    zelmora::LoadVolumes(next, store);
  } catch (const TError& error) {
    Fail(__LINE__, error.what());
  }
  REQUIRE(StoredValues(next) == saved);
}

}  // namespace

// Qt's warnings about odd stored values would only slow the fuzzer down.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
  QString path = UnusedPath();
  {
    QFile file(path);
    REQUIRE(file.open(QIODevice::WriteOnly) && file.write(input) == input.size());
  }

  TConfig config;
  config.Controls.WorkArea->SetValue(kWorkArea);
  bool saved = false;
  {
    QSettings settings(path, QSettings::IniFormat);
    LoadAsAtStartUp(config, settings);
    CheckRanges(config);
    saved = SaveAsAtExit(config, settings);
  }
  REQUIRE(saved);

  // The same file under a name Qt has not cached.
  const QString savedPath = UnusedPath();
  std::error_code error;
  std::filesystem::create_hard_link(path.toStdString(), savedPath.toStdString(), error);
  REQUIRE(!error);
  CheckSavedFile(savedPath, StoredValues(config));

  QFile::remove(path);
  QFile::remove(savedPath);
  return 0;
}
