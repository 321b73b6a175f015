#include <QTest>
#include <climits>

#include <string>
#include <vector>

#include "core/config.h"
#include "core/error.h"
#include "core/meter_box.h"
#include "tests/core/recording_control.h"

using namespace zelmora;
using zelmora::test::TRecordingControl;

class ConfigTest : public QObject {
  Q_OBJECT

 private slots:
  void startsEmpty() {
    TConfig config;
    QCOMPARE(config.Tempo.load(), 0);
    QCOMPARE(config.Volume.load(), 0);
    QVERIFY(!config.Bell.load());
    QVERIFY(!config.StayOnTop);
    QVERIFY(config.BeatPattern.empty());
    QVERIFY(config.BeatPatternForPlayers()->empty());
  }

  void setTempo_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("display");
    QTest::newRow("below range") << 10 << 20 << "020";
    QTest::newRow("above range") << 1000 << 416 << "416";
    QTest::newRow("two digits") << 99 << 99 << "099";
    QTest::newRow("three digits") << 100 << 100 << "100";
    QTest::newRow("negative") << -5 << 20 << "020";
    // The field holds 0 before the first load; a stored 0 is still clamped.
    QTest::newRow("0 over the empty field") << 0 << 20 << "020";
    QTest::newRow("lowest int") << INT_MIN << 20 << "020";
    QTest::newRow("highest int") << INT_MAX << 416 << "416";
  }
  void setTempo() {
    QFETCH(int, value);
    QFETCH(int, stored);
    QFETCH(QString, display);
    TConfig config;
    TRecordingControl<std::string> panel;
    TRecordingControl<int> fader;
    const TScope panelBound = config.Controls.sPanel1.Bind(panel);
    const TScope faderBound = config.Controls.sTrackBarTempo.Bind(fader);
    config.SetTempo(value);
    QCOMPARE(config.Tempo.load(), stored);
    QCOMPARE(panel.writes, std::vector<std::string>{display.toStdString()});
    QCOMPARE(fader.writes, std::vector<int>{-stored});
  }

  void setTempoToTheSameValueTouchesNothing() {
    TConfig config;
    config.SetTempo(120);
    TRecordingControl<std::string> panel;
    TRecordingControl<int> fader;
    const TScope panelBound = config.Controls.sPanel1.Bind(panel);
    const TScope faderBound = config.Controls.sTrackBarTempo.Bind(fader);
    config.SetTempo(120);
    QVERIFY(panel.writes.empty());
    QVERIFY(fader.writes.empty());
    // The comparison comes before the clamp: 1000 differs from 416, so the
    // display is written again even though the tempo stays 416.
    config.SetTempo(416);
    config.SetTempo(1000);
    QCOMPARE(panel.writes.size(), std::size_t{2});
  }

  void levelsAreClamped_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");
    QTest::newRow("above 0") << 500 << 0;
    QTest::newRow("below silence") << -12000 << -10000;
    QTest::newRow("inside") << -900 << -900;
  }
  void levelsAreClamped() {
    QFETCH(int, value);
    QFETCH(int, stored);
    TConfig config;
    config.SetVolume(value);
    config.SetVolumeRegularDif(value);
    QCOMPARE(config.Volume.load(), stored);
    QCOMPARE(config.VolumeRegularDif.load(), stored);
    QCOMPARE(config.Controls.sTrackBarVol->Value(), -stored);
    QCOMPARE(config.Controls.sTrackBarRegDif->Value(), stored);
  }

  // A settings file can hold any 32-bit value for any of them.
  void settersTakeEveryIntValue_data() {
    QTest::addColumn<int>("value");
    QTest::newRow("lowest") << INT_MIN;
    QTest::newRow("highest") << INT_MAX;
  }
  void settersTakeEveryIntValue() {
    QFETCH(int, value);
    TConfig config;
    TRecordingControl<int> bell, accent, regular;
    const TScope bellBound = config.Controls.BellVoicePan.Bind(bell);
    const TScope accentBound = config.Controls.AccentVoicePan.Bind(accent);
    const TScope regularBound = config.Controls.RegularVoicePan.Bind(regular);

    config.SetTempo(value);
    config.SetVolume(value);
    config.SetVolumeRegularDif(value);
    config.SetBellVolume(value);
    config.SetPan(value);
    config.SetVisualOffset(value);

    QVERIFY(config.Tempo >= TConfig::kMinTempo && config.Tempo <= TConfig::kMaxTempo);
    QVERIFY(config.Volume >= TConfig::kSilence && config.Volume <= 0);
    QVERIFY(config.VolumeRegularDif >= TConfig::kSilence && config.VolumeRegularDif <= 0);
    QVERIFY(config.VisualOffset >= TConfig::kMinVisualOffset &&
            config.VisualOffset <= TConfig::kMaxVisualOffset);
    QCOMPARE(config.BellVolume.load(), value);
    QCOMPARE(config.Pan, value);
    const int voicePan = value == INT_MIN ? INT_MAX : -value;
    QCOMPARE(bell.writes, std::vector<int>{voicePan});
    QCOMPARE(accent.writes, std::vector<int>{voicePan});
    QCOMPARE(regular.writes, std::vector<int>{voicePan});
    // What the voices are given stays within 32 bits.
    QCOMPARE(RelativeLevel(config.Volume, config.BellVolume), value < 0 ? INT_MIN : value);
  }

  void bellVolumeAndPanAreNotClamped() {
    TConfig config;
    TRecordingControl<int> bell, accent, regular;
    const TScope bellBound = config.Controls.BellVoicePan.Bind(bell);
    const TScope accentBound = config.Controls.AccentVoicePan.Bind(accent);
    const TScope regularBound = config.Controls.RegularVoicePan.Bind(regular);
    config.SetBellVolume(-30000);
    QCOMPARE(config.BellVolume.load(), -30000);
    config.SetPan(2000);
    QCOMPARE(config.Pan, 2000);
    QCOMPARE(bell.writes, std::vector<int>{-2000});
    QCOMPARE(accent.writes, std::vector<int>{-2000});
    QCOMPARE(regular.writes, std::vector<int>{-2000});
    QCOMPARE(config.Controls.sTrackBarPan->Value(), 2000);
  }

  void controlsAreWrittenOnlyWhenTheyDiffer() {
    TConfig config;
    TRecordingControl<bool> bellMenu(true), boostBox(false);
    const TScope bellMenuBound = config.Controls.Bellsound1.Bind(bellMenu);
    const TScope boostBoxBound = config.Controls.chkBoostVolume.Bind(boostBox);
    config.SetBell(true);
    config.SetBoostVolume(false);
    QVERIFY(bellMenu.writes.empty());
    QVERIFY(boostBox.writes.empty());
    QVERIFY(config.Bell.load());
    config.SetBell(false);
    config.SetBoostVolume(true);
    QCOMPARE(bellMenu.writes, std::vector<bool>{false});
    QCOMPARE(boostBox.writes, std::vector<bool>{true});
    QVERIFY(config.BoostVolume);
  }

  void setTapModeChangesTheLookOnce() {
    TConfig config;
    TRecordingControl<bool> font, label;
    const TScope fontBound = config.Controls.sButton2OwnFont.Bind(font);
    const TScope labelBound = config.Controls.lblTapVisible.Bind(label);
    config.SetTapMode(true);
    config.SetTapMode(true);
    QCOMPARE(font.writes, std::vector<bool>{true});
    QCOMPARE(label.writes, std::vector<bool>{true});
    config.SetTapMode(false);
    QCOMPARE(label.writes, (std::vector<bool>{true, false}));
  }

  void setStayOnTopReachesBothWindowsAndTheCheckBox() {
    TConfig config;
    std::vector<std::string> order;
    struct TOrderControl final : TControl<bool> {
      TOrderControl(std::vector<std::string>& log, std::string name)
          : log_(log), name_(std::move(name)) {}
      bool Value() const override { return value_; }
      void SetValue(const bool& value) override {
        value_ = value;
        log_.push_back(name_);
      }
      std::vector<std::string>& log_;
      std::string name_;
      bool value_ = true;
    };
    TOrderControl panel(order, "panel"), main(order, "main"), check(order, "check");
    const TScope panelBound = config.Controls.BeatPanelTopmost.Bind(panel);
    const TScope mainBound = config.Controls.MainWindowTopmost.Bind(main);
    const TScope checkBound = config.Controls.sckbStayOnTop.Bind(check);
    config.SetStayOnTop(false);
    QVERIFY(!config.StayOnTop);
    QCOMPARE(order, (std::vector<std::string>{"panel", "main", "check"}));
    QVERIFY(!panel.Value() && !main.Value() && !check.Value());
  }

  void setBeatPatternUpdatesLabelAndBox_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("box");
    QTest::newRow("XxxXx") << "XxxXx"
                           << "5"
                           << "3+2";
    QTest::newRow("empty") << ""
                           << "0"
                           << "1";
    QTest::newRow("any characters") << "ab"
                                    << "2"
                                    << "2";
  }
  void setBeatPatternUpdatesLabelAndBox() {
    QFETCH(QString, pattern);
    QFETCH(QString, count);
    QFETCH(QString, box);
    TConfig config;
    config.SetBeatPattern(pattern.toStdString());
    QCOMPARE(QString::fromStdString(config.BeatPattern), pattern);
    QCOMPARE(QString::fromStdString(*config.BeatPatternForPlayers()), pattern);
    QCOMPARE(QString::fromStdString(config.Controls.slblTimeSignNum->Value()), count);
    QCOMPARE(QString::fromStdString(config.Controls.scmbMeterNum->Value()), box);
  }

  // The meter box as the user types or picks, starting from "Xxxx".
  void meterBox_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("boxWrites");
    QTest::newRow("4 (unchanged)") << "4"
                                   << "Xxxx"
                                   << "4"
                                   << "4" << 0;
    QTest::newRow("3+2") << "3+2"
                         << "XxxXx"
                         << "5"
                         << "3+2" << 0;
    QTest::newRow("2+2") << "2+2"
                         << "XxXx"
                         << "4"
                         << "2+2" << 0;
    QTest::newRow("1") << "1"
                       << "X"
                       << "1"
                       << "1" << 0;
    QTest::newRow("0") << "0"
                       << "X"
                       << "1"
                       << "0" << 2;
    QTest::newRow("0+3") << "0+3"
                         << "XXxx"
                         << "4"
                         << "0+3" << 2;
    QTest::newRow("3+") << "3+"
                        << "Xxx"
                        << "3"
                        << "3+" << 2;
    QTest::newRow("blank then 3") << " 3"
                                  << "Xxx"
                                  << "3"
                                  << " 3" << 2;
    QTest::newRow("$A") << "$A"
                        << "Xxxxxxxxxx"
                        << "10"
                        << "$A" << 2;
    QTest::newRow("04 is the same bar") << "04"
                                        << "Xxxx"
                                        << "4"
                                        << "04" << 0;
    QTest::newRow("empty") << ""
                           << ""
                           << "0"
                           << "" << 2;
  }
  void meterBox() {
    QFETCH(QString, typed);
    QFETCH(QString, pattern);
    QFETCH(QString, count);
    QFETCH(QString, box);
    QFETCH(int, boxWrites);
    TConfig config;
    TTransport transport;
    TRecordingControl<std::string> meterBox;
    const TScope meterBoxBound = config.Controls.scmbMeterNum.Bind(meterBox);
    config.SetBeatPattern("Xxxx");
    // The user's typing changes the box; only later writes are the setters'.
    meterBox.SetValue(typed.toStdString());
    meterBox.writes.clear();
    ApplyMeterBoxChange(config, transport);
    QCOMPARE(QString::fromStdString(config.MeterText), typed);
    QCOMPARE(QString::fromStdString(config.BeatPattern), pattern);
    QCOMPARE(QString::fromStdString(config.Controls.slblTimeSignNum->Value()), count);
    QCOMPARE(QString::fromStdString(meterBox.Value()), box);
    QCOMPARE(int(meterBox.writes.size()), boxWrites);
  }

  void refusedMeterTextLeavesThePattern() {
    TConfig config;
    TTransport transport;
    config.SetBeatPattern("XxxXx");
    transport.BeatIndex = 4;
    config.Controls.scmbMeterNum->SetValue("3+x");
    try {
      ApplyMeterBoxChange(config, transport);
      QFAIL("accepted");
    } catch (const TError& error) {
      QCOMPARE(std::string(error.what()), std::string("'x' is not a valid integer value"));
    }
    QCOMPARE(config.MeterText, std::string("3+x"));
    QCOMPARE(config.BeatPattern, std::string("XxxXx"));
    QCOMPARE(*config.BeatPatternForPlayers(), std::string("XxxXx"));
    QCOMPARE(config.Controls.slblTimeSignNum->Value(), std::string("5"));
    QCOMPARE(config.Controls.scmbMeterNum->Value(), std::string("3+x"));
    QCOMPARE(int(transport.BeatIndex), 4);
  }

  void meterBoxRestartsTheBarOnlyWhenShorter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("indexBefore");
    QTest::addColumn<int>("indexAfter");
    QTest::newRow("3+2 at 5 stays") << "3+2" << 5 << 5;
    QTest::newRow("3+2 at 3 stays") << "3+2" << 3 << 3;
    QTest::newRow("2 at 3 restarts") << "2" << 3 << 1;
    QTest::newRow("1 at 4 restarts") << "1" << 4 << 1;
    QTest::newRow("empty at 1 restarts") << "" << 1 << 1;
    QTest::newRow("empty at 2 restarts") << "" << 2 << 1;
  }
  void meterBoxRestartsTheBarOnlyWhenShorter() {
    QFETCH(QString, typed);
    QFETCH(int, indexBefore);
    QFETCH(int, indexAfter);
    TConfig config;
    TTransport transport;
    config.SetBeatPattern("Xxxxx");
    transport.BeatIndex = static_cast<std::uint8_t>(indexBefore);
    config.Controls.scmbMeterNum->SetValue(typed.toStdString());
    ApplyMeterBoxChange(config, transport);
    QCOMPARE(int(transport.BeatIndex), indexAfter);
  }
};

QTEST_APPLESS_MAIN(ConfigTest)
#include "config_test.moc"
