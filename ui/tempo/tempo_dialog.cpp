#include "ui/tempo/tempo_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include "core/config.h"
#include "ui/frame/window_frame.h"
#include "ui/skin/skin.h"
#include "ui/tempo/calc_edit.h"
#include "ui/tempo/tempo_look.h"

namespace zelmora {

TfrmTempo::TfrmTempo(TConfig& config, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      config_(config) {
  setObjectName(QStringLiteral("frmTempo"));
  setWindowTitle(QStringLiteral("Tempo"));
  setModal(true);
  setFixedSize(154, 105);
  setFont(TahomaFont(12));

  label_ = new QLabel(QStringLiteral("Enter the tempo"), this);
  label_->setObjectName(QStringLiteral("Label1"));
  label_->setFont(TahomaFont(12));
  label_->setGeometry(8, 8, 137, 16);

  sCalcEdit1_ = new TCalcEdit(this);
  sCalcEdit1_->setObjectName(QStringLiteral("sCalcEdit1"));
  sCalcEdit1_->SetRange(TConfig::kMinTempo, TConfig::kMaxTempo);
  sCalcEdit1_->setGeometry(8, 32, 137, 21);

  sButton1_ = new QPushButton(QStringLiteral("Ok"), this);
  sButton1_->setObjectName(QStringLiteral("sButton1"));
  sButton1_->setGeometry(8, 72, 65, 25);
  sButton1_->setDefault(true);
  sButton1_->setAutoDefault(true);

  sButton2_ = new QPushButton(QStringLiteral("Cancel"), this);
  sButton2_->setObjectName(QStringLiteral("sButton2"));
  sButton2_->setGeometry(80, 72, 65, 25);
  sButton2_->setAutoDefault(false);

  connect(sButton1_, &QPushButton::clicked, this, &TfrmTempo::sButton1Click);
  connect(sButton2_, &QPushButton::clicked, this, &TfrmTempo::sButton2Click);

  auto applySkin = [this] {
    const QString buttons = DialogButtonStyle();
    sButton1_->setStyleSheet(buttons);
    sButton2_->setStyleSheet(buttons);
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, TSkin::Instance().Color(TSkinRole::Text));
    label_->setPalette(palette);
    update();
  };
  applySkin();
  connect(&TSkin::Instance(), &TSkin::Changed, this, applySkin);
}

bool TfrmTempo::Execute() {
  CentreOverOwner(*this);
  return exec() == QDialog::Accepted;
}

void TfrmTempo::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TfrmTempo::FormShow() {
  sCalcEdit1_->SetValue(config_.Tempo);
  sCalcEdit1_->Edit()->selectAll();
  sCalcEdit1_->Edit()->setFocus(Qt::OtherFocusReason);
}

void TfrmTempo::sButton1Click() {
  // The field already holds a whole number within 20..416; tap mode is
  // left as it is.
  config_.SetTempo(sCalcEdit1_->Value());
  accept();
}

void TfrmTempo::sButton2Click() {
  reject();
}

void TfrmTempo::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  QLinearGradient shade(0, 0, 0, height());
  shade.setColorAt(0.0, skin.Color(TSkinRole::Window).lighter(104));
  shade.setColorAt(1.0, skin.Color(TSkinRole::WindowShade));
  painter.fillRect(rect(), shade);
  // A thin groove between the field and the buttons.
  painter.setPen(skin.Color(TSkinRole::PanelBorder).lighter(115));
  painter.drawLine(8, 63, width() - 9, 63);
  painter.setPen(QColor(255, 255, 255, 170));
  painter.drawLine(8, 64, width() - 9, 64);
}

}  // namespace zelmora
