#pragma once

#include <QApplication>

namespace zelmora {

// The application: every exception that an event handler lets out ends
// here and is shown in the general error box; the program carries on.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zelmora
