#include "ui/meter/meter_constructor.h"
#include "ui/frame/window_frame.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "core/config.h"
#include "core/error.h"
#include "ui/meter/beat_grid.h"
#include "ui/meter/grid_paint.h"
#include "ui/meter/meter_preview.h"
#include "ui/meter/meter_style.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kClientWidth = 333;
constexpr int kClientHeight = 201;
constexpr int kGridLeft = 32;
constexpr int kGridTop = 24;

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect place) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  // The substitute for Tahoma runs wider; a caption is never cut short.
  place.setWidth(std::max(place.width(), label->sizeHint().width()));
  label->setGeometry(place);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect place) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  return button;
}

}  // namespace

TfrmMeterConstructor::TfrmMeterConstructor(TConfig& config, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      config_(config) {
  setObjectName(QStringLiteral("frmMeterConstructor"));
  setWindowTitle(QStringLiteral("Meter Constructor"));
  setFixedSize(kClientWidth, kClientHeight);
  setFont(DialogFont());
  CreateControls();
  ApplySkin();
  connect(&TSkin::Instance(), &TSkin::Changed, this, &TfrmMeterConstructor::ApplySkin);
}

void TfrmMeterConstructor::CreateControls() {
  MakeLabel(this, "sLabel6", QStringLiteral("Beat pattern"), {8, 5, 70, 14});
  StringGrid1 = new TBeatGrid(columns_, this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setFont(GridFont());
  StringGrid1->setGeometry(kGridLeft, kGridTop, 289, StringGrid1->height());
  StringGrid1->ColumnsChanged();
  // The row captions sit level with the rows they name.
  const int rowTop = kGridTop + StringGrid1->frameWidth();
  const int rowPitch = TBeatGrid::kRowHeight + TBeatGrid::kLineWidth;
  const auto captionPlace = [&](int row, int width) {
    return QRect(8, rowTop + row * rowPitch + (TBeatGrid::kRowHeight - 14) / 2, width, 14);
  };
  MakeLabel(this, "sLabel5", QStringLiteral("#"), captionPlace(0, 9));
  MakeLabel(this, "sLabel3", QStringLiteral("Acc"), captionPlace(1, 20));
  MakeLabel(this, "sLabel4", QStringLiteral("Ord"), captionPlace(2, 20));

  btnAdd = MakeButton(this, "btnAdd", QStringLiteral("Add"), {184, 88, 65, 17});
  btnRemove = MakeButton(this, "btnRemove", QStringLiteral("Remove"), {256, 88, 65, 17});

  sGroupBox1 = new QGroupBox(QStringLiteral("Meter Preview"), this);
  sGroupBox1->setObjectName(QStringLiteral("sGroupBox1"));
  sGroupBox1->setGeometry(8, 112, 313, 41);
  lblMeter = new TMeterPreview(sGroupBox1);
  lblMeter->setObjectName(QStringLiteral("lblMeter"));
  lblMeter->setGeometry(8, 14, 289, 19);

  btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), {168, 168, 73, 25});
  btnOK->setDefault(true);
  btnCancel = MakeButton(this, "btnCancel", QStringLiteral("Cancel"), {248, 168, 73, 25});

  setTabOrder(btnOK, btnCancel);
  setTabOrder(btnCancel, btnAdd);
  setTabOrder(btnAdd, btnRemove);
  setTabOrder(btnRemove, StringGrid1);
  btnOK->setFocus();

  connect(StringGrid1, &TBeatGrid::Clicked, this, &TfrmMeterConstructor::StringGrid1Click);
  connect(StringGrid1, &TBeatGrid::SpacePressed, this, &TfrmMeterConstructor::StringGrid1Click);
  connect(btnAdd, &QPushButton::clicked, this, &TfrmMeterConstructor::btnAddClick);
  connect(btnRemove, &QPushButton::clicked, this, &TfrmMeterConstructor::btnRemoveClick);
  connect(btnOK, &QPushButton::clicked, this, &TfrmMeterConstructor::btnOKClick);
  connect(btnCancel, &QPushButton::clicked, this, &TfrmMeterConstructor::btnCancelClick);
}

void TfrmMeterConstructor::ApplySkin() {
  setPalette(TSkin::Instance().Palette());
  setStyleSheet(DialogStyleSheet());
  update();
}

void TfrmMeterConstructor::ShowModeless() {
  if (isVisible()) {
    raise();
    activateWindow();
    return;
  }
  show();
}

void TfrmMeterConstructor::ShowModal() {
  if (isVisible()) {
    throw TError(kVisibleModalError);
  }
  exec();
}

void TfrmMeterConstructor::setVisible(bool visible) {
  // Shown again where it was last; the first time, centred over the main
  // window.
  if (visible && !isVisible()) {
    if (shownBefore_) {
      MoveOuterTo(*this, lastPosition_);
    } else {
      CentreOverOwner(*this);
    }
  }
  QDialog::setVisible(visible);
}

void TfrmMeterConstructor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TfrmMeterConstructor::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous()) {
    lastPosition_ = OuterGeometry(*this).topLeft();
    shownBefore_ = true;
  }
}

void TfrmMeterConstructor::keyPressEvent(QKeyEvent* event) {
  // Escape is the Cancel button; the title bar's close button is not.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    btnCancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TfrmMeterConstructor::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const TSkin& skin = TSkin::Instance();
  QLinearGradient fill(0, 0, 0, height());
  fill.setColorAt(0, skin.Color(TSkinRole::Window).lighter(104));
  fill.setColorAt(1, skin.Color(TSkinRole::WindowShade));
  painter.fillRect(rect(), fill);
}

void TfrmMeterConstructor::FormShow() {
  savedPattern_ = config_.BeatPattern;
  columns_ = TBeatColumns::FromPattern(savedPattern_);
  StringGrid1->ColumnsChanged();
  UpdateMeterLabel();
  UpdateButtons();
}

void TfrmMeterConstructor::StringGrid1Click() {
  const TGridCell cell = StringGrid1->CurrentCell();
  columns_.Toggle(cell.Column, static_cast<TGridRow>(cell.Row));
  StringGrid1->viewport()->update();
  UpdateMeterLabel();
  UpdateConfig();
}

void TfrmMeterConstructor::btnAddClick() {
  if (!columns_.Add()) {
    return;
  }
  StringGrid1->ColumnsChanged();
  UpdateMeterLabel();
  UpdateConfig();
  UpdateButtons();
}

void TfrmMeterConstructor::btnRemoveClick() {
  if (!columns_.Remove()) {
    return;
  }
  StringGrid1->ColumnsChanged();
  UpdateMeterLabel();
  UpdateConfig();
  UpdateButtons();
}

void TfrmMeterConstructor::btnOKClick() {
  accept();
}

void TfrmMeterConstructor::btnCancelClick() {
  config_.SetBeatPattern(savedPattern_);
  reject();
}

void TfrmMeterConstructor::UpdateMeterLabel() {
  lblMeter->setText(QString::fromStdString(columns_.MeterText()));
}

void TfrmMeterConstructor::UpdateConfig() {
  config_.SetBeatPattern(columns_.Pattern());
}

void TfrmMeterConstructor::UpdateButtons() {
  btnAdd->setEnabled(columns_.CanAdd());
}

}  // namespace zelmora
