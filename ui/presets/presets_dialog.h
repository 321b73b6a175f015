#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "core/scope.h"
#include "store/preset_session.h"
#include "ui/presets/preset_questions.h"

class QGroupBox;
class QPushButton;

namespace zelmora {

class TNameList;

// The Presets dialog: the setlists ("All presets" first) and the presets of
// the selected one in their order, the current place in bold. Saves the
// current setup as a new preset or over one, recalls, renames, deletes and
// reorders presets, puts them into setlists and takes them out, makes,
// renames and deletes setlists, and imports and exports preset files.
//
// Every change goes through the session, which saves it; an edit it
// refuses is shown in the error box and changes nothing. The dialog shows
// the library again after every change, wherever it came from (a step
// through the set from the main window too).
//
// Modeless; the keys do everything the mouse does: in the presets list
// Enter recalls, Delete deletes, F2 renames and Ctrl+Up and Ctrl+Down move
// the selected preset; in the setlists list Delete and F2 work on the
// setlist and Enter goes on to its presets.
class TfrmPresets final : public QDialog, public TPresetView {
  Q_OBJECT

 public:
  // `session` must outlive the dialog.
  // Thread: ui
  TfrmPresets(TPresetSession& session, QWidget* parent);

  // Where an edit's error is shown. By default the general error box.
  // Thread: ui
  using TErrorReporter = std::function<void(const std::string& message)>;
  void SetErrorReporter(TErrorReporter reporter);
  // The boxes the dialog asks its questions in; nullptr: the system's.
  // Thread: ui
  void SetQuestions(TPresetQuestions* questions);

  // Thread: ui
  void PresetsChanged() override;

 protected:
  // Each showing selects the current place and comes up centred over the
  // main window (the parent).
  void setVisible(bool visible) override;
  void paintEvent(QPaintEvent* event) override;
  // A group's underlined letter goes to its list.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Building, in the order of the tab chain.
  QGroupBox* BuildSetlistGroup();
  QGroupBox* BuildPresetGroup();
  void ConnectHandlers();
  void Restyle();

  // Shows the library, keeping the selection where its names still are.
  void ShowLibrary();
  void UpdateEnabled();
  void SetlistPicked();
  void PresetPicked();

  // Handlers (presets_handlers.cpp). Each one runs its edit through
  // RunEdit, or shows what it throws.
  void SaveAsNew();
  void SaveOver();
  void Recall();
  void RenamePreset();
  void DeletePreset();
  void MovePreset(int from, int to);
  void AddToSetlist();
  void RemoveFromSetlist();
  void NewSetlist();
  void RenameSetlist();
  void DeleteSetlist();
  void Import();
  void Export();
  // Runs the handler, reports what it threw and shows the library as it
  // is now.
  void Run(const std::function<void()>& handler);
  bool StoredSetlistShown() const;

  TPresetSession& session_;
  TErrorReporter reportError_;
  TPresetBoxes boxes_{this};
  TPresetQuestions* questions_ = &boxes_;
  // What the lists select, by name: it survives the lists' rebuilding.
  std::string shownSetlist_;
  std::string shownPreset_;

  TNameList* lstSetlists = nullptr;
  QPushButton* sbtnNewSetlist = nullptr;
  QPushButton* sbtnRenameSetlist = nullptr;
  QPushButton* sbtnDeleteSetlist = nullptr;
  TNameList* lstPresets = nullptr;
  QPushButton* sbtnRecall = nullptr;
  QPushButton* sbtnSaveAsNew = nullptr;
  QPushButton* sbtnSaveOver = nullptr;
  QPushButton* sbtnRenamePreset = nullptr;
  QPushButton* sbtnDeletePreset = nullptr;
  QPushButton* sbtnAddToSetlist = nullptr;
  QPushButton* sbtnRemoveFromSetlist = nullptr;
  QPushButton* sbtnImport = nullptr;
  QPushButton* sbtnExport = nullptr;
  QPushButton* sbtnClose = nullptr;

  // Last: the session stops calling the dialog before its widgets go.
  TScope view_;
};

}  // namespace zelmora
