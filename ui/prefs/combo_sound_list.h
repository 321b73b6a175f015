#pragma once

#include <QComboBox>

#include "audio/choice/sound_list.h"

namespace zelmora {

// A real drop-down list as the sound choice's list. Selecting from here
// never runs the list's user handler, which listens to `activated` only.
class TComboSoundList final : public TSoundList {
 public:
  explicit TComboSoundList(QComboBox* combo) : combo_(combo) {}

  int Count() const override { return combo_->count(); }
  std::string Text(int index) const override;
  void Clear() override { combo_->clear(); }
  void Add(const std::string& text) override;
  void SetText(int index, const std::string& text) override;
  int SelectedIndex() const override { return combo_->currentIndex(); }
  void Select(int index) override;

 private:
  QComboBox* combo_;
};

}  // namespace zelmora
