#include "store/user_settings.h"

#include <QSettings>
#include <QString>

namespace zelmora {

std::unique_ptr<QSettings> OpenUserSettings() {
#ifdef Q_OS_WIN
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE"),
                                     QSettings::NativeFormat);
#else
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("Zelmora"), QStringLiteral("Zelmora"));
#endif
}

}  // namespace zelmora
