#include <QListWidget>

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include "store/preset_file.h"
#include "ui/presets/name_list.h"
#include "ui/presets/presets_dialog.h"

namespace zelmora {
namespace {

QString Quoted(const std::string& name) {
  return QStringLiteral("'%1'").arg(QString::fromStdString(name));
}

// The user's answer "cancel" to a conflict of an import: ends the import,
// which then changes nothing. Not an error, so nothing is shown.
struct TImportCancelled {};

// A file name for an exported setlist: its name, without what a file name
// cannot hold.
QString ExportFileName(const std::string& setlist) {
  QString name = QString::fromStdString(setlist);
  for (const QChar unfit : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')}) {
    name.replace(unfit, QLatin1Char('-'));
  }
  return name + QStringLiteral(".json");
}

}  // namespace

void TfrmPresets::Run(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    reportError_(error.what());
  }
  ShowLibrary();
}

void TfrmPresets::SaveAsNew() {
  Run([this] {
    const std::optional<QString> name = questions_->AskName(
        QStringLiteral("Save as new preset"), QStringLiteral("Name of the new preset:"),
        QString::fromStdString(session_.Library().UnusedPresetName("Preset")));
    if (!name) {
      return;
    }
    const TPresetSettings settings = session_.Capture();
    const std::string setlist = shownSetlist_;
    const bool stored = StoredSetlistShown();
    std::string added;
    // The setup now is that preset: it becomes the current one.
    session_.Edit([&](TPresetLibrary& library) {
      added = library.AddPreset(name->toStdString(), settings).Name;
      if (stored) {
        library.AddToSetlist(setlist, added);
      }
      library.SetCurrent(setlist, added);
    });
    shownPreset_ = added;
  });
}

void TfrmPresets::SaveOver() {
  Run([this] {
    const std::string preset = shownPreset_;
    if (preset.empty() ||
        !questions_->Confirm(QStringLiteral("Save over preset"),
                             QStringLiteral("Give %1 the current setup?").arg(Quoted(preset)))) {
      return;
    }
    const TPresetSettings settings = session_.Capture();
    const std::string setlist = shownSetlist_;
    session_.Edit([&](TPresetLibrary& library) {
      library.OverwritePreset(preset, settings);
      library.SetCurrent(setlist, preset);
    });
  });
}

void TfrmPresets::Recall() {
  Run([this] {
    if (!shownPreset_.empty()) {
      session_.Recall(shownSetlist_, shownPreset_);
    }
  });
}

void TfrmPresets::RenamePreset() {
  Run([this] {
    const std::string preset = shownPreset_;
    if (preset.empty()) {
      return;
    }
    const std::optional<QString> name = questions_->AskName(
        QStringLiteral("Rename preset"), QStringLiteral("New name of %1:").arg(Quoted(preset)),
        QString::fromStdString(preset));
    if (!name) {
      return;
    }
    session_.Edit([&](TPresetLibrary& library) {
      library.RenamePreset(preset, name->toStdString());
      shownPreset_ = library.FindPreset(name->toStdString())->Name;
    });
  });
}

void TfrmPresets::DeletePreset() {
  Run([this] {
    const std::string preset = shownPreset_;
    if (preset.empty() ||
        !questions_->Confirm(QStringLiteral("Delete preset"),
                             QStringLiteral("Delete the preset %1? It goes from every setlist too.")
                                 .arg(Quoted(preset)))) {
      return;
    }
    session_.Edit([&](TPresetLibrary& library) { library.DeletePreset(preset); });
  });
}

void TfrmPresets::MovePreset(int from, int to) {
  Run([this, from, to] {
    const int rows = lstPresets->count();
    if (from < 0 || to < 0 || from >= rows || to >= rows || from == to) {
      return;
    }
    const std::string setlist = shownSetlist_;
    session_.Edit([&](TPresetLibrary& library) {
      shownPreset_ = library.SetlistPresets(setlist).at(static_cast<std::size_t>(from));
      library.MoveInSetlist(setlist, static_cast<std::size_t>(from), static_cast<std::size_t>(to));
    });
  });
}

