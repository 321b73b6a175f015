#include <QEventLoop>
#include <QTest>
#include <QWidget>

#include <stdexcept>
#include <vector>

#include "core/error.h"
#include "ui/app/application.h"
#include "ui/main/error_box.h"

using namespace zelmora;

namespace {

// An object whose event handler fails the way a handler of the program
// can. (The program's own handlers catch what they throw before it reaches
// the toolkit; this is the net under them. A plain event is used: input
// events that unwind through the toolkit leave some of its bookkeeping
// behind.)
class TFailingObject : public QObject {
 public:
  std::string message;
  int events = 0;

  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) {
      return QObject::event(event);
    }
    ++events;
    throw TError(message);
  }
};

}  // namespace

// What an event handler lets out reaches the application, which shows it in
// the general error box, and the program carries on.
class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    boxes_.clear();
    SetMessageBoxHook([this](const TShownBox& box) { boxes_.push_back(box); });
  }
  void cleanup() { SetMessageBoxHook({}); }

  void handlerErrorsGoToTheErrorBox_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends in a letter") << "Failed to play a beat"
                                      << "Failed to play a beat.";
    QTest::newRow("ends in a digit") << "Error 5"
                                     << "Error 5.";
    QTest::newRow("ends in a full stop") << "Done."
                                         << "Done.";
    QTest::newRow("ends in a quote") << "Invalid data type for 'Tempo'"
                                     << "Invalid data type for 'Tempo'";
  }
  void handlerErrorsGoToTheErrorBox() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    TFailingObject target;
    target.message = message.toStdString();
    QEvent first(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&target, &first));
    QCOMPARE(int(boxes_.size()), 1);
    QCOMPARE(boxes_[0].Title, QString("Zelmora"));
    QCOMPARE(boxes_[0].Text, shown);
    QVERIFY(boxes_[0].Error);
    // The program carries on: the next event is handled again, also when
    // it comes through the event loop.
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QTRY_COMPARE(target.events, 2);
    QCOMPARE(int(boxes_.size()), 2);
  }

  // The session manager ending the session asks the application to quit:
  // the message loop ends as "Exit" ends it, and no window is closed on the
  // way (a closed beat panel would be saved as unticked).
  void quitEndsTheLoopAndLeavesTheWindows() {
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QEventLoop loop;
    QMetaObject::invokeMethod(
        qApp, [] { QCoreApplication::postEvent(qApp, new QEvent(QEvent::Quit)); },
        Qt::QueuedConnection);
    QCOMPARE(loop.exec(), 0);
    QVERIFY(window.isVisible());
  }

 private:
  std::vector<TShownBox> boxes_;
};

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
