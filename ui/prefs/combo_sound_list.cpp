#include "ui/prefs/combo_sound_list.h"

#include <QString>

namespace zelmora {

std::string TComboSoundList::Text(int index) const {
  return index >= 0 && index < combo_->count() ? combo_->itemText(index).toStdString()
                                               : std::string();
}

void TComboSoundList::Add(const std::string& text) {
  combo_->addItem(QString::fromStdString(text));
}

void TComboSoundList::SetText(int index, const std::string& text) {
  if (index >= 0 && index < combo_->count()) {
    combo_->setItemText(index, QString::fromStdString(text));
  }
}

void TComboSoundList::Select(int index) {
  combo_->setCurrentIndex(index >= 0 && index < combo_->count() ? index : -1);
}

}  // namespace zelmora
