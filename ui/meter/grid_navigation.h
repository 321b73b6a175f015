#pragma once

namespace zelmora {

// A cell of the meter constructor's grid that can be current: rows 1 (Acc)
// and 2 (Ord); the header row never holds the current cell.
struct TGridCell {
  int Column = 0;
  int Row = 1;
  bool operator==(const TGridCell&) const = default;
};

enum class TGridKey { Left, Right, Up, Down, Home, End, PageUp, PageDown };

// Where a navigation key moves the current cell in a grid of columnCount
// columns of which pageColumns fit the view. Plain arrows step one cell;
// Ctrl with Left or Right steps a page of columns; Home and End go to the
// first and last column, with Ctrl also to the first and last row; Page Up
// and Page Down go to the first and last row (both rows are one page).
TGridCell NavigateCell(TGridCell current, TGridKey key, bool ctrl, int columnCount,
                       int pageColumns);

}  // namespace zelmora
