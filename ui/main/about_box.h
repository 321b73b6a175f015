#pragma once

#include <QDialog>

namespace zelmora {

// The about box: the logo at both sides, the product name and its version,
// and an OK button. Created at program start and shown modally.
class TfrmAbout : public QDialog {
 public:
  explicit TfrmAbout(QWidget* parent = nullptr);

  static constexpr const char* kVersionLine = "version 2.5.1.0";

 protected:
  // Comes up centred over the main window (the parent), like the other
  // dialogs.
  void setVisible(bool visible) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace zelmora
