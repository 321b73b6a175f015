#include "ui/meter/beat_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <optional>

#include "ui/meter/grid_paint.h"
#include "ui/meter/meter_style.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kColumnPitch = TBeatGrid::kColumnWidth + TBeatGrid::kLineWidth;
constexpr int kRowPitch = TBeatGrid::kRowHeight + TBeatGrid::kLineWidth;

std::optional<TGridKey> NavigationKey(int key) {
  switch (key) {
    case Qt::Key_Left:
      return TGridKey::Left;
    case Qt::Key_Right:
      return TGridKey::Right;
    case Qt::Key_Up:
      return TGridKey::Up;
    case Qt::Key_Down:
      return TGridKey::Down;
    case Qt::Key_Home:
      return TGridKey::Home;
    case Qt::Key_End:
      return TGridKey::End;
    case Qt::Key_PageUp:
      return TGridKey::PageUp;
    case Qt::Key_PageDown:
      return TGridKey::PageDown;
    default:
      return std::nullopt;
  }
}

}  // namespace

TBeatGrid::TBeatGrid(const TBeatColumns& columns, QWidget* parent)
    : QAbstractScrollArea(parent), columns_(columns) {
  setFocusPolicy(Qt::StrongFocus);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  horizontalScrollBar()->setSingleStep(1);
  viewport()->setAutoFillBackground(false);
  ApplySkin();
  connect(&TSkin::Instance(), &TSkin::Changed, this, &TBeatGrid::ApplySkin);
  UpdateScrollRange();
}

void TBeatGrid::ApplySkin() {
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, TSkin::Instance().Color(TSkinRole::PanelBorder));
  setPalette(palette);
  horizontalScrollBar()->setStyleSheet(GridScrollBarStyleSheet());
  viewport()->update();
}

int TBeatGrid::ContentHeight() const {
  return kRowCount * kRowPitch;
}

QSize TBeatGrid::sizeHint() const {
  const int frame = 2 * frameWidth();
  return {15 * kColumnPitch + frame, ContentHeight() + frame};
}

int TBeatGrid::FirstVisibleColumn() const {
  return horizontalScrollBar()->value();
}

int TBeatGrid::PageColumns() const {
  return std::max(viewport()->width() / kColumnPitch, 1);
}

QRect TBeatGrid::CellRect(int column, int row) const {
  const int x = (column - FirstVisibleColumn()) * kColumnPitch;
  if (column < FirstVisibleColumn() || x >= viewport()->width()) {
    return {};
  }
  return {x, row * kRowPitch, kColumnWidth, kRowHeight};
}

QString TBeatGrid::CellText(int column, int row) const {
  return QString::fromStdString(columns_.CellText(column, static_cast<TGridRow>(row)));
}

TGridCell TBeatGrid::CellAt(QPoint point) const {
  if (point.x() < 0 || point.y() < 0 || point.y() >= ContentHeight()) {
    return {-1, 0};
  }
  const int column = FirstVisibleColumn() + point.x() / kColumnPitch;
  if (column >= columns_.Count()) {
    return {-1, 0};
  }
  return {column, point.y() / kRowPitch};
}

void TBeatGrid::ColumnsChanged() {
  current_.Column = std::min(current_.Column, columns_.Count() - 1);
  UpdateScrollRange();
  ScrollToCurrent();
  viewport()->update();
}

void TBeatGrid::SetCurrentCell(TGridCell cell) {
  current_.Column = std::clamp(cell.Column, 0, columns_.Count() - 1);
  current_.Row = std::clamp(cell.Row, 1, kRowCount - 1);
  ScrollToCurrent();
  viewport()->update();
}

void TBeatGrid::UpdateScrollRange() {
  // The bar appears only when the bar of beats is wider than the view, and
  // the grid grows by the bar's height so that no row is covered.
  const int frame = 2 * frameWidth();
  const int pageWithoutBar = std::max((width() - frame) / kColumnPitch, 1);
  const bool needed = columns_.Count() > pageWithoutBar;
  setHorizontalScrollBarPolicy(needed ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  const int barHeight = needed ? kGridScrollBarHeight : 0;
  setFixedHeight(ContentHeight() + frame + barHeight);
  QScrollBar* bar = horizontalScrollBar();
  bar->setRange(0, std::max(columns_.Count() - pageWithoutBar, 0));
  bar->setPageStep(pageWithoutBar);
}

void TBeatGrid::ScrollToCurrent() {
  QScrollBar* bar = horizontalScrollBar();
  const int page = PageColumns();
  if (current_.Column < bar->value()) {
    bar->setValue(current_.Column);
  } else if (current_.Column >= bar->value() + page) {
    bar->setValue(current_.Column - page + 1);
  }
}

void TBeatGrid::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  const TSkin& skin = TSkin::Instance();
  painter.fillRect(viewport()->rect(), skin.Color(TSkinRole::Panel));
  const bool focused = hasFocus();
  for (int column = FirstVisibleColumn(); column < columns_.Count(); ++column) {
    if (CellRect(column, 0).isNull()) {
      break;
    }
    const TGridMark mark = columns_.Mark(column);
    for (int row = 0; row < kRowCount; ++row) {
      TGridCellLook cell;
      cell.Rect = CellRect(column, row);
      cell.Row = static_cast<TGridRow>(row);
      cell.Mark = mark;
      cell.Text = CellText(column, row);
      cell.GroupStart = column == 0 || mark == TGridMark::Accent;
      cell.Current = column == current_.Column && (row == 0 || row == current_.Row);
      cell.Focused = focused;
      PaintGridCell(painter, cell);
      PaintGridLines(painter, cell);
    }
  }
}

void TBeatGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    return;
  }
  const TGridCell cell = CellAt(event->position().toPoint());
  if (cell.Column < 0 || cell.Row == 0) {
    return;  // the header and the empty space hold no marks
  }
  current_ = cell;
  ScrollToCurrent();
  viewport()->update();
  emit Clicked();
}

void TBeatGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    emit SpacePressed();
    return;
  }
  const std::optional<TGridKey> key = NavigationKey(event->key());
  const Qt::KeyboardModifiers others =
      event->modifiers() & ~(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
  if (!key || others != Qt::NoModifier) {
    event->ignore();  // Enter, Escape and the rest belong to the dialog
    return;
  }
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  const TGridCell next = NavigateCell(current_, *key, ctrl, columns_.Count(), PageColumns());
  if (next == current_) {
    return;
  }
  current_ = next;
  ScrollToCurrent();
  viewport()->update();
  emit Clicked();
}

void TBeatGrid::wheelEvent(QWheelEvent* event) {
  // The wheel only scrolls the view; it never moves or toggles a cell.
  const QPoint delta = event->angleDelta();
  const int steps = (delta.x() != 0 ? delta.x() : delta.y()) / 120;
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() - steps);
  event->accept();
}

void TBeatGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

void TBeatGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TBeatGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void TBeatGrid::scrollContentsBy(int /*dx*/, int /*dy*/) {
  viewport()->update();
}

}  // namespace zelmora