void TfrmPresets::AddToSetlist() {
  Run([this] {
    const std::string preset = shownPreset_;
    if (preset.empty()) {
      return;
    }
    QStringList setlists;
    for (const TSetlist& setlist : session_.Library().Setlists()) {
      if (std::find(setlist.Presets.begin(), setlist.Presets.end(), preset) ==
          setlist.Presets.end()) {
        setlists << QString::fromStdString(setlist.Name);
      }
    }
    if (setlists.isEmpty()) {
      reportError_(Quoted(preset).toStdString() + " is already in every setlist");
      return;
    }
    const std::optional<QString> setlist =
        questions_->ChooseSetlist(QString::fromStdString(preset), setlists);
    if (!setlist) {
      return;
    }
    session_.Edit(
        [&](TPresetLibrary& library) { library.AddToSetlist(setlist->toStdString(), preset); });
  });
}

void TfrmPresets::RemoveFromSetlist() {
  Run([this] {
    if (shownPreset_.empty() || !StoredSetlistShown()) {
      return;
    }
    const std::string setlist = shownSetlist_;
    const std::string preset = shownPreset_;
    session_.Edit([&](TPresetLibrary& library) { library.RemoveFromSetlist(setlist, preset); });
  });
}

void TfrmPresets::NewSetlist() {
  Run([this] {
    const std::optional<QString> name = questions_->AskName(
        QStringLiteral("New setlist"), QStringLiteral("Name of the new setlist:"),
        QString::fromStdString(session_.Library().UnusedSetlistName("Setlist")));
    if (!name) {
      return;
    }
    session_.Edit([&](TPresetLibrary& library) {
      library.AddSetlist(name->toStdString());
      shownSetlist_ = library.Setlists().back().Name;
    });
    shownPreset_.clear();
  });
}

void TfrmPresets::RenameSetlist() {
  Run([this] {
    if (!StoredSetlistShown()) {
      return;
    }
    const std::string setlist = shownSetlist_;
    const std::optional<QString> name = questions_->AskName(
        QStringLiteral("Rename setlist"), QStringLiteral("New name of %1:").arg(Quoted(setlist)),
        QString::fromStdString(setlist));
    if (!name) {
      return;
    }
    session_.Edit([&](TPresetLibrary& library) {
      const auto& setlists = library.Setlists();
      const auto at = std::find_if(setlists.begin(), setlists.end(),
                                   [&](const TSetlist& list) { return list.Name == setlist; });
      const auto index = at - setlists.begin();
      library.RenameSetlist(setlist, name->toStdString());
      // Renamed in place: the new name is where the old one was.
      shownSetlist_ = library.Setlists().at(static_cast<std::size_t>(index)).Name;
    });
  });
}

void TfrmPresets::DeleteSetlist() {
  Run([this] {
    const std::string setlist = shownSetlist_;
    if (!StoredSetlistShown() ||
        !questions_->Confirm(
            QStringLiteral("Delete setlist"),
            QStringLiteral("Delete the setlist %1? Its presets stay in \"%2\".")
                .arg(Quoted(setlist), QString::fromLatin1(TPresetLibrary::kAllPresets.data(),
                                                          TPresetLibrary::kAllPresets.size())))) {
      return;
    }
    session_.Edit([&](TPresetLibrary& library) { library.DeleteSetlist(setlist); });
  });
}

void TfrmPresets::Import() {
  Run([this] {
    const std::optional<QString> path = questions_->ChooseImportFile();
    if (!path) {
      return;
    }
    const TPresetConflictQuestion ask = [this](const TPreset& ours, const TPreset& imported) {
      const std::optional<TPresetConflict> answer = questions_->AskConflict(ours, imported);
      if (!answer) {
        throw TImportCancelled{};
      }
      return *answer;
    };
    std::vector<std::string> added;
    try {
      session_.Edit([&](TPresetLibrary& library) { added = ImportPresets(library, *path, ask); });
    } catch (const TImportCancelled&) {
      return;
    }
    // The first setlist brought in shows what came.
    if (!added.empty()) {
      shownSetlist_ = added.front();
      const std::vector<std::string> presets = session_.Library().SetlistPresets(shownSetlist_);
      shownPreset_ = presets.empty() ? std::string() : presets.front();
    }
  });
}

void TfrmPresets::Export() {
  Run([this] {
    const std::string setlist = shownSetlist_;
    const std::optional<QString> path = questions_->ChooseExportFile(ExportFileName(setlist));
    if (path) {
      ExportSetlist(session_.Library(), setlist, *path);
    }
  });
}

}  // namespace zelmora
