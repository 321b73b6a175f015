#include "ui/prefs/sound_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace zelmora {

std::optional<std::string> AskForSoundFile(QWidget* parent, const std::string& current) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Wave files (*.wav)"));
  if (!current.empty()) {
    const QFileInfo last(QString::fromStdString(current));
    dialog.setDirectory(last.absolutePath());
    dialog.selectFile(last.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath().toStdString();
}

}  // namespace zelmora
