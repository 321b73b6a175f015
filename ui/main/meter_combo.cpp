#include "ui/main/meter_combo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include <cmath>

#include "ui/main/fonts.h"
#include "ui/main/ink_text.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kListRowHeight = 22;

// The list's entries in the music face, their ink centred in each row.
class TMeterItemDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    painter->save();
    painter->setFont(option.font);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    DrawInkCentred(*painter, QRectF(option.rect).adjusted(6, 0, -4, 0), text, Qt::AlignLeft);
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kListRowHeight};
  }
};

}  // namespace

TMeterCombo::TMeterCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
            QStringLiteral("2+2"), QStringLiteral("3+2")});
  setFont(MusicFont(15));
  view()->setFont(MusicFont(15));
  view()->setItemDelegate(new TMeterItemDelegate(view()));
  lineEdit()->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lineEdit()->installEventFilter(this);
  // Only the user's own actions: textEdited (typing) and activated (a pick).
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] { emit userChanged(); });
  connect(this, &QComboBox::activated, this, [this] { emit userChanged(); });
  Restyle();
  connect(&TSkin::Instance(), &TSkin::Changed, this, [this] { Restyle(); });
}

void TMeterCombo::showPopup() {
  QComboBox::showPopup();
  // The current index stays on the last pick while the text is edited.
  const int shown = findText(currentText(), Qt::MatchExactly);
  QAbstractItemView* list = view();
  list->selectionModel()->clear();
  list->setCurrentIndex(shown >= 0 ? model()->index(shown, modelColumn(), rootModelIndex())
                                   : QModelIndex());
}

void TMeterCombo::hidePopup() {
  const bool wasShown = view()->isVisible();
  QComboBox::hidePopup();
  if (wasShown) {
    emit listClosed();
  }
}

bool TMeterCombo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
    emit doubleClicked();
  }
  return QComboBox::eventFilter(watched, event);
}

void TMeterCombo::resizeEvent(QResizeEvent* event) {
  QComboBox::resizeEvent(event);
  PlaceText();
}

void TMeterCombo::PlaceText() {
  // The line edit puts the baseline one font ascent below its top margin;
  // a top margin that lands the baseline where the digits' ink is centred
  // keeps them inside the box (negative for the tall music face).
  QLineEdit* edit = lineEdit();
  const qreal baseline = InkCentredBaseline(font(), edit->height());
  const int top = int(std::lround(baseline - QFontMetricsF(font()).ascent()));
  edit->setTextMargins(1, top, 0, 0);
}

void TMeterCombo::Restyle() {
  QPalette p = palette();
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::Highlight, TSkin::Instance().Color(TSkinRole::Accent));
  setPalette(p);
  lineEdit()->setPalette(p);
}

}  // namespace zelmora
