#pragma once

#include <string>
#include <vector>

namespace zelmora {

// One choice list as the sound choice sees it: the 25 bank names, then the
// file entry whose text is a WAV file's path (possibly empty), and the
// selected entry. The Preferences dialog puts its drop-down lists behind
// this; without the dialog a TSoundListModel keeps the same state.
//
// Threads: user-interface thread only.
class TSoundList {
 public:
  virtual ~TSoundList() = default;

  virtual int Count() const = 0;
  // Empty for an index outside the entries.
  virtual std::string Text(int index) const = 0;
  virtual void Clear() = 0;
  virtual void Add(const std::string& text) = 0;
  // Does nothing for an index outside the entries.
  virtual void SetText(int index, const std::string& text) = 0;
  // -1 when no entry is selected.
  virtual int SelectedIndex() const = 0;
  // Selects from code, which never runs the list's change handler. An index
  // outside the entries selects nothing.
  virtual void Select(int index) = 0;
};

// The list without a window.
class TSoundListModel final : public TSoundList {
 public:
  int Count() const override { return static_cast<int>(entries_.size()); }
  std::string Text(int index) const override;
  void Clear() override;
  void Add(const std::string& text) override { entries_.push_back(text); }
  void SetText(int index, const std::string& text) override;
  int SelectedIndex() const override { return selected_; }
  void Select(int index) override;

 private:
  bool Holds(int index) const { return index >= 0 && index < Count(); }

  std::vector<std::string> entries_;
  int selected_ = -1;
};

// Makes `to` hold the entries and the selection of `from`.
void CopySoundList(const TSoundList& from, TSoundList& to);

}  // namespace zelmora
