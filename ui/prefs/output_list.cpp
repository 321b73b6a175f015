#include "ui/prefs/output_list.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <utility>

namespace zelmora {

TOutputList::TOutputList(QComboBox* combo) : combo_(combo) {}

void TOutputList::SetLister(TLister lister) {
  lister_ = std::move(lister);
}

std::string TOutputList::ChoiceAt(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) {
    return chosen_;
  }
  return entries_[static_cast<std::size_t>(index)].Choice;
}

std::string TOutputList::Value() const {
  return chosen_;
}

void TOutputList::SetValue(const std::string& value) {
  chosen_ = value;
  const std::vector<std::string> found = lister_ ? lister_() : std::vector<std::string>{};
  entries_ = OutputEntries(found, chosen_);
  const QSignalBlocker quiet(combo_);
  combo_->clear();
  int selected = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    combo_->addItem(QString::fromStdString(entries_[i].Text));
    if (entries_[i].Choice == chosen_) {
      selected = static_cast<int>(i);
    }
  }
  combo_->setCurrentIndex(selected);
}

}  // namespace zelmora
