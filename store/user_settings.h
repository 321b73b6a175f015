#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace zelmora {

// The current user's settings: on Windows the registry key
// HKEY_CURRENT_USER\SOFTWARE (the store's section "Zelmora" is its subkey),
// elsewhere the INI file $XDG_CONFIG_HOME/Zelmora/Zelmora.ini (by default
// ~/.config/Zelmora/Zelmora.ini).
std::unique_ptr<QSettings> OpenUserSettings();

// The folder for the user's other files: the settings file's
// ($XDG_CONFIG_HOME/Zelmora); on Windows, where the settings are in the
// registry, the folder an INI file of them would be in.
// Thread: any
QString UserSettingsFolder();

}  // namespace zelmora
