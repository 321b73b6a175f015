#pragma once

// The Presets dialog over a session of its own: a preset file in a
// temporary folder, a settings object, a metronome on a silent output (it
// stays stopped, so a recall applies at once), and scripted answers for
// every box the dialog asks in, so that nothing blocks.

#include <QListWidget>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/metronome.h"
#include "store/preset_file.h"
#include "store/preset_session.h"
#include "tests/core/quiet_metronome.h"
#include "ui/presets/preset_questions.h"
#include "ui/presets/presets_dialog.h"

namespace zelmora::test {

class TScriptedQuestions final : public TPresetQuestions {
 public:
  std::optional<QString> AskName(const QString& /*title*/, const QString& /*label*/,
                                 const QString& proposed) override {
    proposedNames << proposed;
    return name;
  }
  bool Confirm(const QString& /*title*/, const QString& text) override {
    confirmations << text;
    return yes;
  }
  std::optional<QString> ChooseSetlist(const QString& /*preset*/,
                                       const QStringList& setlists) override {
    offeredSetlists = setlists;
    return setlist;
  }
  std::optional<QString> ChooseImportFile() override { return file; }
  std::optional<QString> ChooseExportFile(const QString& proposedName) override {
    proposedFile = proposedName;
    return file;
  }
  std::optional<TPresetConflict> AskConflict(const TPreset& ours,
                                             const TPreset& /*imported*/) override {
    conflicts << QString::fromStdString(ours.Name);
    return conflict;
  }

  // The answers.
  std::optional<QString> name;
  bool yes = true;
  std::optional<QString> setlist;
  std::optional<QString> file;
  std::optional<TPresetConflict> conflict;
  // What was asked.
  QStringList proposedNames;
  QStringList confirmations;
  QStringList offeredSetlists;
  QString proposedFile;
  QStringList conflicts;
};

inline TPresetSettings AtTempo(int bpm) {
  return {{"Tempo", std::to_string(bpm)}};
}

inline QStringList Texts(const std::vector<std::string>& names) {
  QStringList texts;
  for (const std::string& name : names) {
    texts << QString::fromStdString(name);
  }
  return texts;
}

struct TPresetsRig {
  TPresetsRig() {
    session.Load();
    dialog.SetQuestions(&questions);
    dialog.SetErrorReporter([this](const std::string& message) { errors.push_back(message); });
  }
  TPresetsRig(const TPresetsRig&) = delete;
  TPresetsRig& operator=(const TPresetsRig&) = delete;

  // "All presets": Intro (90 bpm), Ballad (70), Rock (140); the setlists
  // "Gig": Rock, Intro and "Rehearsal", empty.
  void Seed() {
    session.Edit([](TPresetLibrary& library) {
      library.AddPreset("Intro", AtTempo(90));
      library.AddPreset("Ballad", AtTempo(70));
      library.AddPreset("Rock", AtTempo(140));
      library.AddSetlist("Gig");
      library.AddToSetlist("Gig", "Rock");
      library.AddToSetlist("Gig", "Intro");
      library.AddSetlist("Rehearsal");
    });
  }

  QListWidget* List(const char* name) { return dialog.findChild<QListWidget*>(name); }
  QListWidget* Setlists() { return List("lstSetlists"); }
  QListWidget* Presets() { return List("lstPresets"); }
  template <typename T>
  T* Find(const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
  }

  // Selects a name as a click would.
  static void Select(QListWidget* list, const QString& name) {
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    list->setCurrentItem(found.isEmpty() ? nullptr : found.constFirst());
  }
  void Show(const QString& setlist, const QString& preset) {
    Select(Setlists(), setlist);
    Select(Presets(), preset);
  }
  static QStringList Shown(const QListWidget* list) {
    QStringList names;
    for (int row = 0; row < list->count(); ++row) {
      names << list->item(row)->text();
    }
    return names;
  }
  static QString Selected(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
  }
  // The rows in bold.
  static QStringList Marked(const QListWidget* list) {
    QStringList names;
    for (int row = 0; row < list->count(); ++row) {
      if (list->item(row)->font().bold()) {
        names << list->item(row)->text();
      }
    }
    return names;
  }

  QStringList InLibrary(const char* setlist) const {
    return Texts(session.Library().SetlistPresets(setlist));
  }
  // The library as the preset file holds it now.
  TPresetLibrary Stored() const { return TPresetFile(path).Load().Library; }
  bool StoredAsShown() const {
    const TPresetLibrary stored = Stored();
    const TPresetLibrary& library = session.Library();
    return stored.Presets() == library.Presets() && stored.Setlists() == library.Setlists() &&
           stored.Current() == library.Current();
  }

  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("presets.json"));
  TConfig config;
  TQuietMetronome quiet{config};
  TMetronome& metronome = quiet.metronome;
  std::vector<std::string> reports;
  TPresetSession session{
      {config, metronome, {}, [this](const std::string& message) { reports.push_back(message); }},
      path};
  TScriptedQuestions questions;
  TfrmPresets dialog{session, nullptr};
  std::vector<std::string> errors;
};

}  // namespace zelmora::test
