#include "ui/practice/practice_sound_row.h"

#include <QComboBox>

#include <optional>
#include <string_view>

#include "audio/bank/bank.h"
#include "ui/practice/practice_file_chooser.h"

namespace zelmora {

TPracticeSoundRow::TPracticeSoundRow(TPracticeVoice voice, const TConfig& config,
                                     TPracticeSounds& sounds, QComboBox* list)
    : voice_(voice), config_(config), sounds_(sounds), list_(list) {}

int TPracticeSoundRow::StoredIndex() const {
  return voice_ == TPracticeVoice::Layer ? config_.Practice.LayerSoundIndex
                                         : config_.Practice.SubdivisionSoundIndex;
}

const std::string& TPracticeSoundRow::StoredFile() const {
  return voice_ == TPracticeVoice::Layer ? config_.Practice.SoundLayer
                                         : config_.Practice.SoundSubdivision;
}

void TPracticeSoundRow::ShowStored() {
  if (list_->count() != kBankCount + 1) {
    list_->clear();
    for (int i = 0; i < kBankCount; ++i) {
      const std::string_view name = BankName(i);
      list_->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    list_->addItem(QString());
  }
  list_->setItemText(kBankCount, QString::fromStdString(StoredFile()));
  const int stored = StoredIndex();
  const bool bankEntry = stored >= 0 && stored < kBankCount;
  const bool fileEntry = stored == kBankCount && !StoredFile().empty();
  // The voice plays its default where the stored index names nothing.
  static const TPracticeSettings defaults;
  const int fallback =
      voice_ == TPracticeVoice::Layer ? defaults.LayerSoundIndex : defaults.SubdivisionSoundIndex;
  list_->setCurrentIndex(bankEntry || fileEntry ? stored : fallback);
}

void TPracticeSoundRow::Pick(int index, TPracticeFileChooser& chooser) {
  if (index < 0 || index > kBankCount) {
    return;
  }
  if (index < kBankCount) {
    // The file stays stored, for the file entry to offer again.
    sounds_.Choose(voice_, index, StoredFile());
  } else if (StoredFile().empty()) {
    PickFile(chooser);
  } else {
    sounds_.Choose(voice_, kBankCount, StoredFile());
  }
}

void TPracticeSoundRow::PickFile(TPracticeFileChooser& chooser) {
  const std::optional<std::string> chosen = chooser.ChoosePracticeSoundFile(voice_, StoredFile());
  if (chosen && !chosen->empty()) {
    sounds_.Choose(voice_, kBankCount, *chosen);
  }
}

}  // namespace zelmora
