#include "ui/tempo/calc_edit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>

#include "ui/skin/skin.h"
#include "ui/tempo/calculator_popup.h"
#include "ui/tempo/tempo_look.h"

namespace zelmora {
namespace {

// A small pocket calculator drawn in the skin's colours, for the button.
QIcon CalculatorIcon() {
  const TSkin& skin = TSkin::Instance();
  QPixmap pixmap(12, 14);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(skin.Color(TSkinRole::TextMuted));
  painter.setBrush(skin.Color(TSkinRole::Panel).lighter(110));
  painter.drawRect(0, 0, 11, 13);
  painter.fillRect(2, 2, 8, 3, skin.Color(TSkinRole::Display));
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      painter.fillRect(2 + column * 3, 7 + row * 2, 2, 1, skin.Color(TSkinRole::Text));
    }
  }
  return QIcon(pixmap);
}

}  // namespace

TCalcEdit::TCalcEdit(QWidget* parent) : QFrame(parent), beep_([] { QApplication::beep(); }) {
  setAttribute(Qt::WA_StyledBackground);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(1, 1, 1, 1);
  row->setSpacing(0);

  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("edit"));
  edit_->setFont(TahomaFont(12));
  // Digits only: a non-negative number without decimals.
  edit_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit_));
  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::inputRejected, this, &TCalcEdit::Beep);
  row->addWidget(edit_, 1);

  button_ = new QToolButton(this);
  button_->setObjectName(QStringLiteral("calcButton"));
  button_->setFocusPolicy(Qt::NoFocus);
  button_->setFixedWidth(19);
  button_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  button_->setToolTip(QString());
  connect(button_, &QToolButton::clicked, this, &TCalcEdit::ShowCalculator);
  row->addWidget(button_);
  setFocusProxy(edit_);

  calculator_ = new TCalculatorPopup(this);
  connect(calculator_, &TCalculatorPopup::Accepted, this, &TCalcEdit::CalculatorAccepted);

  ApplySkin();
  connect(&TSkin::Instance(), &TSkin::Changed, this, &TCalcEdit::ApplySkin);
}

void TCalcEdit::ApplySkin() {
  setStyleSheet(CalcFieldStyle());
  button_->setIcon(CalculatorIcon());
}

void TCalcEdit::Beep() {
  if (beep_) {
    beep_();
  }
}

void TCalcEdit::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
}

void TCalcEdit::SetValue(int value) {
  shown_ = std::clamp(value, minimum_, maximum_);
  edit_->setText(QString::number(shown_));
}

QString TCalcEdit::Text() const {
  return edit_->text();
}

int TCalcEdit::Value() const {
  QString digits = edit_->text();
  while (digits.size() > 1 && digits.startsWith(QLatin1Char('0'))) {
    digits.remove(0, 1);
  }
  // More digits than any int holds is simply a very large number.
  if (digits.size() > 9) {
    return maximum_;
  }
  return std::clamp(digits.isEmpty() ? 0 : digits.toInt(), minimum_, maximum_);
}

void TCalcEdit::ShowCalculator() {
  calculator_->Popup(this, edit_->text().isEmpty() ? 0.0 : static_cast<double>(Value()));
}

void TCalcEdit::CalculatorAccepted(double result) {
  // The field holds no decimals and stays within its range.
  const double whole =
      std::round(std::clamp(result, static_cast<double>(minimum_), static_cast<double>(maximum_)));
  SetValue(static_cast<int>(whole));
  edit_->selectAll();
  edit_->setFocus(Qt::PopupFocusReason);
}

bool TCalcEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool alt = key->modifiers().testFlag(Qt::AltModifier);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
      if (event->type() == QEvent::KeyPress) {
        SetValue(shown_);
        edit_->selectAll();
      }
      event->accept();
      return event->type() == QEvent::KeyPress;
    }
    if (key->key() == Qt::Key_Down && alt) {
      if (event->type() == QEvent::KeyPress) {
        ShowCalculator();
      }
      event->accept();
      return event->type() == QEvent::KeyPress;
    }
  }
  if (watched == edit_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    setProperty("focused", event->type() == QEvent::FocusIn);
    style()->unpolish(this);
    style()->polish(this);
  }
  return QFrame::eventFilter(watched, event);
}

}  // namespace zelmora
