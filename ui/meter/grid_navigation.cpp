#include "ui/meter/grid_navigation.h"

#include <algorithm>

namespace zelmora {
namespace {

constexpr int kFirstRow = 1;
constexpr int kLastRow = 2;

}  // namespace

TGridCell NavigateCell(TGridCell current, TGridKey key, bool ctrl, int columnCount,
                       int pageColumns) {
  const int lastColumn = std::max(columnCount - 1, 0);
  const int page = std::max(pageColumns, 1);
  TGridCell next = current;
  switch (key) {
    case TGridKey::Left:
      next.Column -= ctrl ? page : 1;
      break;
    case TGridKey::Right:
      next.Column += ctrl ? page : 1;
      break;
    case TGridKey::Up:
      --next.Row;
      break;
    case TGridKey::Down:
      ++next.Row;
      break;
    case TGridKey::Home:
      next.Column = 0;
      if (ctrl) {
        next.Row = kFirstRow;
      }
      break;
    case TGridKey::End:
      next.Column = lastColumn;
      if (ctrl) {
        next.Row = kLastRow;
      }
      break;
    case TGridKey::PageUp:
      next.Row = kFirstRow;
      break;
    case TGridKey::PageDown:
      next.Row = kLastRow;
      break;
  }
  next.Column = std::clamp(next.Column, 0, lastColumn);
  next.Row = std::clamp(next.Row, kFirstRow, kLastRow);
  return next;
}

}  // namespace zelmora
