#include "ui/presets/name_list.h"

#include <QFont>
#include <QKeyEvent>
#include <QMetaObject>

#include <algorithm>

namespace zelmora {

TNameList::TNameList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
}

void TNameList::AllowReordering() {
  setDragDropMode(QAbstractItemView::InternalMove);
  setDefaultDropAction(Qt::MoveAction);
  // A drop moves the row in the model, where Qt reckons it lands; the
  // move is asked of the library, whose order the list then shows.
  connect(model(), &QAbstractItemModel::rowsMoved, this,
          [this](const QModelIndex& /*parent*/, int start, int /*end*/,
                 const QModelIndex& /*destination*/, int row) { RowsMoved(start, row); });
}

void TNameList::RowsMoved(int start, int destination) {
  if (showing_) {
    return;
  }
  // `destination` counts the rows before the move, the moved one included.
  const int to = destination > start ? destination - 1 : destination;
  // Later: the drop that moved the row is still being handled, and the
  // library's new order rebuilds the list.
  QMetaObject::invokeMethod(
      this, [this, start, to] { emit MoveAsked(start, to); }, Qt::QueuedConnection);
}

void TNameList::ShowNames(const std::vector<std::string>& names, std::string_view marked,
                          std::string_view selected) {
  const int previousRow = currentRow();
  showing_ = true;
  const QSignalBlocker quiet(this);
  clear();
  int selectedRow = -1;
  for (const std::string& name : names) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), this);
    if (name == marked) {
      QFont bold = font();
      bold.setBold(true);
      item->setFont(bold);
    }
    if (name == selected) {
      selectedRow = row(item);
    }
  }
  if (selectedRow < 0 && previousRow >= 0 && count() > 0) {
    selectedRow = std::min(previousRow, count() - 1);
  }
  showing_ = false;
  if (selectedRow >= 0) {
    setCurrentRow(selectedRow);
  }
}

std::string TNameList::SelectedName() const {
  const QList<QListWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? std::string() : selected.constFirst()->text().toStdString();
}

void TNameList::keyPressEvent(QKeyEvent* event) {
  const int row = currentRow();
  const bool ctrl = event->modifiers() == Qt::ControlModifier;
  const bool plain =
      event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    emit EnterPressed();
  } else if (plain && event->key() == Qt::Key_Delete) {
    emit DeletePressed();
  } else if (plain && event->key() == Qt::Key_F2) {
    emit RenamePressed();
  } else if (ctrl && event->key() == Qt::Key_Up && dragDropMode() == InternalMove) {
    if (row > 0) {
      emit MoveAsked(row, row - 1);
    }
  } else if (ctrl && event->key() == Qt::Key_Down && dragDropMode() == InternalMove) {
    if (row >= 0 && row + 1 < count()) {
      emit MoveAsked(row, row + 1);
    }
  } else {
    QListWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

}  // namespace zelmora
