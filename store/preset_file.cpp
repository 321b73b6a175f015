#include "store/preset_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <filesystem>
#include <system_error>
#include <utility>

#include "core/error.h"
#include "store/preset_json.h"
#include "store/user_settings.h"

namespace zelmora {
namespace {

std::string Shown(const QString& path) {
  return QDir::toNativeSeparators(path).toStdString();
}

std::string NewerVersionText(const QString& path, int version) {
  return Shown(path) + " was written by a newer version of Zelmora (presets file version " +
         std::to_string(version) + ")";
}

constexpr const char* kNotSaved =
    "; it is left as it is, and the presets are not saved in this run";

// The file as it is on disk, or the reason it cannot be read.
struct TFileRead {
  QByteArray Bytes;
  std::string Problem;
};

TFileRead ReadWhole(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {{}, file.errorString().toStdString()};
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    return {{}, file.errorString().toStdString()};
  }
  return {std::move(bytes), {}};
}

TError CannotWrite(const QString& path, const std::string& reason) {
  return TError("Cannot write " + Shown(path) + ": " + reason);
}

// The new file is written beside the old one and renamed over it; until
// commit() the old one stays, and a QSaveFile that goes uncommitted takes
// the new one with it. Unbuffered, because a disk that fills up cuts the
// last write short without an error: buffered, that write would happen
// inside commit(), which would then rename the cut-off file over the old.
void WriteInOneStep(const QString& path, const QByteArray& bytes) {
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
    throw CannotWrite(path, "the folder cannot be made");
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    throw CannotWrite(path, file.errorString().toStdString());
  }
  if (file.write(bytes) != bytes.size()) {
    throw CannotWrite(path, "only part of it could be written");
  }
  if (!file.commit()) {
    throw CannotWrite(path, file.errorString().toStdString());
  }
}

// Renames `from` to `to` in one step, replacing a file of that name.
bool MoveOver(const QString& from, const QString& to) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                          std::filesystem::path(to.toStdU16String()), error);
  return !error;
}

}  // namespace

QString PresetFilePath() {
  return UserSettingsFolder() + QStringLiteral("/presets.json");
}

TPresetFile::TLoaded TPresetFile::Load() {
  mayWrite_ = false;
  if (!QFileInfo::exists(path_)) {
    mayWrite_ = true;
    return {};
  }
  const TFileRead read = ReadWhole(path_);
  if (!read.Problem.empty()) {
    return {{}, "Cannot read " + Shown(path_) + " (" + read.Problem + ")" + kNotSaved};
  }
  TPresetJson parsed = ParsePresetJson(read.Bytes);
  switch (parsed.Outcome) {
    case TPresetJson::TOutcome::Read:
      mayWrite_ = true;
      return {std::move(parsed.Library), {}};
    case TPresetJson::TOutcome::Newer:
      return {{}, NewerVersionText(path_, parsed.Version) + kNotSaved};
    case TPresetJson::TOutcome::Damaged:
      break;
  }
  const QString aside = path_ + QStringLiteral(".bad");
  const std::string damaged = "The presets file " + Shown(path_) + " is damaged: " + parsed.Problem;
  if (!MoveOver(path_, aside)) {
    return {{}, damaged + ". It cannot be moved aside" + kNotSaved};
  }
  mayWrite_ = true;
  return {{}, damaged + ". It is kept as " + Shown(aside) + ", and the presets start empty"};
}

void TPresetFile::Save(const TPresetLibrary& library) const {
  if (!mayWrite_) {
    throw TError("The presets are not saved: " + Shown(path_) + " is kept as it was found");
  }
  WriteInOneStep(path_, PresetJson(library));
}

void ExportSetlist(const TPresetLibrary& library, std::string_view setlist, const QString& path) {
  WriteInOneStep(path, PresetJson(SetlistAlone(library, setlist)));
}

std::vector<std::string> ImportPresets(TPresetLibrary& library, const QString& path,
                                       const TPresetConflictQuestion& ask) {
  const TFileRead read = ReadWhole(path);
  if (!read.Problem.empty()) {
    throw TError("Cannot read " + Shown(path) + " (" + read.Problem + ")");
  }
  const TPresetJson parsed = ParsePresetJson(read.Bytes);
  switch (parsed.Outcome) {
    case TPresetJson::TOutcome::Read:
      break;
    case TPresetJson::TOutcome::Newer:
      throw TError(NewerVersionText(path, parsed.Version));
    case TPresetJson::TOutcome::Damaged:
      throw TError(Shown(path) + " is not a presets file: " + parsed.Problem);
  }
  return MergePresets(library, parsed.Library, ask);
}

}  // namespace zelmora
