#include "ui/tempo/calculator_popup.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/skin/skin.h"
#include "ui/tempo/tempo_look.h"

namespace zelmora {
namespace {

// Button captions; the operators use the usual signs rather than * and /.
const QString kDivide = QString::fromUtf8("\u00F7");
const QString kMultiply = QString::fromUtf8("\u00D7");
const QString kMinus = QString::fromUtf8("\u2212");
const QString kBackspace = QString::fromUtf8("\u2190");

}  // namespace

TCalculatorPopup::TCalculatorPopup(QWidget* parent) : QFrame(parent, Qt::Popup) {
  setObjectName(QStringLiteral("Calculator"));
  setAttribute(Qt::WA_StyledBackground);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setSpacing(4);

  // The display: the operation waiting for its second number in small
  // print above the number being typed or the result.
  auto* screen = new QFrame(this);
  screen->setObjectName(QStringLiteral("display"));
  auto* lines = new QVBoxLayout(screen);
  lines->setContentsMargins(6, 1, 6, 1);
  lines->setSpacing(0);
  pending_ = new QLabel(screen);
  pending_->setObjectName(QStringLiteral("pending"));
  pending_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  pending_->setFont(TahomaFont(10));
  pending_->setFixedHeight(12);
  lines->addWidget(pending_);
  display_ = new QLabel(screen);
  display_->setObjectName(QStringLiteral("value"));
  display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  display_->setFont(TahomaFont(17, true));
  display_->setFixedHeight(22);
  lines->addWidget(display_);
  grid->addWidget(screen, 0, 0, 1, 4);

  const QString rows[4][4] = {
      {QStringLiteral("C"), kBackspace, kDivide, kMultiply},
      {QStringLiteral("7"), QStringLiteral("8"), QStringLiteral("9"), kMinus},
      {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("+")},
      {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("=")}};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      QPushButton* button = AddButton(rows[row][column], row + 1, column);
      if (column == 3 || row == 0) {
        button->setProperty("role", QStringLiteral("op"));
      }
    }
  }
  AddButton(QStringLiteral("0"), 5, 0, 1, 2);
  AddButton(QStringLiteral("."), 5, 2);
  AddButton(QStringLiteral("OK"), 5, 3)->setProperty("role", QStringLiteral("ok"));

  ApplySkin();
  connect(&TSkin::Instance(), &TSkin::Changed, this, &TCalculatorPopup::ApplySkin);
  Refresh();
}

QPushButton* TCalculatorPopup::AddButton(const QString& caption, int row, int column, int rowSpan,
                                         int columnSpan) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(QStringLiteral("calc_") + caption);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFont(TahomaFont(13, true));
  button->setFixedHeight(26);
  button->setMinimumWidth(30);
  connect(button, &QPushButton::clicked, this, [this, caption] { Press(caption); });
  static_cast<QGridLayout*>(layout())->addWidget(button, row, column, rowSpan, columnSpan);
  return button;
}

void TCalculatorPopup::ApplySkin() {
  setStyleSheet(CalculatorStyle());
}

void TCalculatorPopup::Popup(QWidget* anchor, double value) {
  calculator_.Reset(value);
  Refresh();
  adjustSize();
  QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
  // Stay on the screen: open upwards or further left when there is no room.
  if (const QScreen* screen = anchor->screen()) {
    const QRect area = screen->availableGeometry();
    if (at.y() + height() > area.bottom() + 1) {
      at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height());
    }
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - width())));
  }
  move(at);
  show();
  setFocus(Qt::PopupFocusReason);
}

QString TCalculatorPopup::DisplayText() const {
  return display_->text();
}

void TCalculatorPopup::Refresh() {
  display_->setText(QString::fromStdString(calculator_.Display()));
  pending_->setText(QString::fromStdString(calculator_.PendingText()));
}

void TCalculatorPopup::Accept() {
  calculator_.Equals();
  if (calculator_.HasError()) {
    Refresh();
    return;  // nothing to hand over; the user clears or closes
  }
  const double result = calculator_.Value();
  hide();
  emit Accepted(result);
}

void TCalculatorPopup::Press(const QString& caption) {
  using TOp = TCalculator::TOp;
  if (caption.size() == 1 && caption[0].isDigit()) {
    calculator_.Digit(caption[0].digitValue());
  } else if (caption == QLatin1String(".")) {
    calculator_.Point();
  } else if (caption == QLatin1String("+")) {
    calculator_.Operator(TOp::Add);
  } else if (caption == kMinus) {
    calculator_.Operator(TOp::Subtract);
  } else if (caption == kMultiply) {
    calculator_.Operator(TOp::Multiply);
  } else if (caption == kDivide) {
    calculator_.Operator(TOp::Divide);
  } else if (caption == QLatin1String("=")) {
    calculator_.Equals();
  } else if (caption == QLatin1String("C")) {
    calculator_.Clear();
  } else if (caption == kBackspace) {
    calculator_.Backspace();
  } else if (caption == QLatin1String("OK")) {
    Accept();
    return;
  }
  Refresh();
}

void TCalculatorPopup::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Press(QStringLiteral("OK"));
      return;
    case Qt::Key_Backspace:
      Press(kBackspace);
      return;
    case Qt::Key_Delete:
      Press(QStringLiteral("C"));
      return;
    default:
      break;
  }
  if (text.size() == 1) {
    const QChar c = text[0];
    if (c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('+') || c == QLatin1Char('=')) {
      Press(text);
      return;
    }
    if (c == QLatin1Char(',')) {
      Press(QStringLiteral("."));
      return;
    }
    if (c == QLatin1Char('-')) {
      Press(kMinus);
      return;
    }
    if (c == QLatin1Char('*')) {
      Press(kMultiply);
      return;
    }
    if (c == QLatin1Char('/')) {
      Press(kDivide);
      return;
    }
  }
  QFrame::keyPressEvent(event);  // Esc closes the popup
}

}  // namespace zelmora
