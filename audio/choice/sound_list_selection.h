#pragma once

#include "audio/choice/sound_list.h"
#include "core/control_binding.h"

namespace zelmora {

// A list's selected index as the settings store reads and writes it. The
// load runs before the lists are filled, so until then the index is kept
// here as the pending selection that filling the list applies; once the
// list has entries, it is the list's own selection. A list that is never
// filled (no audio output at start-up) so hands the stored choice back to
// the save unchanged.
class TSoundListSelection final : public TControl<int> {
 public:
  TSoundListSelection(TSoundList* list, int pending) : list_(list), pending_(pending) {}

  int Value() const override { return Filled() ? list_->SelectedIndex() : pending_; }
  void SetValue(const int& index) override {
    if (Filled()) {
      list_->Select(index);
    } else {
      pending_ = index;
    }
  }

  int Pending() const { return pending_; }
  void SetList(TSoundList* list) { list_ = list; }
  TSoundList& List() const { return *list_; }

 private:
  bool Filled() const { return list_->Count() > 0; }

  TSoundList* list_;
  int pending_;
};

}  // namespace zelmora
