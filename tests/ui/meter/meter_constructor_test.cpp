#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <string>

#include "core/config.h"
#include "core/error.h"
#include "ui/meter/beat_grid.h"
#include "ui/meter/meter_constructor.h"
#include "ui/skin/skin.h"

using namespace zelmora;

namespace {

// The dialog over a stand-in main window, with the settings object's meter
// displays left unbound so that their held values show what the main window
// would show.
struct TFixture {
  explicit TFixture(const std::string& pattern) {
    config.SetBeatPattern(pattern);
    main.resize(240, 320);
    main.show();
  }
  TBeatGrid* Grid() { return dialog.findChild<TBeatGrid*>("StringGrid1"); }
  QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(name); }
  QString Preview() { return dialog.findChild<QLabel*>("lblMeter")->text(); }
  QString Pattern() const { return QString::fromStdString(config.BeatPattern); }
  QString MeterBox() const { return QString::fromStdString(config.Controls.scmbMeterNum->Value()); }
  QString BeatCount() const {
    return QString::fromStdString(config.Controls.slblTimeSignNum->Value());
  }
  void ClickCell(int column, int row) {
    TBeatGrid* grid = Grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(column, row).center());
  }

  TConfig config;
  QWidget main;
  TfrmMeterConstructor dialog{config, &main};
};

QString RowText(TBeatGrid* grid, int columns, int row) {
  QString text;
  for (int column = 0; column < columns; ++column) {
    text += grid->CellText(column, row);
  }
  return text;
}

// One step of a table row: "a<beat>"/"o<beat>" clicks the Acc or Ord cell of
// a 1-based beat; other words are keys or buttons.
void Perform(TFixture& f, const QString& step) {
  if (step[0] == 'a' || step[0] == 'o') {
    bool isBeat = false;
    const int beat = step.mid(1).toInt(&isBeat);
    if (isBeat) {
      f.ClickCell(beat - 1, step[0] == 'a' ? 1 : 2);
      return;
    }
  }
  if (step == "add") {
    f.Button("btnAdd")->click();
  } else if (step == "remove") {
    f.Button("btnRemove")->click();
  } else {
    static const QHash<QString, int> keys{{"right", Qt::Key_Right}, {"left", Qt::Key_Left},
                                          {"up", Qt::Key_Up},       {"down", Qt::Key_Down},
                                          {"home", Qt::Key_Home},   {"end", Qt::Key_End},
                                          {"space", Qt::Key_Space}};
    QVERIFY2(keys.contains(step), qPrintable(step));
    QTest::keyClick(f.Grid(), static_cast<Qt::Key>(keys[step]));
  }
}

}  // namespace

class MeterConstructorTest : public QObject {
  Q_OBJECT

