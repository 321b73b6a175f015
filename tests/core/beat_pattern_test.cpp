#include <QTest>

#include <string>

#include "core/beat_pattern.h"
#include "core/error.h"
#include "core/int_text.h"

using namespace zelmora;

namespace {

std::string Repeat(const std::string& unit, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) {
    out += unit;
  }
  return out;
}

// "1+1+...+1" with the given number of groups.
std::string Groups(int count) {
  std::string text = "1";
  for (int i = 1; i < count; ++i) {
    text += "+1";
  }
  return text;
}

}  // namespace

class BeatPatternTest : public QObject {
  Q_OBJECT

 private slots:
  void numberSyntax_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "42" << true << 42;
    QTest::newRow("leading blanks") << "   90" << true << 90;
    QTest::newRow("minus") << "-7" << true << -7;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("dollar hex") << "$A" << true << 10;
    QTest::newRow("x hex") << "x1f" << true << 31;
    QTest::newRow("X hex") << "X1F" << true << 31;
    QTest::newRow("0x hex") << "0x10" << true << 16;
    QTest::newRow("0X hex") << "0X10" << true << 16;
    QTest::newRow("minus hex") << "-$10" << true << -16;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483647 - 1);
    QTest::newRow("leading zeros") << "03" << true << 3;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("blanks only") << "  " << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("hex prefix only") << "$" << false << 0;
    QTest::newRow("0x only") << "0x" << false << 0;
    QTest::newRow("trailing blank") << "3 " << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("hex digit in decimal") << "1A" << false << 0;
    QTest::newRow("blank after sign") << "- 3" << false << 0;
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("too small") << "-2147483649" << false << 0;
    QTest::newRow("2^32") << "4294967296" << false << 0;
    QTest::newRow("hex too large") << "$80000000" << false << 0;
  }
  void numberSyntax() {
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(int, value);
    const auto result = TextToInt32(text.toStdString());
    QCOMPARE(result.has_value(), converts);
    if (converts) {
      QCOMPARE(*result, value);
    }
  }

  void meterTextToPattern_data() {
    QTest::addColumn<QString>("meter");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("4") << "4"
                       << "Xxxx";
    QTest::newRow("3+2") << "3+2"
                         << "XxxXx";
    QTest::newRow("2+2") << "2+2"
                         << "XxXx";
    QTest::newRow("1") << "1"
                       << "X";
    QTest::newRow("0") << "0"
                       << "X";
    QTest::newRow("0+3") << "0+3"
                         << "XXxx";
    QTest::newRow("trailing plus") << "3+"
                                   << "Xxx";
    QTest::newRow("leading blank") << " 3"
                                   << "Xxx";
    QTest::newRow("hex") << "$A"
                         << "Xxxxxxxxxx";
    QTest::newRow("99 groups") << QString::fromStdString(Groups(99))
                               << QString::fromStdString(Repeat("X", 99));
    QTest::newRow("99 groups and a plus")
        << QString::fromStdString(Groups(99) + "+") << QString::fromStdString(Repeat("X", 99));
    QTest::newRow("largest group") << "255" << QString::fromStdString("X" + Repeat("x", 254));
    QTest::newRow("empty") << ""
                           << "";
  }
  void meterTextToPattern() {
    QFETCH(QString, meter);
    QFETCH(QString, pattern);
    QCOMPARE(QString::fromStdString(MeterTextToPattern(meter.toStdString())), pattern);
  }

  void refusedMeterText_data() {
    QTest::addColumn<QString>("meter");
    QTest::addColumn<QString>("message");
    QTest::newRow("leading plus") << "+3"
                                  << "'' is not a valid integer value";
    QTest::newRow("double plus") << "3++2"
                                 << "'' is not a valid integer value";
    QTest::newRow("lone plus") << "+"
                               << "'' is not a valid integer value";
    QTest::newRow("letter") << "a"
                            << "'a' is not a valid integer value";
    QTest::newRow("trailing blank") << "3 "
                                    << "'3 ' is not a valid integer value";
    QTest::newRow("bad later group") << "3+2x"
                                     << "'2x' is not a valid integer value";
    QTest::newRow("2^32") << "4294967296"
                          << "'4294967296' is not a valid integer value";
    QTest::newRow("256") << "256"
                         << "Range check error";
    QTest::newRow("-1") << "-1"
                        << "Range check error";
    QTest::newRow("int max") << "2147483647"
                             << "Range check error";
    QTest::newRow("100 groups") << QString::fromStdString(Groups(100)) << "Range check error";
    QTest::newRow("100 groups and a plus")
        << QString::fromStdString(Groups(100) + "+") << "Range check error";
    // The value is checked first, so a bad 100th group reports itself.
    QTest::newRow("bad 100th group")
        << QString::fromStdString(Groups(99) + "+z") << "'z' is not a valid integer value";
  }
  void refusedMeterText() {
    QFETCH(QString, meter);
    QFETCH(QString, message);
    try {
      MeterTextToPattern(meter.toStdString());
      QFAIL("accepted");
    } catch (const TError& error) {
      QCOMPARE(QString::fromStdString(error.what()), message);
    }
  }

  void patternToMeterText_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("meter");
    QTest::newRow("Xxxx") << "Xxxx"
                          << "4";
    QTest::newRow("XxxXx") << "XxxXx"
                           << "3+2";
    QTest::newRow("X-xX") << "X-xX"
                          << "3+1";
    QTest::newRow("leading regular beats") << "xxXx"
                                           << "2+2";
    QTest::newRow("lone rest") << "-"
                               << "1";
    QTest::newRow("XXX") << "XXX"
                         << "1+1+1";
    QTest::newRow("300 beats") << QString::fromStdString(Repeat("x", 300)) << "300";
    QTest::newRow("empty") << ""
                           << "1";
    QTest::newRow("other characters") << "X?zX"
                                      << "3+1";
  }
  void patternToMeterText() {
    QFETCH(QString, pattern);
    QFETCH(QString, meter);
    QCOMPARE(QString::fromStdString(PatternToMeterText(pattern.toStdString())), meter);
  }

  void voiceAndBell_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("beat");
    QTest::addColumn<int>("voice");
    QTest::addColumn<bool>("bell");
    const int none = int(TBeatVoice::None);
    const int regular = int(TBeatVoice::Regular);
    const int accent = int(TBeatVoice::Accent);
    QTest::newRow("accent on 1") << "XxxXx" << 1 << accent << true;
    QTest::newRow("regular") << "XxxXx" << 2 << regular << false;
    QTest::newRow("second group") << "XxxXx" << 4 << accent << false;
    QTest::newRow("silent first beat keeps the bell") << "-xXx" << 1 << none << true;
    QTest::newRow("other character is silent") << "X?" << 2 << none << false;
    QTest::newRow("one beat is regular") << "X" << 1 << regular << false;
    QTest::newRow("one silent beat is regular") << "-" << 1 << regular << false;
    QTest::newRow("beyond the bar") << "Xx" << 3 << none << false;
    QTest::newRow("empty bar") << "" << 1 << none << false;
    QTest::newRow("beat 254 plays")
        << QString::fromStdString("X" + Repeat("x", 299)) << 254 << regular << false;
    QTest::newRow("beat 255 is past the playable bar")
        << QString::fromStdString("X" + Repeat("x", 299)) << 255 << none << false;
  }
  void voiceAndBell() {
    QFETCH(QString, pattern);
    QFETCH(int, beat);
    QFETCH(int, voice);
    QFETCH(bool, bell);
    const std::string text = pattern.toStdString();
    QCOMPARE(int(VoiceAt(text, beat)), voice);
    QCOMPARE(BellAt(text, beat), bell);
  }

  void playableLengthIsCapped() {
    QCOMPARE(PlayableLength(""), 0);
    QCOMPARE(PlayableLength("Xxxx"), 4);
    QCOMPARE(PlayableLength(Repeat("x", 254)), 254);
    QCOMPARE(PlayableLength(Repeat("x", 300)), 254);
  }

  void fullStopRule() {
    QCOMPARE(WithFullStop("Range check error"), std::string("Range check error."));
    QCOMPARE(WithFullStop("'' is not a valid integer value"),
             std::string("'' is not a valid integer value."));
    QCOMPARE(WithFullStop("Value 3"), std::string("Value 3."));
    QCOMPARE(WithFullStop("Done."), std::string("Done."));
    QCOMPARE(WithFullStop("Really?"), std::string("Really?."));  // '?' sorts after '.'
    QCOMPARE(WithFullStop("quoted 'x'"), std::string("quoted 'x'"));
    QCOMPARE(WithFullStop(""), std::string(""));
  }
};

QTEST_APPLESS_MAIN(BeatPatternTest)
#include "beat_pattern_test.moc"
