#include <QTest>
#include <random>
#include <string>

#include "core/beat_pattern.h"
#include "ui/meter/beat_columns.h"

using namespace zelmora;

namespace {

// Cells of the two mark rows as one text each, e.g. "X   " and " xxx".
std::string Row(const TBeatColumns& columns, TGridRow row) {
  std::string text;
  for (int c = 0; c < columns.Count(); ++c) {
    text += columns.CellText(c, row);
  }
  return text;
}

}  // namespace

class BeatColumnsTest : public QObject {
  Q_OBJECT

 private slots:
  void patternFillsTheRows_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("acc");
    QTest::addColumn<QString>("ord");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("meter");
    QTest::newRow("Xxxx") << "Xxxx"
                          << "X   "
                          << " xxx"
                          << "Xxxx"
                          << "4";
    QTest::newRow("3+2") << "XxxXx"
                         << "X  X "
                         << " xx x"
                         << "XxxXx"
                         << "3+2";
    QTest::newRow("leading rest") << "-xXx"
                                  << "  X "
                                  << " x x"
                                  << "-xXx"
                                  << "2+2";
    QTest::newRow("other characters are rests") << "XqX?"
                                                << "X X "
                                                << "    "
                                                << "X-X-"
                                                << "2+2";
    QTest::newRow("one beat") << "x"
                              << " "
                              << "x"
                              << "x"
                              << "1";
    QTest::newRow("empty bar shows one rest") << ""
                                              << " "
                                              << " "
                                              << "-"
                                              << "1";
  }
  void patternFillsTheRows() {
    QFETCH(QString, pattern);
    const TBeatColumns columns = TBeatColumns::FromPattern(pattern.toStdString());
    QFETCH(QString, acc);
    QCOMPARE(QString::fromStdString(Row(columns, TGridRow::Acc)), acc);
    QFETCH(QString, ord);
    QCOMPARE(QString::fromStdString(Row(columns, TGridRow::Ord)), ord);
    QFETCH(QString, written);
    QCOMPARE(QString::fromStdString(columns.Pattern()), written);
    QFETCH(QString, meter);
    QCOMPARE(QString::fromStdString(columns.MeterText()), meter);
  }

  void headerNumbersTheBeats() {
    const TBeatColumns columns = TBeatColumns::FromPattern(std::string(120, 'x'));
    QCOMPARE(columns.CellText(0, TGridRow::Number), std::string("1"));
    QCOMPARE(columns.CellText(119, TGridRow::Number), std::string("120"));
  }

  // Each row: the pattern, then "a<beat>" or "o<beat>" clicks on the Acc or
  // Ord row of a 1-based beat, and the pattern after each click.
  void toggleFollowsTheRows_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("patterns");
    QTest::newRow("accent, again, then ordinary")
        << "Xxxx" << QStringList{"a3", "a3", "o3"} << QStringList{"XxXx", "Xx-x", "Xxxx"};
    QTest::newRow("ordinary row silences and restores")
        << "Xxxx" << QStringList{"o2", "o2", "o1"} << QStringList{"X-xx", "Xxxx", "xxxx"};
    QTest::newRow("accent row takes the ordinary mark away")
        << "X-xx" << QStringList{"a2", "o2"} << QStringList{"XXxx", "Xxxx"};
    QTest::newRow("first accent silenced") << "Xxxx" << QStringList{"a1"} << QStringList{"-xxx"};
  }
  void toggleFollowsTheRows() {
    QFETCH(QString, start);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, patterns);
    TBeatColumns columns = TBeatColumns::FromPattern(start.toStdString());
    for (int i = 0; i < clicks.size(); ++i) {
      const TGridRow row = clicks[i][0] == 'a' ? TGridRow::Acc : TGridRow::Ord;
      columns.Toggle(clicks[i].mid(1).toInt() - 1, row);
      QCOMPARE(QString::fromStdString(columns.Pattern()), patterns[i]);
    }
  }

  void headerRowIsNoMark() {
    TBeatColumns columns = TBeatColumns::FromPattern("Xxxx");
    columns.Toggle(1, TGridRow::Number);
    QCOMPARE(columns.Pattern(), std::string("Xxxx"));
  }

  void addAndRemove_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("added");
    QTest::addColumn<QString>("afterAdd");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QString>("afterRemove");
    QTest::newRow("four beats") << "Xxxx" << true << "Xxxxx" << true << "Xxxx";
    QTest::newRow("one beat") << "X" << true << "Xx" << false << "Xx";
    QTest::newRow("empty bar") << "" << true << "-x" << false << "-x";
  }
  void addAndRemove() {
    QFETCH(QString, start);
    TBeatColumns columns = TBeatColumns::FromPattern(start.toStdString());
    QFETCH(bool, added);
    QCOMPARE(columns.Add(), added);
    QFETCH(QString, afterAdd);
    QCOMPARE(QString::fromStdString(columns.Pattern()), afterAdd);
    QFETCH(bool, removed);
    QCOMPARE(columns.Remove(), removed);
    QFETCH(QString, afterRemove);
    QCOMPARE(QString::fromStdString(columns.Pattern()), afterRemove);
  }

  void removeKeepsTwoBeats() {
    TBeatColumns columns = TBeatColumns::FromPattern("Xx");
    QVERIFY(!columns.CanRemove());
    QVERIFY(!columns.Remove());
    QCOMPARE(columns.Pattern(), std::string("Xx"));
    columns = TBeatColumns::FromPattern("X");
    QVERIFY(!columns.Remove());
    QCOMPARE(columns.Count(), 1);
  }

  void addStopsAtThePlayableLength() {
    TBeatColumns columns = TBeatColumns::FromPattern(std::string(253, 'x'));
    QVERIFY(columns.Add());
    QCOMPARE(columns.Count(), kMaxPlayableBeats);
    QVERIFY(!columns.CanAdd());
    QVERIFY(!columns.Add());
    QCOMPARE(columns.Count(), kMaxPlayableBeats);
  }

  void longerBarIsShownWhole() {
    TBeatColumns columns = TBeatColumns::FromPattern("X" + std::string(299, 'x'));
    QCOMPARE(columns.Count(), 300);
    QVERIFY(!columns.Add());
    QVERIFY(columns.Remove());
    QCOMPARE(columns.MeterText(), std::string("299"));
  }

  // The preview must always read the same as the main window's meter box,
  // which derives its text from the pattern the grid writes.
  void previewMatchesTheDerivedMeterText() {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> length(1, 40);
    std::uniform_int_distribution<int> mark(0, 2);
    for (int trial = 0; trial < 2000; ++trial) {
      std::string pattern;
      for (int i = length(random); i > 0; --i) {
        pattern += "Xx-"[mark(random)];
      }
      const TBeatColumns columns = TBeatColumns::FromPattern(pattern);
      QCOMPARE(columns.MeterText(), PatternToMeterText(columns.Pattern()));
    }
  }
};

QTEST_GUILESS_MAIN(BeatColumnsTest)
#include "beat_columns_test.moc"
