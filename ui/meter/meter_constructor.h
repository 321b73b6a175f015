#pragma once

#include <QDialog>
#include <QPoint>
#include <string>

#include "ui/meter/beat_columns.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace zelmora {

class TConfig;
class TBeatGrid;

// The meter constructor: builds the bar beat by beat (accented, ordinary or
// silent), adds beats at the end and removes them from the end, and shows
// the bar's meter text in the music font. Every edit goes to the settings
// object at once, so a running metronome plays it from the next beat and the
// main window's meter displays follow. Cancel (or Escape) puts back the
// pattern of the moment the dialog was shown; OK, Enter and the title bar's
// close button keep the edits.
//
// Created once with the main window as parent and hidden, not destroyed,
// when closed. User-interface thread only.
class TfrmMeterConstructor final : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kVisibleModalError = "Cannot make a visible window modal";

  TfrmMeterConstructor(TConfig& config, QWidget* parent);

  // Shows the dialog without blocking; when it is already open, brings it to
  // the front.
  void ShowModeless();
  // Shows the dialog and returns when it is closed. Throws TError when the
  // dialog is already open without blocking; it then stays as it is.
  void ShowModal();

  // The pattern Cancel restores: the one in force when last shown.
  const std::string& SavedPattern() const { return savedPattern_; }

  void setVisible(bool visible) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void CreateControls();
  void ApplySkin();

  void FormShow();
  void StringGrid1Click();
  void btnAddClick();
  void btnRemoveClick();
  void btnOKClick();
  void btnCancelClick();
  void UpdateMeterLabel();
  void UpdateConfig();
  void UpdateButtons();

  TConfig& config_;
  TBeatColumns columns_;
  std::string savedPattern_;
  bool shownBefore_ = false;
  QPoint lastPosition_;

  TBeatGrid* StringGrid1 = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnRemove = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QGroupBox* sGroupBox1 = nullptr;
  QLabel* lblMeter = nullptr;
};

}  // namespace zelmora
