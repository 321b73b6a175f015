#pragma once

#include <QListWidget>

#include <string>
#include <string_view>
#include <vector>

namespace zelmora {

// A list of names (setlists or presets) for the Presets dialog, worked
// with the keys as well as the mouse: Enter, Delete and F2 ask for the
// selected name's action, Ctrl+Up and Ctrl+Down (and, where reordering is
// on, a drag) ask to move it. The list never reorders itself: the dialog
// edits the library and shows the library's order again.
//
// Thread: ui (every call)
class TNameList final : public QListWidget {
  Q_OBJECT

 public:
  explicit TNameList(QWidget* parent = nullptr);

  // Drags inside the list ask for moves.
  void AllowReordering();

  // Shows `names`, `marked` (if among them) in bold, and selects `selected`
  // or, when it is gone, the row nearest to the one selected before.
  void ShowNames(const std::vector<std::string>& names, std::string_view marked,
                 std::string_view selected);
  // The selected name; empty when none is.
  std::string SelectedName() const;

 signals:
  void EnterPressed();
  void DeletePressed();
  void RenamePressed();
  // Move the name at row `from` to row `to`, the others closing up.
  void MoveAsked(int from, int to);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void RowsMoved(int start, int destination);
  bool showing_ = false;
};

}  // namespace zelmora
