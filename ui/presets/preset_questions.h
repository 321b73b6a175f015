#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "store/preset_exchange.h"
#include "store/presets.h"

class QWidget;

namespace zelmora {

// Everything the Presets dialog asks the user in a box of its own. The
// dialog asks the system's boxes (TPresetBoxes); tests answer themselves.
//
// Thread: ui (every call)
class TPresetQuestions {
 public:
  virtual ~TPresetQuestions() = default;

  // A name typed over `proposed`; nothing when the user cancels.
  virtual std::optional<QString> AskName(const QString& title, const QString& label,
                                         const QString& proposed) = 0;
  // Whether the user goes ahead with what `text` describes.
  virtual bool Confirm(const QString& title, const QString& text) = 0;
  // One of `setlists`; nothing when the user cancels.
  virtual std::optional<QString> ChooseSetlist(const QString& preset,
                                               const QStringList& setlists) = 0;
  // The file to import, or to export to under a proposed file name.
  virtual std::optional<QString> ChooseImportFile() = 0;
  virtual std::optional<QString> ChooseExportFile(const QString& proposedName) = 0;
  // What to do with an imported preset of one of ours' name but other
  // settings; nothing cancels the whole import.
  virtual std::optional<TPresetConflict> AskConflict(const TPreset& ours,
                                                     const TPreset& imported) = 0;
};

// The system's boxes, over `parent`. The file dialogs open where the last
// one was left, at first in the home folder.
class TPresetBoxes final : public TPresetQuestions {
 public:
  explicit TPresetBoxes(QWidget* parent) : parent_(parent) {}

  std::optional<QString> AskName(const QString& title, const QString& label,
                                 const QString& proposed) override;
  bool Confirm(const QString& title, const QString& text) override;
  std::optional<QString> ChooseSetlist(const QString& preset, const QStringList& setlists) override;
  std::optional<QString> ChooseImportFile() override;
  std::optional<QString> ChooseExportFile(const QString& proposedName) override;
  std::optional<TPresetConflict> AskConflict(const TPreset& ours, const TPreset& imported) override;

 private:
  std::optional<QString> ChooseFile(bool forSaving, const QString& proposedName);

  QWidget* parent_;
  QString folder_;
};

}  // namespace zelmora
