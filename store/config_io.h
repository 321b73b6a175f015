#pragma once

namespace zelmora {

class TConfig;
class TLMDIniCtrl;

// Start-up fills the settings object in two steps: LoadSettings before the
// voices exist, LoadVolumes once they do (setting the pan reaches them).
// LoadVolumes reads from the section LoadSettings named. Missing values
// take their defaults; a value that is not a text stops the load with a
// TError, and the settings after it keep what they had.
void LoadSettings(TConfig& config, TLMDIniCtrl& store);
void LoadVolumes(TConfig& config, TLMDIniCtrl& store);

// Writes every stored setting in one replacement of the file: afterwards it
// holds all of the new values or, when the write fails with a TError, all
// of the old ones. Only reads the settings object.
void SaveSettings(const TConfig& config, TLMDIniCtrl& store);

}  // namespace zelmora
