#include "store/user_settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QString>

namespace zelmora {
namespace {

std::unique_ptr<QSettings> OpenUserIniFile() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Zelmora"), QStringLiteral("Zelmora"));
}

}  // namespace

std::unique_ptr<QSettings> OpenUserSettings() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE"),
                                     QSettings::NativeFormat);
#else
  return OpenUserIniFile();
#endif
}

QString UserSettingsFolder() {
  return QFileInfo(OpenUserIniFile()->fileName()).absolutePath();
}

}  // namespace zelmora
