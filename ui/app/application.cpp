#include "ui/app/application.h"

#include "ui/main/error_box.h"

namespace zelmora {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportCurrentException();
    return false;
  }
}

bool TApplication::event(QEvent* event) {
  if (event->type() == QEvent::Quit) {
    exit(0);
    return true;
  }
  return QApplication::event(event);
}

}  // namespace zelmora
