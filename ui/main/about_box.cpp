#include "ui/main/about_box.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

#include "ui/frame/window_frame.h"
#include "ui/main/drawings.h"
#include "ui/main/fonts.h"
#include "ui/main/picture.h"
#include "ui/skin/skin.h"

namespace zelmora {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setModal(true);
  setFixedSize(300, 132);

  const auto logo = [](QPainter& painter, const QRectF& box) { PaintLogo(painter, box); };
  auto* left = new TPicture(logo, this);
  left->setObjectName(QStringLiteral("imgLogoLeft"));
  left->setGeometry(14, 16, 58, 54);
  auto* right = new TPicture(logo, this);
  right->setObjectName(QStringLiteral("imgLogoRight"));
  right->setGeometry(228, 16, 58, 54);

  auto* name = new QLabel(QStringLiteral("Zelmora"), this);
  name->setObjectName(QStringLiteral("lblProduct"));
  name->setFont(UiFont(16, true));
  name->setAlignment(Qt::AlignCenter);
  name->setGeometry(76, 22, 148, 22);

  auto* version = new QLabel(QString::fromLatin1(kVersionLine), this);
  version->setObjectName(QStringLiteral("lblVersion"));
  version->setFont(UiFont(13));
  version->setAlignment(Qt::AlignCenter);
  version->setGeometry(76, 46, 148, 18);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("btnOK"));
  ok->setGeometry(113, 92, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TfrmAbout::setVisible(bool visible) {
  if (visible && !isVisible()) {
    CentreOverOwner(*this);
  }
  QDialog::setVisible(visible);
}

void TfrmAbout::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  QLinearGradient fill(0, 0, 0, height());
  fill.setColorAt(0.0, skin.Color(TSkinRole::Window).lighter(104));
  fill.setColorAt(1.0, skin.Color(TSkinRole::WindowShade));
  painter.fillRect(rect(), fill);
  painter.setPen(QColor(255, 255, 255, 150));
  painter.drawLine(20, 80, width() - 20, 80);
  painter.setPen(QColor(0, 0, 0, 40));
  painter.drawLine(20, 79, width() - 20, 79);
}

}  // namespace zelmora
