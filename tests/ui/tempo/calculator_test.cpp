#include <QSignalSpy>
#include <QTest>

#include "ui/tempo/calculator.h"
#include "ui/tempo/calculator_popup.h"

using namespace zelmora;

namespace {

// Drives the calculator with one character per key: digits, ".", + - * /,
// "=", "<" for backspace and "C" for clear.
std::string Run(TCalculator& calculator, const std::string& keys) {
  using TOp = TCalculator::TOp;
  for (char key : keys) {
    switch (key) {
      case '+':
        calculator.Operator(TOp::Add);
        break;
      case '-':
        calculator.Operator(TOp::Subtract);
        break;
      case '*':
        calculator.Operator(TOp::Multiply);
        break;
      case '/':
        calculator.Operator(TOp::Divide);
        break;
      case '=':
        calculator.Equals();
        break;
      case '.':
        calculator.Point();
        break;
      case '<':
        calculator.Backspace();
        break;
      case 'C':
        calculator.Clear();
        break;
      default:
        calculator.Digit(key - '0');
        break;
    }
  }
  return calculator.Display();
}

}  // namespace

class CalculatorTest : public QObject {
  Q_OBJECT

 private slots:
  void keys_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::newRow("nothing yet") << ""
                                 << "0";
    QTest::newRow("typing") << "120"
                            << "120";
    QTest::newRow("leading zero dropped") << "007"
                                          << "7";
    QTest::newRow("left to right") << "2+3*4="
                                   << "20";
    QTest::newRow("ms to bpm") << "60000/512="
                               << "117.1875";
    QTest::newRow("chained operator shows the running result") << "9-3-"
                                                               << "6";
    QTest::newRow("second operator replaces the first") << "3+*2="
                                                        << "6";
    QTest::newRow("decimals") << "1.5+1.5="
                              << "3";
    QTest::newRow("point first") << ".5"
                                 << "0.5";
    QTest::newRow("one point only") << "1..5"
                                    << "1.5";
    QTest::newRow("backspace") << "123<"
                               << "12";
    QTest::newRow("negative result") << "5-8="
                                     << "-3";
    QTest::newRow("division by zero") << "5/0="
                                      << "Error";
    QTest::newRow("operators ignored after an error") << "5/0=+="
                                                      << "Error";
    QTest::newRow("a digit starts over after an error") << "5/0=7"
                                                        << "7";
    QTest::newRow("clear") << "12+3C"
                           << "0";
    QTest::newRow("digits are limited") << "12345678901234"
                                        << "123456789012";
  }
  void keys() {
    QFETCH(QString, keys);
    QFETCH(QString, display);
    TCalculator calculator;
    QCOMPARE(QString::fromStdString(Run(calculator, keys.toStdString())), display);
  }

  void resetStartsFromAValue() {
    TCalculator calculator;
    calculator.Reset(120);
    QCOMPARE(Run(calculator, "/2="), std::string("60"));
    calculator.Reset(120);
    QCOMPARE(Run(calculator, "9"), std::string("9"));  // typing replaces it
  }

  void pendingOperationIsShown() {
    TCalculator calculator;
    Run(calculator, "60000/");
    QCOMPARE(QString::fromStdString(calculator.PendingText()), QString::fromUtf8("60000 \u00F7"));
    Run(calculator, "5");
    QCOMPARE(QString::fromStdString(calculator.PendingText()), QString::fromUtf8("60000 \u00F7"));
    Run(calculator, "=");
    QCOMPARE(calculator.PendingText(), std::string());
  }

  void popupKeysAndResult() {
    TCalculatorPopup popup;
    QWidget anchor;
    anchor.resize(100, 20);
    anchor.show();
    popup.Popup(&anchor, 100);
    QVERIFY(popup.isVisible());
    QCOMPARE(popup.DisplayText(), QString("100"));
    QSignalSpy accepted(&popup, &TCalculatorPopup::Accepted);
    QTest::keyClicks(&popup, "*3/2");
    QCOMPARE(popup.DisplayText(), QString("2"));
    QTest::keyClick(&popup, Qt::Key_Return);
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(accepted.at(0).at(0).toDouble(), 150.0);
    QVERIFY(!popup.isVisible());
  }

  void errorIsNotHandedOver() {
    TCalculatorPopup popup;
    QSignalSpy accepted(&popup, &TCalculatorPopup::Accepted);
    popup.Calculator().Reset(4);
    for (const char* key : {"\u00F7", "0", "OK"}) {
      popup.Press(QString::fromUtf8(key));
    }
    QCOMPARE(accepted.size(), 0);
    QCOMPARE(popup.DisplayText(), QString("Error"));
  }
};

QTEST_MAIN(CalculatorTest)
#include "calculator_test.moc"
