#include "store/ini_ctrl.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QTemporaryFile>
#include <QVariantMap>

#include <filesystem>
#include <system_error>

#include "core/error.h"
#include "store/setting_text.h"

namespace zelmora {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Replaces `to` with `from` in one step.
bool RenameOver(const QString& from, const QString& to) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                          std::filesystem::path(to.toStdU16String()), error);
  return !error;
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

std::string InvalidDataTypeText(std::string_view name) {
  return "Invalid data type for '" + std::string(name) + "'";
}

int TLMDIniCtrl::ReadInteger(std::string_view section, std::string_view name, int defaultValue) {
  const std::optional<std::string> text = ReadText(section, name);
  if (!text) {
    return defaultValue;
  }
  return IntegerFromText(*text, defaultValue);
}

bool TLMDIniCtrl::ReadBool(std::string_view section, std::string_view name, bool defaultValue) {
  const std::optional<std::string> text = ReadText(section, name);
  return text ? FlagFromText(*text, defaultValue) : defaultValue;
}

std::string TLMDIniCtrl::ReadString(std::string_view section, std::string_view name,
                                    std::string_view defaultValue) {
  const std::optional<std::string> text = ReadText(section, name);
  return text ? TextBeforeNul(*text) : std::string(defaultValue);
}

void TLMDIniCtrl::WriteInteger(std::string_view section, std::string_view name, int value) {
  WriteText(section, name, IntegerText(value));
}

void TLMDIniCtrl::WriteBool(std::string_view section, std::string_view name, bool value) {
  WriteText(section, name, FlagText(value));
}

void TLMDIniCtrl::WriteString(std::string_view section, std::string_view name,
                              std::string_view value) {
  WriteText(section, name, TextBeforeNul(value));
}

std::string TLMDIniCtrl::ResolveSection(std::string_view section) {
  if (!section.empty()) {
    rememberedSection_ = section;
  }
  return rememberedSection_.empty() ? std::string("Common") : rememberedSection_;
}

std::optional<std::string> TLMDIniCtrl::ReadText(std::string_view section, std::string_view name) {
  const std::string resolved = ResolveSection(section);
  if (const auto own = written_.find(resolved + "/" + std::string(name)); own != written_.end()) {
    return own->second;
  }
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
    throw TError(InvalidDataTypeText(name));
  }
  return stored.toString().toStdString();
}

void TLMDIniCtrl::WriteText(std::string_view section, std::string_view name,
                            std::string_view text) {
  pending_.push_back({ResolveSection(section), std::string(name), std::string(text)});
  if (!updating_) {
    WritePending();
  }
}

void TLMDIniCtrl::BeginUpdate() {
  updating_ = true;
}

void TLMDIniCtrl::EndUpdate() {
  updating_ = false;
  WritePending();
}

void TLMDIniCtrl::WritePending() {
  std::vector<TPendingValue> values;
  values.swap(pending_);
  if (values.empty()) {
    return;
  }
  if (!MakeFolder()) {
    throw TError("Failed to create key " + values.front().Section);
  }
  Replace(values);
  for (const TPendingValue& value : values) {
    written_[value.Section + "/" + value.Name] = value.Text;
  }
}

void TLMDIniCtrl::Replace(const std::vector<TPendingValue>& values) {
  const std::string failed = "Failed to set data for '" + values.front().Name + "'";
#ifdef Q_OS_WIN
  if (settings_->format() == QSettings::NativeFormat) {
    // The registry has no file to replace and no format to misread.
    for (const TPendingValue& value : values) {
      settings_->setValue(ToQString(value.Section + "/" + value.Name), ToQString(value.Text));
    }
    settings_->sync();
    if (settings_->status() != QSettings::NoError) {
      throw TError(failed);
    }
    return;
  }
#endif
  // The new file is written beside the old one by settings of its own,
  // read back under a name no settings object has seen, and only then
  // renamed over the old one. The settings object the values were read
  // through cannot tell whether a write worked: its status keeps the first
  // error it met, so a line of the old file it could not parse hides every
  // later failure. And a disk that fills up half-way through the write can
  // leave a cut-off file that is reported as written.
  const QString path = settings_->fileName();
  QTemporaryFile staged(path + QStringLiteral(".XXXXXX"));
  QTemporaryFile checked(path + QStringLiteral(".XXXXXX"));
  if (!staged.open() || !checked.open()) {
    throw TError(failed);
  }
  staged.close();
  checked.close();
  if (QFileInfo::exists(path)) {
    staged.setPermissions(QFileInfo(path).permissions());
  }

  // The file's other values are carried over as Qt reads them; ours are
  // set after them, so that a key of the file that Qt takes for one of ours
  // ("BeatPattern/") cannot win over it.
  QVariantMap ours;
  for (const auto& [key, text] : written_) {
    ours.insert(ToQString(key), ToQString(text));
  }
  for (const TPendingValue& value : values) {
    ours.insert(ToQString(value.Section + "/" + value.Name), ToQString(value.Text));
  }
  QStringList keys;
  {
    settings_->sync();  // reads the file again if anyone has changed it
    QSettings next(staged.fileName(), settings_->format());
    for (const QString& key : settings_->allKeys()) {
      next.setValue(key, settings_->value(key));
    }
    for (auto entry = ours.cbegin(); entry != ours.cend(); ++entry) {
      next.setValue(entry.key(), entry.value());
    }
    keys = next.allKeys();
    next.sync();
    if (next.status() != QSettings::NoError) {
      throw TError(failed);
    }
  }
  if (!RenameOver(staged.fileName(), checked.fileName())) {
    throw TError(failed);
  }
  {
    // Every key must be there again, and our values exactly: a file cut
    // off loses its last keys. Some values of others Qt does not read back
    // as it wrote them (a list item starting with "@"); those are as Qt
    // keeps them.
    const QSettings back(checked.fileName(), settings_->format());
    for (const QString& key : keys) {
      if (!back.contains(key)) {
        throw TError(failed);
      }
    }
    for (auto entry = ours.cbegin(); entry != ours.cend(); ++entry) {
      if (back.value(entry.key()) != entry.value()) {
        throw TError(failed);
      }
    }
  }
  if (!RenameOver(checked.fileName(), path)) {
    throw TError(failed);
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
