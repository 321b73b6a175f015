#pragma once

#include <QAbstractScrollArea>
#include <QRect>

#include "ui/meter/beat_columns.h"
#include "ui/meter/grid_navigation.h"

namespace zelmora {

// The meter constructor's grid: a header row with the beat numbers and the
// Acc and Ord rows holding the marks of each beat, one column per beat,
// scrolled sideways when the bar is wider than the view. It shows a
// TBeatColumns owned by the dialog and tells the dialog when the current
// cell is to be toggled; it never changes the marks itself.
class TBeatGrid final : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr int kColumnWidth = 19;
  static constexpr int kRowHeight = 16;
  static constexpr int kLineWidth = 1;
  static constexpr int kRowCount = 3;

  explicit TBeatGrid(const TBeatColumns& columns, QWidget* parent = nullptr);

  // After the columns were rebuilt, added or removed: keeps the current
  // cell inside the grid (without a click) and updates the scroll range.
  void ColumnsChanged();

  TGridCell CurrentCell() const { return current_; }
  // Moves the current cell from code; no click follows.
  void SetCurrentCell(TGridCell cell);

  // Where a cell is painted, in viewport coordinates; empty when the column
  // is scrolled out of view.
  QRect CellRect(int column, int row) const;
  int FirstVisibleColumn() const;
  // Whole columns that fit the view.
  int PageColumns() const;
  // The text the cell shows.
  QString CellText(int column, int row) const;

  QSize sizeHint() const override;

 signals:
  // A mouse click on a cell of the mark rows (the current one included), or
  // navigation keys that moved the current cell: toggle the current cell.
  void Clicked();
  // Space while the grid has the focus.
  void SpacePressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void ApplySkin();
  void UpdateScrollRange();
  void ScrollToCurrent();
  // Which cell a viewport point hits; Column -1 for none.
  TGridCell CellAt(QPoint point) const;
  int ContentHeight() const;

  const TBeatColumns& columns_;
  TGridCell current_;
};

}  // namespace zelmora
