#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zelmora {

class TConfig;
class TCalcEdit;

// The tempo dialog: the user types a tempo (or works it out on the field's
// drop-down calculator) and "Ok" sets it, clamped to 20..416. Created once
// and reused; modal while shown. Tap mode is left alone.
class TfrmTempo : public QDialog {
  Q_OBJECT

 public:
  TfrmTempo(TConfig& config, QWidget* parent = nullptr);

  // Shows the dialog modally, centred on its parent window, with the
  // current tempo in the field. Returns true when "Ok" set the tempo.
  bool Execute();

  TCalcEdit* sCalcEdit1() const { return sCalcEdit1_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void FormShow();
  void sButton1Click();  // "Ok"
  void sButton2Click();  // "Cancel"

  TConfig& config_;
  QLabel* label_ = nullptr;
  TCalcEdit* sCalcEdit1_ = nullptr;
  QPushButton* sButton1_ = nullptr;
  QPushButton* sButton2_ = nullptr;
};

}  // namespace zelmora
