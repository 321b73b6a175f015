#include "audio/choice/sound_list.h"

namespace zelmora {

std::string TSoundListModel::Text(int index) const {
  return Holds(index) ? entries_[static_cast<std::size_t>(index)] : std::string();
}

void TSoundListModel::Clear() {
  entries_.clear();
  selected_ = -1;
}

void TSoundListModel::SetText(int index, const std::string& text) {
  if (Holds(index)) {
    entries_[static_cast<std::size_t>(index)] = text;
  }
}

void TSoundListModel::Select(int index) {
  selected_ = Holds(index) ? index : -1;
}

void CopySoundList(const TSoundList& from, TSoundList& to) {
  to.Clear();
  for (int i = 0; i < from.Count(); ++i) {
    to.Add(from.Text(i));
  }
  to.Select(from.SelectedIndex());
}

}  // namespace zelmora
