#include "store/ini_ctrl.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QString>

#include "core/error.h"
#include "core/int_text.h"

namespace zelmora {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string BeforeNul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

// Keeps the settings in one group for the length of an operation, also when
// it throws.
class TGroupScope {
 public:
  TGroupScope(QSettings& settings, const std::string& group) : settings_(settings) {
    settings_.beginGroup(ToQString(group));
  }
  ~TGroupScope() { settings_.endGroup(); }
  TGroupScope(const TGroupScope&) = delete;
  TGroupScope& operator=(const TGroupScope&) = delete;

 private:
  QSettings& settings_;
};

}  // namespace

int TLMDIniCtrl::ReadInteger(std::string_view section, std::string_view name, int defaultValue) {
  const std::optional<std::string> text = ReadText(section, name);
  if (!text) {
    return defaultValue;
  }
  return TextToInt32(*text).value_or(defaultValue);
}

bool TLMDIniCtrl::ReadBool(std::string_view section, std::string_view name, bool defaultValue) {
  return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

std::string TLMDIniCtrl::ReadString(std::string_view section, std::string_view name,
                                    std::string_view defaultValue) {
  const std::optional<std::string> text = ReadText(section, name);
  return text ? BeforeNul(*text) : std::string(defaultValue);
}

void TLMDIniCtrl::WriteInteger(std::string_view section, std::string_view name, int value) {
  WriteText(section, name, std::to_string(value));
}

void TLMDIniCtrl::WriteBool(std::string_view section, std::string_view name, bool value) {
  WriteText(section, name, value ? "1" : "0");
}

void TLMDIniCtrl::WriteString(std::string_view section, std::string_view name,
                              std::string_view value) {
  WriteText(section, name, BeforeNul(value));
}

std::string TLMDIniCtrl::ResolveSection(std::string_view section) {
  if (!section.empty()) {
    rememberedSection_ = section;
  }
  return rememberedSection_.empty() ? std::string("Common") : rememberedSection_;
}

std::optional<std::string> TLMDIniCtrl::ReadText(std::string_view section, std::string_view name) {
  const std::string resolved = ResolveSection(section);
  const QString key = ToQString(name);
  QVariant stored;
  {
    TGroupScope group(*settings_, resolved);
    if (!settings_->contains(key)) {
      return std::nullopt;
    }
    stored = settings_->value(key);
  }
  // QSettings turns "1, 2" into a list and "@Variant(...)" into whatever it
  // holds; the registry has number and binary types. None is a text.
  if (stored.typeId() != QMetaType::QString) {
    throw TError("Invalid data type for '" + std::string(name) + "'");
  }
  return stored.toString().toStdString();
}

void TLMDIniCtrl::WriteText(std::string_view section, std::string_view name,
                            std::string_view text) {
  const std::string resolved = ResolveSection(section);
  if (!MakeFolder()) {
    throw TError("Failed to create key " + resolved);
  }
  {
    TGroupScope group(*settings_, resolved);
    settings_->setValue(ToQString(name), ToQString(text));
  }
  // QSettings replaces the file atomically (a temporary file renamed over
  // it), so a failed write leaves the old file whole. Its status keeps the
  // first error it met: a FormatError from an unreadable old file is not a
  // write failure, and it would hide a later AccessError.
  settings_->sync();
  if (settings_->status() == QSettings::AccessError) {
    throw TError("Failed to set data for '" + std::string(name) + "'");
  }
}

bool TLMDIniCtrl::MakeFolder() const {
#ifdef Q_OS_WIN
  if (settings_->format() == QSettings::NativeFormat) {
    return true;  // registry keys are created by the write itself
  }
#endif
  return QDir().mkpath(QFileInfo(settings_->fileName()).absolutePath());
}

}  // namespace zelmora
