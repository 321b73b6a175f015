#pragma once

#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>

class QSettings;

namespace zelmora {

class TConfig;
class TLMDIniCtrl;

// The start-up load of the stored settings, in its two steps.
//
// A stored value that is not a text stops the store's load with "Invalid
// data type for '<name>'". Stopping there would leave the settings after it
// unloaded, and the save at exit would then overwrite the user's other
// stored settings with that half-loaded state. So the error is reported and
// the step is run again over a copy of the stored values without the
// unreadable ones: those take their defaults, every other setting its
// stored value, and the save at exit writes a clean file. Every unreadable
// value of ours is reported, each in the store's own words.
class TSettingsLoad {
 public:
  using TReport = std::function<void(const std::string& message)>;

  // `settings` must outlive this object.
  TSettingsLoad(QSettings& settings, TReport report);
  ~TSettingsLoad();
  TSettingsLoad(const TSettingsLoad&) = delete;
  TSettingsLoad& operator=(const TSettingsLoad&) = delete;

  void LoadSettings(TConfig& config);
  // After LoadSettings, once the voices exist.
  void LoadVolumes(TConfig& config);

 private:
  // The store for the next read: the user's, or the cleaned copy.
  TLMDIniCtrl& Store();
  void MakeCleanCopy(const std::string& reported);

  QSettings& settings_;
  TReport report_;
  std::unique_ptr<TLMDIniCtrl> store_;
  QTemporaryDir cleanFolder_;
  std::unique_ptr<QSettings> cleanSettings_;
  std::unique_ptr<TLMDIniCtrl> clean_;
};

}  // namespace zelmora
