#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/control_binding.h"
#include "ui/prefs/output_entries.h"

class QComboBox;

namespace zelmora {

// The output list of the Preferences dialog as the settings object sees
// it: the chosen output's name. Writing it fills the list afresh from the
// outputs the sound card found and selects the entry of that name.
class TOutputList final : public TControl<std::string> {
 public:
  using TLister = std::function<std::vector<std::string>()>;

  // The combo box must outlive the list.
  explicit TOutputList(QComboBox* combo);

  // Where the found outputs come from; none until it is set.
  void SetLister(TLister lister);
  // The choice of the entry at `index`, the current one when it is out of
  // range.
  std::string ChoiceAt(int index) const;

  std::string Value() const override;
  void SetValue(const std::string& value) override;

 private:
  QComboBox* combo_;
  TLister lister_;
  std::vector<TOutputEntry> entries_;
  std::string chosen_;
};

}  // namespace zelmora
