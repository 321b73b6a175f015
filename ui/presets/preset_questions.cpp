#include "ui/presets/preset_questions.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zelmora {
namespace {

const QString& FileFilter() {
  static const QString filter = QStringLiteral("Zelmora presets (*.json)");
  return filter;
}

QString Quoted(const std::string& name) {
  return QStringLiteral("'%1'").arg(QString::fromStdString(name));
}

}  // namespace

std::optional<QString> TPresetBoxes::AskName(const QString& title, const QString& label,
                                             const QString& proposed) {
  bool accepted = false;
  const QString name =
      QInputDialog::getText(parent_, title, label, QLineEdit::Normal, proposed, &accepted);
  if (!accepted) {
    return std::nullopt;
  }
  return name;
}

bool TPresetBoxes::Confirm(const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent_);
  // Names are shown as typed, never as markup.
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<QString> TPresetBoxes::ChooseSetlist(const QString& preset,
                                                   const QStringList& setlists) {
  bool accepted = false;
  const QString setlist = QInputDialog::getItem(
      parent_, QStringLiteral("Add to setlist"),
      QStringLiteral("Add '%1' to the setlist:").arg(preset), setlists, 0, false, &accepted);
  if (!accepted) {
    return std::nullopt;
  }
  return setlist;
}

std::optional<QString> TPresetBoxes::ChooseImportFile() {
  return ChooseFile(false, QString());
}

std::optional<QString> TPresetBoxes::ChooseExportFile(const QString& proposedName) {
  return ChooseFile(true, proposedName);
}

std::optional<QString> TPresetBoxes::ChooseFile(bool forSaving, const QString& proposedName) {
  QFileDialog dialog(
      parent_, forSaving ? QStringLiteral("Export presets") : QStringLiteral("Import presets"));
  dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(FileFilter());
  dialog.setDefaultSuffix(QStringLiteral("json"));
  dialog.setDirectory(folder_.isEmpty() ? QDir::homePath() : folder_);
  if (!proposedName.isEmpty()) {
    dialog.selectFile(proposedName);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  const QFileInfo chosen(dialog.selectedFiles().constFirst());
  folder_ = chosen.absolutePath();
  return chosen.absoluteFilePath();
}

std::optional<TPresetConflict> TPresetBoxes::AskConflict(const TPreset& /*ours*/,
                                                         const TPreset& imported) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Import presets"),
                  QStringLiteral("The imported preset %1 has other settings than yours.")
                      .arg(Quoted(imported.Name)),
                  QMessageBox::NoButton, parent_);
  box.setTextFormat(Qt::PlainText);
  box.setInformativeText(
      QStringLiteral("Keep both adds the imported one under a name of its own; Replace mine gives "
                     "yours its settings; Keep mine leaves it out."));
  QPushButton* keepBoth = box.addButton(QStringLiteral("Keep &both"), QMessageBox::AcceptRole);
  QPushButton* replace =
      box.addButton(QStringLiteral("&Replace mine"), QMessageBox::DestructiveRole);
  QPushButton* keepOurs = box.addButton(QStringLiteral("Keep &mine"), QMessageBox::RejectRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Cancel import"), QMessageBox::RejectRole);
  box.setDefaultButton(keepBoth);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == keepBoth) {
    return TPresetConflict::KeepBoth;
  }
  if (box.clickedButton() == replace) {
    return TPresetConflict::Replace;
  }
  if (box.clickedButton() == keepOurs) {
    return TPresetConflict::KeepOurs;
  }
  return std::nullopt;
}

}  // namespace zelmora
