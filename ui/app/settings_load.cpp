#include "ui/app/settings_load.h"

#include <QSettings>

#include <utility>

#include "core/error.h"
#include "store/config_io.h"
#include "store/ini_ctrl.h"
#include "store/setting_keys.h"

namespace zelmora {

TSettingsLoad::TSettingsLoad(QSettings& settings, TReport report)
    : settings_(settings),
      report_(std::move(report)),
      store_(std::make_unique<TLMDIniCtrl>(&settings)) {}

TSettingsLoad::~TSettingsLoad() = default;

TLMDIniCtrl& TSettingsLoad::Store() {
  return clean_ ? *clean_ : *store_;
}

void TSettingsLoad::LoadSettings(TConfig& config) {
  try {
    zelmora::LoadSettings(config, Store());
  } catch (const TError& error) {
    report_(error.what());
    MakeCleanCopy(error.what());
    zelmora::LoadSettings(config, *clean_);
  }
}

void TSettingsLoad::LoadVolumes(TConfig& config) {
  try {
    zelmora::LoadVolumes(config, Store());
  } catch (const TError& error) {
    report_(error.what());
    MakeCleanCopy(error.what());
    zelmora::LoadVolumes(config, *clean_);
  }
}

void TSettingsLoad::MakeCleanCopy(const std::string& reported) {
  if (clean_) {
    return;
  }
  // Every stored text, in its section; whatever is not a text stays out,
  // and each such value of ours is reported once.
  cleanSettings_ = std::make_unique<QSettings>(cleanFolder_.filePath(QStringLiteral("clean.ini")),
                                               QSettings::IniFormat);
  const QString ours =
      QString::fromUtf8(kSettingsSection.data(), static_cast<qsizetype>(kSettingsSection.size())) +
      QLatin1Char('/');
  for (const QString& key : settings_.allKeys()) {
    const QVariant value = settings_.value(key);
    if (value.typeId() == QMetaType::QString) {
      cleanSettings_->setValue(key, value);
      continue;
    }
    if (key.startsWith(ours)) {
      const std::string message = InvalidDataTypeText(key.mid(ours.size()).toStdString());
      if (message != reported) {
        report_(message);
      }
    }
  }
  clean_ = std::make_unique<TLMDIniCtrl>(cleanSettings_.get());
  // The section LoadSettings would have named: LoadVolumes reads from it.
  clean_->ReadString(kSettingsSection, "Tempo", "");
}

}  // namespace zelmora
