#pragma once

#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

#include "ui/meter/beat_columns.h"

namespace zelmora {

// How one cell of the beat grid is drawn.
struct TGridCellLook {
  QRect Rect;  // the cell without its grid lines
  TGridRow Row = TGridRow::Acc;
  TGridMark Mark = TGridMark::Silent;  // the column's mark
  QString Text;                        // the cell's text
  bool GroupStart = false;             // the column begins a group of the bar
  bool Current = false;                // the current cell (or, in the header, its column)
  bool Focused = false;                // the grid has the keyboard focus
};

// The grid's fonts: Tahoma at 11 pixels, with its usual substitute.
QFont GridFont();

// Paints one cell in the skin's colours: a header cell with the beat
// number, or a mark cell with its mark as a coloured tile.
void PaintGridCell(QPainter& painter, const TGridCellLook& cell);

// Paints the lines around a cell and, at a group's first beat, the
// stronger line that separates the groups.
void PaintGridLines(QPainter& painter, const TGridCellLook& cell);

}  // namespace zelmora