 private slots:
  void showBuildsTheGridFromThePattern() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    QVERIFY(f.dialog.isVisible());
    QCOMPARE(RowText(f.Grid(), 4, 0), QString("1234"));
    QCOMPARE(RowText(f.Grid(), 4, 1), QString("X   "));
    QCOMPARE(RowText(f.Grid(), 4, 2), QString(" xxx"));
    QCOMPARE(f.Preview(), QString("4"));
    QCOMPARE(f.dialog.SavedPattern(), std::string("Xxxx"));
  }

  void controlsCarryTheirTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("title") << "sLabel6"
                           << "Beat pattern";
    QTest::newRow("header row") << "sLabel5"
                                << "#";
    QTest::newRow("accent row") << "sLabel3"
                                << "Acc";
    QTest::newRow("ordinary row") << "sLabel4"
                                  << "Ord";
    QTest::newRow("add") << "btnAdd"
                         << "Add";
    QTest::newRow("remove") << "btnRemove"
                            << "Remove";
    QTest::newRow("ok") << "btnOK"
                        << "OK";
    QTest::newRow("cancel") << "btnCancel"
                            << "Cancel";
    QTest::newRow("preview box") << "sGroupBox1"
                                 << "Meter Preview";
  }
  void controlsCarryTheirTexts() {
    QFETCH(QString, name);
    TFixture f("Xxxx");
    QWidget* widget = f.dialog.findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      shown = label->text();
    } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
      shown = button->text();
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
      shown = box->title();
    }
    QFETCH(QString, text);
    QCOMPARE(shown, text);
    QCOMPARE(f.dialog.windowTitle(), QString("Meter Constructor"));
    QCOMPARE(f.dialog.size(), QSize(333, 201));
    QVERIFY(f.Button("btnOK")->isDefault());
    QVERIFY(f.dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  }

  // Every edit reaches the settings object, and through it the main
  // window's beat count and meter box, at once.
  void editsApplyAtOnce_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("shownPreview");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QStringList>("previews");
    QTest::newRow("accent on beat 3, again, then ordinary")
        << "Xxxx"
        << "4" << QStringList{"a3", "a3", "o3"} << QStringList{"XxXx", "Xx-x", "Xxxx"}
        << QStringList{"2+2", "4", "4"};
    QTest::newRow("add then remove") << "Xxxx"
                                     << "4" << QStringList{"add", "remove"}
                                     << QStringList{"Xxxxx", "Xxxx"} << QStringList{"5", "4"};
    QTest::newRow("arrow moves and toggles, space toggles again")
        << "Xxxx"
        << "4" << QStringList{"right", "space", "down", "left"}
        << QStringList{"XXxx", "X-xx", "Xxxx", "xxxx"} << QStringList{"1+3", "4", "4", "4"};
    QTest::newRow("home and end toggle where they land")
        << "XxxXx"
        << "3+2" << QStringList{"end", "home"} << QStringList{"XxxXX", "-xxXX"}
        << QStringList{"3+1+1", "3+1+1"};
    QTest::newRow("remove with two beats does nothing")
        << "Xx"
        << "2" << QStringList{"remove", "add"} << QStringList{"Xx", "Xxx"} << QStringList{"2", "3"};
    QTest::newRow("one beat: remove does nothing, add works")
        << "X"
        << "1" << QStringList{"remove", "add"} << QStringList{"X", "Xx"} << QStringList{"1", "2"};
    QTest::newRow("leading rest") << "-xXx"
                                  << "2+2" << QStringList{"a1"} << QStringList{"XxXx"}
                                  << QStringList{"2+2"};
    QTest::newRow("other characters are written back as rests")
        << "XqXx"
        << "2+2" << QStringList{"o4"} << QStringList{"X-X-"} << QStringList{"2+2"};
    QTest::newRow("empty bar") << ""
                               << "1" << QStringList{"a1", "add"} << QStringList{"X", "Xx"}
                               << QStringList{"1", "2"};
  }
  void editsApplyAtOnce() {
    QFETCH(QString, start);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, patterns);
    QFETCH(QStringList, previews);
    TFixture f(start.toStdString());
    f.dialog.ShowModeless();
    QFETCH(QString, shownPreview);
    QCOMPARE(f.Preview(), shownPreview);
    QCOMPARE(f.Pattern(), start);  // showing writes nothing back
    for (int i = 0; i < steps.size(); ++i) {
      Perform(f, steps[i]);
      const QByteArray where = steps[i].toUtf8();
      QVERIFY2(f.Pattern() == patterns[i], where + ": " + f.Pattern().toUtf8());
      QVERIFY2(f.Preview() == previews[i], where + ": " + f.Preview().toUtf8());
      QCOMPARE(f.MeterBox(), previews[i]);
      QCOMPARE(f.BeatCount(), QString::number(patterns[i].size()));
    }
  }

  void headerAndEmptySpaceToggleNothing() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.ClickCell(2, 0);
    QTest::mouseClick(f.Grid()->viewport(), Qt::LeftButton, {},
                      f.Grid()->CellRect(3, 1).center() + QPoint(60, 0));
    QCOMPARE(f.Pattern(), QString("Xxxx"));
    QCOMPARE(f.Grid()->CurrentCell(), (TGridCell{0, 1}));
    // A key that cannot move the current cell toggles nothing either.
    QTest::keyClick(f.Grid(), Qt::Key_Left);
    QTest::keyClick(f.Grid(), Qt::Key_Up);
    QCOMPARE(f.Pattern(), QString("Xxxx"));
  }

  void clickOnTheCurrentCellTogglesIt() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.ClickCell(0, 1);
    QCOMPARE(f.Pattern(), QString("-xxx"));
    f.ClickCell(0, 1);
    QCOMPARE(f.Pattern(), QString("Xxxx"));
  }

  void removeMovesTheCurrentCellWithoutToggling() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.ClickCell(3, 2);
    QCOMPARE(f.Pattern(), QString("Xxx-"));
    f.Button("btnRemove")->click();
    QCOMPARE(f.Pattern(), QString("Xxx"));
    QCOMPARE(f.Grid()->CurrentCell(), (TGridCell{2, 2}));
  }

  // How the dialog is closed decides whether the edits stay.
  void closingKeepsOrRestores_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("meterBox");
    QTest::newRow("cancel") << "cancel"
                            << "Xxxx"
                            << "4";
    QTest::newRow("escape") << "escape"
                            << "Xxxx"
                            << "4";
    QTest::newRow("ok") << "ok"
                        << "XxXxxx"
                        << "2+4";
    QTest::newRow("enter") << "enter"
                           << "XxXxxx"
                           << "2+4";
    QTest::newRow("title bar close button") << "close"
                                            << "XxXxxx"
                                            << "2+4";
  }
  void closingKeepsOrRestores() {
    QFETCH(QString, how);
    QFETCH(QString, pattern);
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.ClickCell(2, 1);
    f.Button("btnAdd")->click();
    f.Button("btnAdd")->click();
    QCOMPARE(f.Pattern(), QString("XxXxxx"));
    if (how == "cancel") {
      f.Button("btnCancel")->click();
    } else if (how == "ok") {
      f.Button("btnOK")->click();
    } else if (how == "escape") {
      QTest::keyClick(f.Grid(), Qt::Key_Escape);
    } else if (how == "enter") {
      QTest::keyClick(f.Grid(), Qt::Key_Return);
    } else {
      f.dialog.close();
    }
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(f.Pattern(), pattern);
    QFETCH(QString, meterBox);
    QCOMPARE(f.MeterBox(), meterBox);
    QCOMPARE(f.BeatCount(), QString::number(pattern.size()));
  }

  void cancelRestoresOverChangesFromTheMainWindow() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.config.SetMeterText("3+2");
    QCOMPARE(f.Preview(), QString("4"));  // the open grid is not rebuilt
    f.Button("btnCancel")->click();
    QCOMPARE(f.Pattern(), QString("Xxxx"));
    QCOMPARE(f.MeterBox(), QString("4"));
  }

  void emptyBarCancelledStaysEmpty() {
    TFixture f("");
    f.dialog.ShowModeless();
    QCOMPARE(f.Grid()->CellText(0, 0), QString("1"));
    f.ClickCell(0, 2);
    QCOMPARE(f.Pattern(), QString("x"));
    f.Button("btnCancel")->click();
    QCOMPARE(f.Pattern(), QString(""));
    QCOMPARE(f.BeatCount(), QString("0"));
  }

  void eachShowingTakesThePatternAnew() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.ClickCell(2, 1);
    f.dialog.ShowModeless();  // already open: only brought to the front
    QCOMPARE(f.dialog.SavedPattern(), std::string("Xxxx"));
    QCOMPARE(f.Grid()->CellText(2, 1), QString("X"));
    f.Button("btnOK")->click();
    f.config.SetMeterText("3+2");
    f.dialog.ShowModeless();
    QCOMPARE(f.dialog.SavedPattern(), std::string("XxxXx"));
    QCOMPARE(f.Preview(), QString("3+2"));
    QCOMPARE(RowText(f.Grid(), 5, 1), QString("X  X "));
  }

  void shorterBarMovesTheCurrentCellQuietly() {
    TFixture f("XxxXx");
    f.dialog.ShowModeless();
    QTest::keyClick(f.Grid(), Qt::Key_End);
    QCOMPARE(f.Pattern(), QString("XxxXX"));
    f.Button("btnOK")->click();
    f.config.SetMeterText("2");
    f.dialog.ShowModeless();
    QCOMPARE(f.Grid()->CurrentCell(), (TGridCell{1, 1}));
    QCOMPARE(f.Pattern(), QString("Xx"));
  }

  void followsTheSkin() {
    TFixture f("XxxXx");
    f.dialog.ShowModeless();
    const QImage before = f.dialog.grab().toImage();
    TSkin::Instance().SetHueOffset(120);
    const QImage turned = f.dialog.grab().toImage();
    TSkin::Instance().SetHueOffset(0);
    QVERIFY(before != turned);
    QCOMPARE(f.dialog.grab().toImage(), before);
  }

  void modalWhileOpenModelessIsRefused() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.ClickCell(2, 1);
    try {
      f.dialog.ShowModal();
      QFAIL("no error");
    } catch (const TError& error) {
      QCOMPARE(QString(error.what()), QString("Cannot make a visible window modal"));
      QCOMPARE(QString::fromStdString(WithFullStop(error.what())),
               QString("Cannot make a visible window modal."));
    }
    QVERIFY(f.dialog.isVisible());
    QVERIFY(!f.dialog.isModal());
    QCOMPARE(f.dialog.SavedPattern(), std::string("Xxxx"));
    QCOMPARE(f.Pattern(), QString("XxXx"));
    QCOMPARE(f.Grid()->CellText(2, 1), QString("X"));
  }

  void modalReturnsWhenClosed() {
    TFixture f("XxxXx");
    QString shownPreview;
    QTimer::singleShot(0, &f.dialog, [&f, &shownPreview] {
      shownPreview = f.Preview();
      f.ClickCell(3, 1);
      f.Button("btnOK")->click();
    });
    f.dialog.ShowModal();
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(shownPreview, QString("3+2"));
    QCOMPARE(f.Pattern(), QString("Xxx-x"));
    // Modeless after modal is not modal.
    f.dialog.ShowModeless();
    QVERIFY(!f.dialog.isModal());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
  }

  void addStopsAtThePlayableLength() {
    TFixture f("X" + std::string(252, 'x'));
    f.dialog.ShowModeless();
    QPushButton* add = f.Button("btnAdd");
    QVERIFY(add->isEnabled());
    add->click();
    QCOMPARE(f.Pattern().size(), 254);
    QCOMPARE(f.MeterBox(), QString("254"));
    QCOMPARE(f.BeatCount(), QString("254"));
    QVERIFY(!add->isEnabled());
    f.Button("btnRemove")->click();
    QVERIFY(add->isEnabled());
  }

  void longerBarFromTheMeterBoxIsShownAndCanShrink() {
    TFixture f("");
    f.config.SetMeterText("255+45");
    f.dialog.ShowModeless();
    QVERIFY(!f.Button("btnAdd")->isEnabled());
    QCOMPARE(f.Preview(), QString("255+45"));
    QCOMPARE(f.Grid()->CellText(299, 0), QString("300"));
    f.Button("btnRemove")->click();
    QCOMPARE(f.MeterBox(), QString("255+44"));
    // Navigating to the far end scrolls the view along.
    QTest::keyClick(f.Grid(), Qt::Key_End);
    QVERIFY(!f.Grid()->CellRect(298, 1).isNull());
    QCOMPARE(f.Pattern().back(), QChar('X'));
  }

  void shownAgainWhereItWasLast() {
    TFixture f("Xxxx");
    f.dialog.ShowModeless();
    f.dialog.move(123, 77);
    f.Button("btnOK")->click();
    f.dialog.ShowModeless();
    QCOMPARE(f.dialog.pos(), QPoint(123, 77));
  }
};

QTEST_MAIN(MeterConstructorTest)
#include "meter_constructor_test.moc"
