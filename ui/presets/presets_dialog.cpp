#include "ui/presets/presets_dialog.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>
#include <vector>

#include "ui/frame/window_frame.h"
#include "ui/main/error_box.h"
#include "ui/prefs/prefs_look.h"
#include "ui/presets/name_list.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 22;
constexpr int kListHeight = 214;

QGroupBox* MakeGroup(const char* name, const QString& title) {
  auto* group = new QGroupBox(title);
  group->setObjectName(QString::fromLatin1(name));
  return group;
}

void SetMargins(QLayout* layout) {
  layout->setContentsMargins(10, 14, 10, 10);
  layout->setSpacing(6);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, int width) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setFixedSize(width, kButtonHeight);
  return button;
}

TNameList* MakeList(QWidget* parent, const char* name, int width) {
  auto* list = new TNameList(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setFixedSize(width, kListHeight);
  return list;
}

}  // namespace

TfrmPresets::TfrmPresets(TPresetSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      reportError_([](const std::string& message) { ShowErrorBox(message); }) {
  QVBoxLayout* outer =
      SetUpToolDialog(*this, QStringLiteral("frmPresets"), QStringLiteral("Presets"));
  auto* groups = new QHBoxLayout;
  groups->setSpacing(8);
  groups->addWidget(BuildSetlistGroup());
  groups->addWidget(BuildPresetGroup());
  outer->addLayout(groups);

  auto* files = new QHBoxLayout;
  files->setSpacing(6);
  sbtnImport = MakeButton(this, "sbtnImport", QStringLiteral("&Import..."), 83);
  sbtnExport = MakeButton(this, "sbtnExport", QStringLiteral("E&xport..."), 83);
  sbtnImport->setToolTip(QStringLiteral("Adds the presets and setlists of a file to yours."));
  sbtnExport->setToolTip(QStringLiteral("Writes the selected setlist and its presets to a file."));
  sbtnClose = MakeButton(this, "sbtnClose", QStringLiteral("Close"), 83);
  for (QPushButton* button : {sbtnImport, sbtnExport, sbtnClose}) {
    button->setFixedHeight(26);
  }
  files->addWidget(sbtnImport);
  files->addWidget(sbtnExport);
  files->addStretch(1);
  files->addWidget(sbtnClose);
  outer->addLayout(files);

  for (QGroupBox* group : findChildren<QGroupBox*>()) {
    group->installEventFilter(this);
  }
  ConnectHandlers();
  shownSetlist_ = session_.Library().Current().Setlist;
  shownPreset_ = session_.Library().Current().Preset;
  ShowLibrary();
  view_ = session_.AddView(*this);

  Restyle();
  connect(&TSkin::Instance(), &TSkin::Changed, this, &TfrmPresets::Restyle);
}

void TfrmPresets::SetErrorReporter(TErrorReporter reporter) {
  reportError_ = std::move(reporter);
}

void TfrmPresets::SetQuestions(TPresetQuestions* questions) {
  questions_ = questions != nullptr ? questions : &boxes_;
}

QGroupBox* TfrmPresets::BuildSetlistGroup() {
  QGroupBox* group = MakeGroup("grpSetlists", QStringLiteral("Set&lists"));
  auto* rows = new QVBoxLayout(group);
  SetMargins(rows);
  lstSetlists = MakeList(group, "lstSetlists", 150);
  rows->addWidget(lstSetlists);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(4);
  constexpr int kWidth = (150 - 2 * 4) / 3;
  sbtnNewSetlist = MakeButton(group, "sbtnNewSetlist", QStringLiteral("&New"), kWidth);
  sbtnRenameSetlist = MakeButton(group, "sbtnRenameSetlist", QStringLiteral("Rena&me"), kWidth);
  sbtnDeleteSetlist = MakeButton(group, "sbtnDeleteSetlist", QStringLiteral("D&elete"), kWidth);
  for (QPushButton* button : {sbtnNewSetlist, sbtnRenameSetlist, sbtnDeleteSetlist}) {
    buttons->addWidget(button);
  }
  rows->addLayout(buttons);
  return group;
}

QGroupBox* TfrmPresets::BuildPresetGroup() {
  QGroupBox* group = MakeGroup("grpPresets", QStringLiteral("&Presets"));
  auto* columns = new QHBoxLayout(group);
  SetMargins(columns);
  columns->setSpacing(8);
  lstPresets = MakeList(group, "lstPresets", 180);
  // As tall as the setlists with their buttons: the two groups end alike.
  lstPresets->setFixedHeight(kListHeight + 6 + kButtonHeight);
  lstPresets->AllowReordering();
  lstPresets->setToolTip(
      QStringLiteral("Enter or a double-click recalls; drag or Ctrl+Up and Ctrl+Down reorder."));
  columns->addWidget(lstPresets, 0, Qt::AlignTop);

  auto* buttons = new QVBoxLayout;
  buttons->setSpacing(4);
  const auto add = [group, buttons](const char* name, const QString& text) {
    QPushButton* button = MakeButton(group, name, text, kButtonWidth);
    buttons->addWidget(button);
    return button;
  };
  sbtnRecall = add("sbtnRecall", QStringLiteral("&Recall"));
  buttons->addSpacing(6);
  sbtnSaveAsNew = add("sbtnSaveAsNew", QStringLiteral("&Save as new..."));
  sbtnSaveAsNew->setToolTip(QStringLiteral("Keeps the current setup as a new preset."));
  sbtnSaveOver = add("sbtnSaveOver", QStringLiteral("Save &over"));
  sbtnSaveOver->setToolTip(QStringLiteral("Gives the selected preset the current setup."));
  buttons->addSpacing(6);
  sbtnRenamePreset = add("sbtnRenamePreset", QStringLiteral("Ren&ame..."));
  sbtnDeletePreset = add("sbtnDeletePreset", QStringLiteral("&Delete"));
  buttons->addSpacing(6);
  sbtnAddToSetlist = add("sbtnAddToSetlist", QStringLiteral("Add to se&tlist..."));
  sbtnRemoveFromSetlist = add("sbtnRemoveFromSetlist", QStringLiteral("Remo&ve from setlist"));
  sbtnRemoveFromSetlist->setToolTip(
      QStringLiteral("Takes the preset out of this setlist; it stays in \"All presets\"."));
  buttons->addStretch(1);
  columns->addLayout(buttons);
  return group;
}

void TfrmPresets::ConnectHandlers() {
  connect(lstSetlists, &QListWidget::itemSelectionChanged, this, &TfrmPresets::SetlistPicked);
  connect(lstSetlists, &TNameList::EnterPressed, lstPresets,
          [this] { lstPresets->setFocus(Qt::OtherFocusReason); });
  connect(lstSetlists, &TNameList::DeletePressed, this, &TfrmPresets::DeleteSetlist);
  connect(lstSetlists, &TNameList::RenamePressed, this, &TfrmPresets::RenameSetlist);
  connect(sbtnNewSetlist, &QPushButton::clicked, this, &TfrmPresets::NewSetlist);
  connect(sbtnRenameSetlist, &QPushButton::clicked, this, &TfrmPresets::RenameSetlist);
  connect(sbtnDeleteSetlist, &QPushButton::clicked, this, &TfrmPresets::DeleteSetlist);

  connect(lstPresets, &QListWidget::itemSelectionChanged, this, &TfrmPresets::PresetPicked);
  connect(lstPresets, &QListWidget::itemDoubleClicked, this, &TfrmPresets::Recall);
  connect(lstPresets, &TNameList::EnterPressed, this, &TfrmPresets::Recall);
  connect(lstPresets, &TNameList::DeletePressed, this, &TfrmPresets::DeletePreset);
  connect(lstPresets, &TNameList::RenamePressed, this, &TfrmPresets::RenamePreset);
  connect(lstPresets, &TNameList::MoveAsked, this, &TfrmPresets::MovePreset);
  connect(sbtnRecall, &QPushButton::clicked, this, &TfrmPresets::Recall);
  connect(sbtnSaveAsNew, &QPushButton::clicked, this, &TfrmPresets::SaveAsNew);
  connect(sbtnSaveOver, &QPushButton::clicked, this, &TfrmPresets::SaveOver);
  connect(sbtnRenamePreset, &QPushButton::clicked, this, &TfrmPresets::RenamePreset);
  connect(sbtnDeletePreset, &QPushButton::clicked, this, &TfrmPresets::DeletePreset);
  connect(sbtnAddToSetlist, &QPushButton::clicked, this, &TfrmPresets::AddToSetlist);
  connect(sbtnRemoveFromSetlist, &QPushButton::clicked, this, &TfrmPresets::RemoveFromSetlist);

  connect(sbtnImport, &QPushButton::clicked, this, &TfrmPresets::Import);
  connect(sbtnExport, &QPushButton::clicked, this, &TfrmPresets::Export);
  connect(sbtnClose, &QPushButton::clicked, this, &QDialog::hide);
}

void TfrmPresets::PresetsChanged() {
  ShowLibrary();
}

void TfrmPresets::ShowLibrary() {
  const TPresetLibrary& library = session_.Library();
  const TPresetPlace& current = library.Current();
  if (!library.HasSetlist(shownSetlist_)) {
    shownSetlist_ = current.Setlist;
  }
  std::vector<std::string> setlists{std::string(TPresetLibrary::kAllPresets)};
  for (const TSetlist& setlist : library.Setlists()) {
    setlists.push_back(setlist.Name);
  }
  lstSetlists->ShowNames(setlists, current.Setlist, shownSetlist_);
  const bool atCurrent = shownSetlist_ == current.Setlist;
  lstPresets->ShowNames(library.SetlistPresets(shownSetlist_),
                        atCurrent ? current.Preset : std::string(), shownPreset_);
  shownPreset_ = lstPresets->SelectedName();
  UpdateEnabled();
}

void TfrmPresets::SetlistPicked() {
  const std::string picked = lstSetlists->SelectedName();
  if (picked.empty() || picked == shownSetlist_) {
    return;
  }
  shownSetlist_ = picked;
  // A setlist opens at the current preset, or else at its first.
  const TPresetPlace& current = session_.Library().Current();
  const std::vector<std::string> presets = session_.Library().SetlistPresets(picked);
  shownPreset_ = picked == current.Setlist && !current.Preset.empty() ? current.Preset
                 : presets.empty()                                    ? std::string()
                                                                      : presets.front();
  ShowLibrary();
}

void TfrmPresets::PresetPicked() {
  shownPreset_ = lstPresets->SelectedName();
  UpdateEnabled();
}

bool TfrmPresets::StoredSetlistShown() const {
  return shownSetlist_ != TPresetLibrary::kAllPresets;
}

void TfrmPresets::UpdateEnabled() {
  const bool stored = StoredSetlistShown();
  sbtnRenameSetlist->setEnabled(stored);
  sbtnDeleteSetlist->setEnabled(stored);
  const bool preset = !shownPreset_.empty();
  for (QPushButton* button : {sbtnRecall, sbtnSaveOver, sbtnRenamePreset, sbtnDeletePreset}) {
    button->setEnabled(preset);
  }
  sbtnAddToSetlist->setEnabled(preset && !session_.Library().Setlists().empty());
  sbtnRemoveFromSetlist->setEnabled(preset && stored);
}

void TfrmPresets::Restyle() {
  const TSkin& skin = TSkin::Instance();
  const QString lists =
      QStringLiteral(
          "QPushButton:disabled { color: %1; }"
          "QListWidget { border: 1px solid %2; border-radius: 3px; background: %3; color: %4; }"
          "QListWidget::item { padding: 1px 2px; }"
          "QListWidget::item:selected { background: %5; color: %6; }")
          .arg(skin.Color(TSkinRole::TextMuted).name(), skin.Color(TSkinRole::PanelBorder).name(),
               skin.Palette().color(QPalette::Base).name(), skin.Color(TSkinRole::Text).name(),
               skin.Palette().color(QPalette::Highlight).name(),
               skin.Palette().color(QPalette::HighlightedText).name());
  setStyleSheet(PrefsStyleSheet() + lists);
  update();
}

void TfrmPresets::setVisible(bool visible) {
  if (visible && !isVisible()) {
    shownSetlist_ = session_.Library().Current().Setlist;
    shownPreset_ = session_.Library().Current().Preset;
    ShowLibrary();
    lstPresets->setFocus(Qt::OtherFocusReason);
    adjustSize();  // the layout's size, for the centring
    CentreOverOwner(*this);
  }
  QDialog::setVisible(visible);
}

bool TfrmPresets::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Shortcut) {
    // Not the control last used in the group, as a group box would choose:
    // the list, where the keys work on the names.
    for (TNameList* list : {lstSetlists, lstPresets}) {
      if (list->parent() == watched) {
        list->setFocus(Qt::ShortcutFocusReason);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmPresets::paintEvent(QPaintEvent* /*event*/) {
  PaintPrefsBackground(*this);
}

}  // namespace zelmora
