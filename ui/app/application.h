#pragma once

#include <QApplication>

namespace zelmora {

// The application: every exception that an event handler lets out ends
// here and is shown in the general error box; the program carries on.
//
// A request to quit (the session manager ending the session, the desktop's
// "Quit") ends the message loop as "Exit" does, without closing the windows
// first: a closed beat panel would count as unticked in the menu, and the
// save would store that.
class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;

 protected:
  bool event(QEvent* event) override;
};

}  // namespace zelmora
