#include "store/preset_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>

#include <cmath>
#include <limits>

#include "core/error.h"

namespace zelmora {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject PresetObject(const TPreset& preset) {
  QJsonObject settings;
  for (const auto& [key, text] : preset.Settings) {
    settings.insert(ToQString(key), ToQString(text));
  }
  return {{"name", ToQString(preset.Name)}, {"settings", settings}};
}

QJsonObject SetlistObject(const TSetlist& setlist) {
  QJsonArray presets;
  for (const std::string& name : setlist.Presets) {
    presets.append(ToQString(name));
  }
  return {{"name", ToQString(setlist.Name)}, {"presets", presets}};
}

// The member of that name, which must be of that type; throws TError
// naming what is wrong.
QJsonValue Member(const QJsonObject& object, const char* name, QJsonValue::Type type,
                  const char* what) {
  QJsonValue value = object.value(QLatin1String(name));
  if (value.isUndefined()) {
    throw TError(std::string("There is no \"") + name + "\"");
  }
  if (value.type() != type) {
    throw TError(std::string("\"") + name + "\" is not " + what);
  }
  return value;
}

std::string Text(const QJsonObject& object, const char* name) {
  return Member(object, name, QJsonValue::String, "a text").toString().toStdString();
}

QJsonArray List(const QJsonObject& object, const char* name) {
  return Member(object, name, QJsonValue::Array, "a list").toArray();
}

QJsonObject Object(const QJsonValue& value, const char* what) {
  if (!value.isObject()) {
    throw TError(std::string(what) + " is not a JSON object");
  }
  return value.toObject();
}

TPresetSettings Settings(const QJsonObject& preset) {
  TPresetSettings settings;
  const QJsonObject object = Member(preset, "settings", QJsonValue::Object, "an object").toObject();
  for (auto entry = object.begin(); entry != object.end(); ++entry) {
    if (!entry.value().isString()) {
      throw TError("The setting \"" + entry.key().toStdString() + "\" is not a text");
    }
    settings.emplace(entry.key().toStdString(), entry.value().toString().toStdString());
  }
  return settings;
}

// Builds the library through its own operations, so a file breaks none of
// its rules; each throws TError with the reason.
TPresetLibrary Library(const QJsonObject& root) {
  TPresetLibrary library;
  for (const QJsonValue value : List(root, "presets")) {
    const QJsonObject preset = Object(value, "A preset");
    library.AddPreset(Text(preset, "name"), Settings(preset));
  }
  // A file written by hand may have no setlists yet.
  const QJsonArray setlists =
      root.contains(QLatin1String("setlists")) ? List(root, "setlists") : QJsonArray();
  for (const QJsonValue value : setlists) {
    const QJsonObject setlist = Object(value, "A setlist");
    const std::string name = Text(setlist, "name");
    library.AddSetlist(name);
    for (const QJsonValue preset : List(setlist, "presets")) {
      if (!preset.isString()) {
        throw TError("A preset of the setlist '" + name + "' is not a text");
      }
      library.AddToSetlist(name, preset.toString().toStdString());
    }
  }
  // Only where the musician was: a place that has gone does not make the
  // file damaged, it is just not kept.
  if (const QJsonValue current = root.value(QLatin1String("current")); current.isObject()) {
    const QJsonObject place = current.toObject();
    const std::string setlist = place.value(QLatin1String("setlist")).toString().toStdString();
    const std::string preset = place.value(QLatin1String("preset")).toString().toStdString();
    try {
      library.SetCurrent(setlist, preset);
    } catch (const TError&) {
      if (library.HasSetlist(setlist)) {
        library.SetCurrent(setlist, {});
      }
    }
  }
  return library;
}

// The file's version, or a TError when it has none that makes sense.
int Version(const QJsonObject& root) {
  const double version = Member(root, "version", QJsonValue::Double, "a number").toDouble();
  if (version < 1 || version > std::numeric_limits<int>::max() || std::floor(version) != version) {
    throw TError("\"version\" is not a version number");
  }
  return static_cast<int>(version);
}

}  // namespace

QByteArray PresetJson(const TPresetLibrary& library) {
  QJsonArray presets;
  for (const TPreset& preset : library.Presets()) {
    presets.append(PresetObject(preset));
  }
  QJsonArray setlists;
  for (const TSetlist& setlist : library.Setlists()) {
    setlists.append(SetlistObject(setlist));
  }
  const TPresetPlace& current = library.Current();
  const QJsonObject root{
      {"version", kPresetFileVersion},
      {"presets", presets},
      {"setlists", setlists},
      {"current",
       QJsonObject{{"setlist", ToQString(current.Setlist)}, {"preset", ToQString(current.Preset)}}},
  };
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TPresetJson ParsePresetJson(const QByteArray& json) {
  TPresetJson parsed;
  QJsonParseError error{};
  const QJsonDocument document = QJsonDocument::fromJson(json, &error);
  if (document.isNull()) {
    parsed.Outcome = TPresetJson::TOutcome::Damaged;
    QString problem = error.errorString();
    if (!problem.isEmpty()) {
      problem[0] = problem[0].toUpper();  // Qt's message is not a sentence
    }
    parsed.Problem = problem.toStdString() + " at byte " + std::to_string(error.offset);
    return parsed;
  }
  try {
    if (!document.isObject()) {
      throw TError("The text is not a JSON object");
    }
    const QJsonObject root = document.object();
    parsed.Version = Version(root);
    if (parsed.Version > kPresetFileVersion) {
      parsed.Outcome = TPresetJson::TOutcome::Newer;
      return parsed;
    }
    parsed.Library = Library(root);
  } catch (const TError& problem) {
    parsed.Outcome = TPresetJson::TOutcome::Damaged;
    parsed.Problem = problem.what();
  }
  return parsed;
}

}  // namespace zelmora
